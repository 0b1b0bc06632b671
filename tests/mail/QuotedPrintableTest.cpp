#include <gtest/gtest.h>

#include "mail/MailErrors.h"
#include "mail/QuotedPrintable.h"

using Lines = std::vector<std::string>;

TEST(QuotedPrintable, EscapesControlEqualsAndHighBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"a=b", "a=3Db"},
        {"tab\there", "tab=09here"},
        {"caf\xe9", "caf=E9"},
        {"ends in blank ", "ends in blank=20"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(TQuotedPrintable::EncodeLine(in), Lines{out}) << in;
}

TEST(QuotedPrintable, LongLinesAreCutBeforeABlankWithSoftBreaks) {
    std::string words;
    while (words.size() < 300) words += "woord" + std::to_string(words.size() % 7) + " ";
    Lines pieces = TQuotedPrintable::EncodeLine(words);
    ASSERT_GT(pieces.size(), 4u);
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        bool last = i + 1 == pieces.size();
        EXPECT_LE(pieces[i].size(), TQuotedPrintable::PieceLength + (last ? 3 : 1)) << pieces[i];
        if (!last) {
            ASSERT_EQ(pieces[i].back(), '=') << pieces[i];
            joined += pieces[i].substr(0, pieces[i].size() - 1);
            if (i > 0) {
                EXPECT_EQ(pieces[i][0], ' ') << "cut before a blank";
            }
        } else {
            joined += pieces[i];
        }
    }
    // The line ended in a blank, which is escaped.
    EXPECT_EQ(joined.substr(0, joined.size() - 3), words.substr(0, words.size() - 1));
}

TEST(QuotedPrintable, LineWithoutBlanksIsCutHardAt65) {
    Lines pieces = TQuotedPrintable::EncodeLine(std::string(130, 'x'));
    EXPECT_EQ(pieces, (Lines{std::string(65, 'x') + "=", std::string(65, 'x') + "=", ""}));
}

TEST(QuotedPrintable, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(TQuotedPrintable::SplitLines("a\r\nb\nc\rd\n\re\r\n\r\nf"), (Lines{"a", "b", "c", "d", "e", "", "f"}));
    EXPECT_EQ(TQuotedPrintable::SplitLines("a\r\n"), Lines{"a"});
}

TEST(QuotedPrintable, RefusesAParagraphTooLarge) {
    EXPECT_NO_THROW(TQuotedPrintable::EncodeText(std::string(TQuotedPrintable::MaxLineLength, 'x')));
    try {
        TQuotedPrintable::EncodeText(std::string(TQuotedPrintable::MaxLineLength + 1, 'x'));
        FAIL() << "no exception";
    } catch (const EMessageError& e) {
        EXPECT_STREQ(e.what(), "Paragraph is too large");
    }
}

namespace {
// What a reader makes of the pieces: soft breaks joined, escapes turned back into bytes.
std::string Decode(const Lines& pieces) {
    std::string out;
    for (const std::string& piece : pieces) {
        bool soft = !piece.empty() && piece.back() == '=';
        std::string_view p(piece.data(), piece.size() - (soft ? 1 : 0));
        for (size_t i = 0; i < p.size(); ++i) {
            if (p[i] == '=') {
                out += static_cast<char>(std::stoi(std::string(p.substr(i + 1, 2)), nullptr, 16));
                i += 2;
            } else {
                out += p[i];
            }
        }
    }
    return out;
}
}  // namespace

TEST(QuotedPrintable, EscapedLinesStayWithin76CharactersOnTheWire) {
    std::string escapes, accents, mixed;
    for (int i = 0; i < 30; ++i) escapes += "\x80\xE9=";
    accents = std::string(64, '\xE9');  // shorter than a piece, three times as long escaped
    for (int i = 0; i < 40; ++i) mixed += i % 3 ? "\xE9\t " : "woord ";
    for (const std::string& line : {escapes, accents, mixed, std::string(300, '='), std::string(200, 'x') + "  \xE9 "}) {
        Lines pieces = TQuotedPrintable::EncodeLine(line);
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_LE(pieces[i].size(), 76u) << pieces[i];
            if (i + 1 < pieces.size()) {
                EXPECT_EQ(pieces[i].back(), '=') << pieces[i];
            }
        }
        EXPECT_EQ(Decode(pieces), line);
    }
}
