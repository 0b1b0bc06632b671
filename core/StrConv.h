#pragma once
// Conversions between the program's UTF-8 strings and what Windows wants:
// UTF-16 for the ...W functions, Windows-1252 bytes for text files whose format is fixed as "ANSI".
#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Characters without a Windows-1252 code become '?'.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
// The text of bytes whose encoding nobody declared (a file written by another program): UTF-8 or
// UTF-16 after their byte-order mark, UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
std::string DecodeText(std::string_view bytes);

// Small text helpers shared by many modules.
std::string Trim(std::string_view s);
std::string UpperCase(std::string_view s);  // ASCII and Windows-1252 letters via CharUpperW
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);  // case-insensitive comparison
std::string IntToStr(long long value);
