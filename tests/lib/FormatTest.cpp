#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/Format.h"

TEST(Format, DirectivesOnDutchLocale) {
    struct {
        const char* fmt;
        std::string expected;
        std::initializer_list<TFormatArg> args;
    } cases[] = {
        {"%d%%", "37%", {37}},
        {"%f", "1024,00", {1024.0}},
        {"%.2f", "3,14", {3.14159}},
        {"%.1f", "-0,5", {-0.5}},
        {"%.0f", "3", {2.5001}},
        {"%s en %s", "Jan en Piet", {"Jan", std::string("Piet")}},
        {"%x", "FF", {255}},
        {"%x", "FFFFFFFF", {-1}},
        {"%.4x", "00FF", {255}},
        {"%5d|%-5d|", "   42|42   |", {42, 42}},
        {"%.3d", "007", {7}},
        {"%.3s", "abc", {"abcdef"}},
        {"%*d", "  9", {3, 9}},
        {"%1:s %0:s", "b a", {"a", "b"}},
        {"%n", "1.234.567,89", {1234567.891}},
        {"%u", "4294967295", {-1}},
        {"Geen argumenten", "Geen argumenten", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.fmt, c.args), c.expected) << c.fmt;
}

TEST(Format, MismatchedOrMissingArgumentsAreRefused) {
    EXPECT_THROW(Format("%d", {"tekst"}), EBrantel);
    EXPECT_THROW(Format("%s", {12}), EBrantel);
    EXPECT_THROW(Format("%f", {12}), EBrantel);
    EXPECT_THROW(Format("%s %s", {"een"}), EBrantel);
    EXPECT_THROW(Format("%q", {1}), EBrantel);
    try {
        Format("%d", {"x"});
    } catch (const EBrantel& e) {
        EXPECT_STREQ(e.what(), "Format '%d' invalid or incompatible with argument");
    }
}
