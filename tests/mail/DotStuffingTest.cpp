#include <gtest/gtest.h>

#include "mail/DotStuffing.h"

TEST(DotStuffing, DoublesTheDotAtEveryLineStart) {
    const std::pair<std::string, std::string> cases[] = {
        {".\r\n", "..\r\n"},
        {".text\r\n", "..text\r\n"},
        {"a.b\r\n.\r\n..\r\n", "a.b\r\n..\r\n...\r\n"},
        {"no dots\r\n", "no dots\r\n"},
        {"", ""},
        {"x\r\n.", "x\r\n.."},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(DotStuff(in), out) << in;
}
