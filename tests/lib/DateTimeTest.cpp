#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "core/Exceptions.h"

TEST(DateTime, AutomationDateArithmeticRoundTrips) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    TDateParts p = DecodeDateTime(EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 999));
    EXPECT_EQ(std::tie(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.MilliSecond),
              std::make_tuple(2024, 2, 29, 23, 59, 59, 999));
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29));
    EXPECT_FALSE(TryEncodeDate(1999, 13, 1));
    EXPECT_THROW(EncodeDate(2001, 4, 31), EBrantel);
}

TEST(DateTime, TextsFollowTheDutchRegionalSettings) {
    TDateTime d = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 3);
    EXPECT_EQ(DateToStr(d), "7-3-2026");
    EXPECT_EQ(TimeToStr(d), "09:05:03");
    EXPECT_EQ(DateTimeToStr(d), "7-3-2026 09:05:03");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7)), "7-3-2026");
    EXPECT_EQ(FormatLongDate(d), "zaterdag 7 maart 2026");
}

TEST(DateTime, ShortDatesAreReadInDayMonthYearOrder) {
    EXPECT_EQ(StrToDate("7-3-2026"), EncodeDate(2026, 3, 7));
    EXPECT_EQ(StrToDate("07/03/26"), EncodeDate(2026, 3, 7));
    EXPECT_EQ(StrToDate(" 31.12.99 "), EncodeDate(1999, 12, 31));
    for (const char* bad : {"", "31-2-2020", "1-2", "a-b-c", "1-2-3-4", "12345-1-1"})
        EXPECT_FALSE(TryStrToDate(bad)) << bad;
    try {
        StrToDate("30-2-2020");
        FAIL();
    } catch (const EBrantel& e) {
        EXPECT_STREQ(e.what(), "'30-2-2020' is geen geldige datum");
    }
}
