#include "core/StrConv.h"

#include <windows.h>

namespace {
constexpr UINT CP_WINDOWS_1252 = 1252;

std::wstring ToWide(UINT codePage, std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string FromWide(UINT codePage, std::wstring_view w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring MapCase(std::string_view s, bool upper) {
    std::wstring w = ToWide(CP_UTF8, s);
    if (!w.empty()) {
        if (upper) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
        else CharLowerBuffW(w.data(), static_cast<DWORD>(w.size()));
    }
    return w;
}
}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view utf16) { return FromWide(CP_UTF8, utf16); }
std::string Utf8ToAnsi(std::string_view utf8) { return FromWide(CP_WINDOWS_1252, Widen(utf8)); }
std::string AnsiToUtf8(std::string_view ansi) { return Narrow(ToWide(CP_WINDOWS_1252, ansi)); }

std::string DecodeText(std::string_view bytes) {
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (startsWith("\xEF\xBB\xBF")) return Narrow(ToWide(CP_UTF8, bytes.substr(3)));
    const bool littleEndian = startsWith("\xFF\xFE"), bigEndian = startsWith("\xFE\xFF");
    if (littleEndian || bigEndian) {
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(littleEndian ? first | second << 8 : first << 8 | second);
        }
        return Narrow(text);
    }
    const bool validUtf8 =
        bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                             nullptr, 0) > 0;
    return validUtf8 ? std::string(bytes) : AnsiToUtf8(bytes);
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string UpperCase(std::string_view s) { return Narrow(MapCase(s, true)); }
std::string LowerCase(std::string_view s) { return Narrow(MapCase(s, false)); }

bool SameText(std::string_view a, std::string_view b) {
    return MapCase(a, true) == MapCase(b, true);
}

std::string IntToStr(long long value) { return std::to_string(value); }
