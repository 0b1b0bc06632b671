#include <gtest/gtest.h>

#include "TestRecords.h"

TEST(PropDate, StorageFormats) {
    struct {
        const char* format;
        const char* text;
        int y, m, d;  // 0 when the text must be refused
    } cases[] = {
        {"yyyymmdd", "20000131", 2000, 1, 31}, {"yymmdd", "990131", 1999, 1, 31}, {"yymmdd", "010203", 2001, 2, 3},
        {"yyyymmdd", "2000131", 0, 0, 0},      {"yyyymmdd", "20001332", 0, 0, 0}, {"yyyymmdd", "2000013a", 0, 0, 0},
        {"d-m-yyyy", "7-3-2001", 2001, 3, 7},  {"yyyymmdd", "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        auto date = ParseDateStorage(c.format, c.text);
        if (!c.y) {
            EXPECT_FALSE(date.has_value()) << c.format << " " << c.text;
            continue;
        }
        ASSERT_TRUE(date.has_value()) << c.format << " " << c.text;
        EXPECT_EQ(*date, EncodeDate(c.y, c.m, c.d)) << c.text;
        EXPECT_EQ(FormatDateStorage(c.format, *date), c.text);
    }
}

TEST(PropDate, ValuesTextsAndRange) {
    auto model = BuildTestModel();
    TTestPerson person;
    TDateProp& born = person.Born();
    born.SetAsString("20000131");
    EXPECT_EQ(born.AsVariant(), TVariant::Date(EncodeDate(2000, 1, 31)));
    EXPECT_EQ(born.AsStorageString(), "20000131");
    EXPECT_EQ(born.AsString(), FormatLongDate(EncodeDate(2000, 1, 31)));
    born.SetAsString("7-3-2001");  // typed in the Dutch short date format
    EXPECT_EQ(born.AsStorageString(), "20010307");
    born.SetAsString("");
    EXPECT_TRUE(born.AsVariant().IsNull());

    EXPECT_EQ(ThrownUserMessage([&] { born.SetAsString("morgen"); }),
              "morgen is geen geldige datum.\r\nHet veld 'Geboren' kan alleen datums bevatten.");
    EXPECT_EQ(ThrownUserMessage([&] { born.SetAsVariant(true); }),
              "True is geen geldige datum.\r\nHet veld 'Geboren' kan alleen datums bevatten.");

    born.SetAsVariant(TVariant::Date(EncodeDate(2101, 1, 1)));
    EXPECT_EQ(ThrownUserMessage([&] { born.Validate(); }),
              "1-1-2101 is geen geldige datum.\r\nDe waarde van het veld 'Geboren' moet kleiner/gelijk zijn aan 31-12-2100.");
    born.SetAsVariant(TVariant::Date(EncodeDate(2100, 12, 31)));
    EXPECT_NO_THROW(born.Validate());
    born.SetAsVariant(TVariant::Date(EncodeDate(1899, 12, 31)));
    EXPECT_EQ(ThrownUserMessage([&] { born.Validate(); }),
              "31-12-1899 is geen geldige datum.\r\nDe waarde van het veld 'Geboren' moet groter/gelijk zijn aan 1-1-1900.");
}
