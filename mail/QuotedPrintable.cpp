#include "mail/QuotedPrintable.h"

#include "mail/MailErrors.h"

namespace {
bool MustEscape(unsigned char c) { return c < 32 || c == '=' || c >= 128; }

std::string EscapePiece(std::string_view piece) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < piece.size(); ++i) {
        auto c = static_cast<unsigned char>(piece[i]);
        // A blank at the very end of a line would be taken for transport padding and dropped by the
        // reader, so it is escaped as well.
        bool trailingBlank = c == ' ' && i + 1 == piece.size();
        if (MustEscape(c) || trailingBlank) {
            out += '=';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
}  // namespace

std::vector<std::string> TQuotedPrintable::SplitLines(std::string_view text) {
    TStringSource source(text);
    TLineReader reader(source, text.size());
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    return lines;
}

void TQuotedPrintable::Encode(TMailSource& source, TMailSink& sink) {
    TLineReader reader(source, MaxLineLength);
    for (std::string line; reader.Next(line);)
        for (const std::string& piece : EncodeLine(line)) {
            sink.Write(piece);
            sink.Write("\r\n");
        }
}

std::vector<std::string> TQuotedPrintable::EncodeLine(std::string_view line) {
    if (line.size() > MaxLineLength) throw EMessageError(MailText::ParagraphTooLarge);
    // A piece is at most PieceLength source characters and, escaped and with its soft break, at most
    // WireLineLength characters: a piece full of escapes takes fewer source characters.
    auto fits = [](std::string_view piece) { return EscapePiece(piece).size() + 1 <= WireLineLength; };
    std::vector<std::string> out;
    while (line.size() >= PieceLength || EscapePiece(line).size() > WireLineLength) {
        size_t limit = 0;
        for (size_t width = 0; limit < std::min(PieceLength, line.size()); ++limit) {
            width += MustEscape(static_cast<unsigned char>(line[limit])) ? 3 : 1;
            if (width + 1 > WireLineLength) break;
        }
        size_t cut = limit;
        for (size_t i = std::min(limit, line.size() - 1); i >= 1; --i) {
            if (line[i] == ' ') {
                cut = i;
                break;
            }
        }
        while (cut > 1 && !fits(line.substr(0, cut))) --cut;  // a blank at the end is escaped too
        out.push_back(EscapePiece(line.substr(0, cut)) + "=");
        line.remove_prefix(cut);
    }
    out.push_back(EscapePiece(line));
    return out;
}

std::vector<std::string> TQuotedPrintable::EncodeText(std::string_view text) {
    TStringSource source(text);
    TStringSink sink;
    Encode(source, sink);
    return WireLines(sink.Text());
}
