#pragma once
// Base64 for attachments: 57 bytes of input per output line, so a full line has 76 characters.
#include <string>
#include <string_view>
#include <vector>

class TBase64Encoder {
public:
    static constexpr size_t ChunkSize = 57;
    // One line per 57-byte chunk; the first chunk shorter than 57 bytes ends the data and gives the
    // last line, which is empty when the data is a whole number of chunks long.
    static std::vector<std::string> EncodeLines(std::string_view data);
    static std::string EncodeChunk(std::string_view chunk);
};
