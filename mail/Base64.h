#pragma once
// Base64 for attachments: 57 bytes of input per output line, so a full line has 76 characters.
#include <string>
#include <string_view>
#include <vector>

#include "mail/MailStream.h"

class TBase64Encoder {
public:
    static constexpr size_t ChunkSize = 57;
    // One line (with CR LF) per 57-byte chunk of the source, read a block at a time; the first chunk
    // shorter than 57 bytes ends the data and gives the last line, which is empty when the data is a
    // whole number of chunks long.
    static void Encode(TMailSource& source, TMailSink& sink);
    // The same lines, without their CR LF.
    static std::vector<std::string> EncodeLines(std::string_view data);
    static std::string EncodeChunk(std::string_view chunk);
};
