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
