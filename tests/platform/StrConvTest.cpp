#include <gtest/gtest.h>

#include "core/StrConv.h"

TEST(StrConv, Windows1252RoundTripOfDutchTexts) {
    struct {
        const char* utf8;
        const char* ansi;
    } cases[] = {
        {"efficiënte", "effici\xEBnte"},
        {"geïnteresseerd", "ge\xEFnteresseerd"},
        {"één", "\xE9\xE9n"},
        {"Seriële", "Seri\xEBle"},
        {"© 2026 – €", "\xA9 2026 \x96 \x80"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
        EXPECT_EQ(AnsiToUtf8(c.ansi), c.utf8) << c.utf8;
    }
    EXPECT_EQ(Utf8ToAnsi("日本"), "??");
    EXPECT_EQ(Narrow(Widen("Ĳsselmeer – één")), "Ĳsselmeer – één");
}

TEST(StrConv, TextHelpers) {
    EXPECT_EQ(Trim(" \t Kasboek \r\n"), "Kasboek");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UpperCase("één systeem"), "ÉÉN SYSTEEM");
    EXPECT_EQ(LowerCase("SYSTEMSUMMARY"), "systemsummary");
    EXPECT_TRUE(SameText("CPUandBios", "cpuANDbios"));
    EXPECT_TRUE(SameText("Één", "één"));
    EXPECT_FALSE(SameText("Printer", "Printers"));
}
