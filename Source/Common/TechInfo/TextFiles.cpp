#include "Source/Common/TechInfo/TextFiles.h"

#include <algorithm>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"

namespace {
bool IsStrayControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B) || c == 0x7F;
}
}  // namespace

TStringList SplitLines(const std::string& text) {
    TStringList lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

bool IsMostlyBinary(const std::string& text) {
    size_t characters = 0, strays = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++characters;  // UTF-8 continuation bytes are part of one character
        if (IsStrayControl(byte)) ++strays;
    }
    return strays * 20 > characters;
}

TFileText ReadFileText(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const EBrantel&) {
        return {{}, "Bestand kan niet worden gelezen en zal niet worden opgenomen in het rapport."};
    }
    const std::string text = DecodeText(bytes);
    if (IsMostlyBinary(text)) return {{}, "Bestand bevat geen tekst en zal niet worden opgenomen in het rapport."};
    return {SplitLines(text), {}};
}

TStringList FileLinesOrNotice(const std::string& path) {
    if (path.empty()) return {};
    TFileText text = ReadFileText(path);
    return text.Notice.empty() ? std::move(text.Lines) : TStringList{text.Notice};
}
