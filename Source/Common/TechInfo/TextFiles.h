#pragma once
// Text files that the report copies whole (logs, start-up files), as they are found on a PC: written
// by other programs in whatever encoding, held open by them, or no text at all. A file that cannot
// be copied gets a one-line notice in its place instead of ending the collection.
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"

struct TFileText {
    TStringList Lines;   // the file's lines, decoded (DecodeText)
    std::string Notice;  // why the file is not copied; empty when Lines is its text
};

// Never throws for the file's sake.
TFileText ReadFileText(const std::string& path);
// The lines of the file, or its notice as the one line; none for no file (an empty path).
TStringList FileLinesOrNotice(const std::string& path);

// The lines of decoded text, split at CR LF, CR or LF.
TStringList SplitLines(const std::string& text);
// Text in which more than one character in twenty is a control character that text files do not
// hold (tab, line and page breaks and the escape of terminal colours aside): a program, an archive,
// a database or UTF-16 without its byte-order mark.
bool IsMostlyBinary(const std::string& text);
