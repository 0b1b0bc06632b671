#include "mail/Base64.h"

#include <algorithm>
#include <memory>

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Input read at a time: whole chunks, about half a mail block.
constexpr size_t kChunksPerRead = MailBlockSize / 2 / TBase64Encoder::ChunkSize;

// Writes the encoding of up to 57 bytes into out (at least 76 characters); answers its length.
size_t EncodeInto(std::string_view chunk, char* out) {
    char* p = out;
    for (size_t i = 0; i < chunk.size(); i += 3) {
        size_t n = std::min<size_t>(3, chunk.size() - i);
        unsigned v = static_cast<unsigned char>(chunk[i]) << 16;
        if (n > 1) v |= static_cast<unsigned char>(chunk[i + 1]) << 8;
        if (n > 2) v |= static_cast<unsigned char>(chunk[i + 2]);
        *p++ = kAlphabet[(v >> 18) & 63];
        *p++ = kAlphabet[(v >> 12) & 63];
        *p++ = n > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        *p++ = n > 2 ? kAlphabet[v & 63] : '=';
    }
    return static_cast<size_t>(p - out);
}
}  // namespace

std::string TBase64Encoder::EncodeChunk(std::string_view chunk) {
    std::string out((chunk.size() + 2) / 3 * 4, '\0');
    out.resize(EncodeInto(chunk, out.data()));
    return out;
}

void TBase64Encoder::Encode(TMailSource& source, TMailSink& sink) {
    auto input = std::make_unique<char[]>(kChunksPerRead * ChunkSize);
    char line[ChunkSize / 3 * 4 + 2];
    for (;;) {
        size_t read = ReadFull(source, input.get(), kChunksPerRead * ChunkSize);
        for (size_t pos = 0;; pos += ChunkSize) {
            std::string_view chunk(input.get() + pos, std::min(ChunkSize, read - pos));
            size_t n = EncodeInto(chunk, line);
            line[n] = '\r';
            line[n + 1] = '\n';
            sink.Write(std::string_view(line, n + 2));
            if (chunk.size() < ChunkSize) return;
            if (pos + ChunkSize == read) break;
        }
    }
}

std::vector<std::string> TBase64Encoder::EncodeLines(std::string_view data) {
    TStringSource source(data);
    TStringSink sink;
    Encode(source, sink);
    return WireLines(sink.Text());
}
