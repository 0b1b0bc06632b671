#include <gtest/gtest.h>

#include "mail/Base64.h"
#include "mail/DotStuffing.h"
#include "mail/MailStream.h"
#include "mail/QuotedPrintable.h"

namespace {
using Lines = std::vector<std::string>;

// Hands out at most `step` bytes per read, as a slow file or connection does.
class TTrickleSource : public TMailSource {
public:
    TTrickleSource(std::string_view bytes, size_t step) : FBytes(bytes), FStep(step) {}
    size_t Read(char* buffer, size_t size) override { return FBytes.Read(buffer, std::min(size, FStep)); }

private:
    TStringSource FBytes;
    size_t FStep;
};

std::string Bytes(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + i / 253) & 0xff);
    return s;
}
}  // namespace

// Wherever the reads of an attachment and the writes of the encoder happen to fall, the wire form is
// the one of the whole text at once: a line end pair split by a read is one line end, a 57-byte chunk
// split by reads is one line, a dot at a line start written on its own is doubled.
TEST(MailStream, PiecesMakeNoDifference) {
    const std::pair<std::string, Lines> texts[] = {
        {"a\r\nb\nc\rd\n\re\r\n\r\nf", {"a", "b", "c", "d", "e", "", "f"}},
        {"a\r\n", {"a"}},
        {"\r\n\r\n", {"", ""}},
        {"zonder einde", {"zonder einde"}},
        {"", {}},
    };
    for (size_t step : {1, 2, 3, 8192}) {
        for (const auto& [text, lines] : texts) {
            TTrickleSource source(text, step);
            TLineReader reader(source, 100);
            Lines got;
            for (std::string line; reader.Next(line);) got.push_back(line);
            EXPECT_EQ(got, lines) << "step " << step << ": " << text;
        }
    }

    for (size_t size : {0, 56, 57, 58, 57 * 574, 57 * 574 + 1, 100000}) {
        const std::string data = Bytes(size);
        TStringSink whole;
        TStringSource all(data);
        TBase64Encoder::Encode(all, whole);
        TStringSink trickled;
        TTrickleSource source(data, 1000);
        TBase64Encoder::Encode(source, trickled);
        EXPECT_EQ(trickled.Text(), whole.Text()) << size;
        EXPECT_EQ(WireLines(whole.Text()).size(), size / 57 + 1) << size;
        if (size > 0) {
            EXPECT_EQ(WireLines(whole.Text())[0], TBase64Encoder::EncodeChunk(std::string_view(data).substr(0, 57)));
        }
    }

    const std::string text = "regel\r\n.\r\n..twee\r\nx.y\r\n.";
    TStringSink bytewise;
    TDotStuffingSink stuffing(bytewise);
    for (char c : text) stuffing.Write(std::string_view(&c, 1));
    EXPECT_EQ(bytewise.Text(), "regel\r\n..\r\n...twee\r\nx.y\r\n..");
    EXPECT_EQ(DotStuff(text), bytewise.Text());

    TStringSink blocks;
    std::vector<uint64_t> passed;
    TBlockSink blockSink(blocks, 4);
    blockSink.OnBlock = [&](uint64_t n) { passed.push_back(n); };
    blockSink.Write("abc");
    blockSink.Write("defghij");
    blockSink.Flush();
    EXPECT_EQ(blocks.Text(), "abcdefghij");
    EXPECT_EQ(passed, (std::vector<uint64_t>{4, 8, 10}));
}
