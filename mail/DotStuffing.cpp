#include "mail/DotStuffing.h"

std::string DotStuff(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = c == '\n';
    }
    return out;
}
