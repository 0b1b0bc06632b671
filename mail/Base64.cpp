#include "mail/Base64.h"

#include <algorithm>

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string TBase64Encoder::EncodeChunk(std::string_view chunk) {
    std::string out;
    out.reserve((chunk.size() + 2) / 3 * 4);
    for (size_t i = 0; i < chunk.size(); i += 3) {
        size_t n = std::min<size_t>(3, chunk.size() - i);
        unsigned v = static_cast<unsigned char>(chunk[i]) << 16;
        if (n > 1) v |= static_cast<unsigned char>(chunk[i + 1]) << 8;
        if (n > 2) v |= static_cast<unsigned char>(chunk[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += n > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        out += n > 2 ? kAlphabet[v & 63] : '=';
    }
    return out;
}

std::vector<std::string> TBase64Encoder::EncodeLines(std::string_view data) {
    std::vector<std::string> lines;
    size_t pos = 0;
    for (;;) {
        std::string_view chunk = data.substr(pos, ChunkSize);
        lines.push_back(EncodeChunk(chunk));
        pos += chunk.size();
        if (chunk.size() < ChunkSize) break;
    }
    return lines;
}
