#include <gtest/gtest.h>

#include "mail/Base64.h"

TEST(Base64, LinesFollowTheChunksOf57Bytes) {
    struct Case {
        size_t size;
        std::vector<size_t> lineLengths;
    };
    const Case cases[] = {
        {0, {0}}, {1, {4}}, {56, {76}}, {57, {76, 0}}, {58, {76, 4}}, {114, {76, 76, 0}}, {120, {76, 76, 8}},
    };
    for (const Case& c : cases) {
        std::string data(c.size, 'x');
        std::vector<std::string> lines = TBase64Encoder::EncodeLines(data);
        std::vector<size_t> lengths;
        for (const auto& l : lines) lengths.push_back(l.size());
        EXPECT_EQ(lengths, c.lineLengths) << "size " << c.size;
    }
    EXPECT_EQ(TBase64Encoder::EncodeLines(std::string(58, 'x')).back(), "eA==");
}

TEST(Base64, KnownVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"},
        {std::string("\x00\xff\xfe", 3), "AP/+"}, {"\xfb\xff", "+/8="},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(TBase64Encoder::EncodeChunk(in), out);
}
