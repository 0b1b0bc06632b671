#pragma once
// Quoted-printable for text bodies and text attachments. Lines are cut into pieces of at most 65
// source characters, preferably before a blank, and never longer than 76 characters on the wire
// (soft break included), as readers of quoted-printable expect.
#include <string>
#include <string_view>
#include <vector>

#include "mail/MailStream.h"

class TQuotedPrintable {
public:
    static constexpr size_t PieceLength = 65;
    static constexpr size_t WireLineLength = 76;
    static constexpr size_t MaxLineLength = 24575;

    // Splits at CR, LF, CR LF or LF CR and encodes every line; throws EMessageError
    // "Paragraph is too large" for a line longer than MaxLineLength.
    static std::vector<std::string> EncodeText(std::string_view text);
    // The same for a source, line by line into the sink (each output line with CR LF).
    static void Encode(TMailSource& source, TMailSink& sink);
    // One source line as one or more output lines, all but the last ending in a soft break "=".
    static std::vector<std::string> EncodeLine(std::string_view line);
    static std::vector<std::string> SplitLines(std::string_view text);
};
