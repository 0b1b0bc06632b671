#include "mail/DotStuffing.h"

void TDotStuffingSink::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (FLineStart && bytes.front() == '.') FNext.Write(".");
        size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end == std::string_view::npos ? bytes.size() : end + 1);
        FNext.Write(line);
        FLineStart = end != std::string_view::npos;
        bytes.remove_prefix(line.size());
    }
}

std::string DotStuff(std::string_view text) {
    TStringSink out;
    TDotStuffingSink(out).Write(text);
    return out.Text();
}
