#include "processing/charset_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/sjis.h"
#include "text/cp932.h"

namespace velnora::processing {
namespace {

using test::Sjis;

// A tokenizer stand-in: collects what it is given and, at chosen output bytes, switches the
// encoding and stops right after that byte, as the tokenizer does after a charset tag.
class FakeTokenizer : public ByteSink {
  public:
    std::size_t Take(std::string_view bytes) override {
        ++calls;
        spans.push_back(bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out.push_back(bytes[i]);
            if (auto it = switches.find(out.size() - 1); it != switches.end()) {
                selector->Select(it->second);
                return i + 1;
            }
            if (stops.count(out.size() - 1) != 0) {
                return i + 1;
            }
        }
        return bytes.size();
    }

    EncodingSelector* selector = nullptr;
    std::map<std::size_t, Encoding> switches;  // output byte index -> encoding selected after it
    std::map<std::size_t, bool> stops;         // output byte index -> stop without a switch
    std::string out;
    std::vector<std::string_view> spans;
    int calls = 0;
};

// Every way the tests cut an input: whole, one byte per call, and in two at every position.
std::vector<std::vector<std::string_view>> Cuts(std::string_view input) {
    std::vector<std::vector<std::string_view>> cuts{{input}};
    std::vector<std::string_view> bytewise;
    for (std::size_t i = 0; i < input.size(); ++i) {
        bytewise.push_back(input.substr(i, 1));
    }
    cuts.push_back(bytewise);
    for (std::size_t i = 1; i < input.size(); ++i) {
        cuts.push_back({input.substr(0, i), input.substr(i)});
    }
    return cuts;
}

// The Shift_JIS output for the input, the same however the input is cut.
std::string Decode(Encoding start, std::string_view input,
                   const std::map<std::size_t, Encoding>& switches = {},
                   const std::map<std::size_t, bool>& stops = {}) {
    std::string whole;
    bool first = true;
    for (const auto& pieces : Cuts(input)) {
        FakeTokenizer sink;
        CharsetDecoder decoder(sink);
        sink.selector = &decoder;
        sink.switches = switches;
        sink.stops = stops;
        decoder.Reset(start);
        for (std::string_view piece : pieces) {
            decoder.Feed(piece);
        }
        if (first) {
            whole = sink.out;
            first = false;
        } else {
            EXPECT_EQ(sink.out, whole) << "input cut in " << pieces.size() << " pieces, the first "
                                       << pieces.front().size() << " bytes long";
        }
    }
    return whole;
}

struct Row {
    const char* what;
    std::string input;
    std::string output;
};

void CheckRows(Encoding start, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Decode(start, row.input), row.output);
    }
}

TEST(CharsetConversion, JisRowAndCellToShiftJis) {
    EXPECT_EQ(JisToShiftJis(0x30, 0x21), 0x889F);  // 亜
    EXPECT_EQ(JisToShiftJis(0x21, 0x21), 0x8140);  // the full-width space
    EXPECT_EQ(JisToShiftJis(0x5F, 0x21), 0xE040);  // the first row past 0x9F moves up by 0x40
    EXPECT_EQ(JisToShiftJis(0x5F, 0x60), 0xE080);  // an odd row's cells above 0x5F skip 0x7F
    EXPECT_EQ(JisToShiftJis(0x7E, 0x7E), 0xEFFC);
    EXPECT_EQ(JisToShiftJis(0x20, 0x21), 0);
    EXPECT_EQ(JisToShiftJis(0x30, 0x7F), 0);
    EXPECT_EQ(JisToShiftJis(0x0D, 0x0A), 0);
}

TEST(CharsetConversion, EucPairToShiftJis) {
    auto convert = [](unsigned char c1, unsigned char c2) {
        unsigned char out[2];
        EucToShiftJis(c1, c2, out);
        return std::string{static_cast<char>(out[0]), static_cast<char>(out[1])};
    };
    EXPECT_EQ(convert(0xB0, 0xA1), "\x88\x9F");
    EXPECT_EQ(convert(0xA4, 0xA2), Sjis("あ"));
    EXPECT_EQ(convert(0xB4, 0xC1), Sjis("漢"));
    EXPECT_EQ(convert(0xDF, 0xA1), Sjis("漾"));  // from row 0x5F on the lead byte moves up
    EXPECT_EQ(convert(0xF4, 0xA6), Sjis("熙"));
}

TEST(CharsetDecoder, ShiftJisGoesOnAsOneSpanFromTheInput) {
    std::string input = Sjis("日本語のテキスト<p>") + "\x1b$B\x80\xff";
    FakeTokenizer sink;
    CharsetDecoder decoder(sink);
    decoder.Reset(Encoding::kShiftJis);
    decoder.Feed(input);
    EXPECT_EQ(sink.out, input);
    ASSERT_EQ(sink.calls, 1);
    EXPECT_EQ(sink.spans[0].data(), input.data());
}

TEST(CharsetDecoder, UnconvertedRunsGoOnAsOneSpanFromTheInput) {
    struct Case {
        Encoding encoding;
        std::string input;
        std::size_t converted_at;  // where the one converted character starts
        std::size_t converted_length;
    };
    std::vector<Case> cases = {
        {Encoding::kUtf8,
         "<p>abc\xE3\x81\x82"
         "def</p>",
         6, 3},
        {Encoding::kEucJp, "<p>abc\xB0\xA1\x80 def</p>", 6, 2},
        {Encoding::kIso2022Jp, "<p>a\x80\xFF\x1b$B\x30\x21\x1b(Bdef</p>", 6, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        FakeTokenizer sink;
        CharsetDecoder decoder(sink);
        decoder.Reset(c.encoding);
        decoder.Feed(c.input);
        ASSERT_EQ(sink.spans.size(), 3u);
        EXPECT_EQ(sink.spans[0].data(), c.input.data());
        EXPECT_EQ(sink.spans[0].size(), c.converted_at);
        EXPECT_EQ(sink.spans[1].size(), 2u);
        EXPECT_EQ(sink.spans[2].data(), c.input.data() + c.converted_at + c.converted_length);
    }
}

TEST(CharsetDecoder, Iso2022JpEscapeSequences) {
    CheckRows(
        Encoding::kIso2022Jp,
        {
            {"ESC $ B enters two-byte mode and ESC ( B leaves it", "a\x1b$B\x30\x21\x1b(Bb",
             "a\x88\x9F"
             "b"},
            {"ESC $ @ enters two-byte mode too", "\x1b$@\x30\x21", "\x88\x9F"},
            {"ESC ( J leaves it too", "\x1b$B\x30\x21\x1b(Jz", "\x88\x9Fz"},
            {"in ASCII mode ESC ( B passes ( and B, the ESC dropped", "x\x1b(By", "x(By"},
            {"ESC $ and another byte pass $ and the byte", "\x1b$x", "$x"},
            {"in two-byte mode ESC and another byte pass the byte", "\x1b$B\x1bx\x30\x21",
             "x\x88\x9F"},
            {"in two-byte mode ESC ( and another byte pass both", "\x1b$B\x1b(x\x30\x21",
             "(x\x88\x9F"},
            {"line ends in two-byte mode are half a pair", "\x1b$B\x30\x21\r\n\x30\x21",
             "\x88\x9F??\x88\x9F"},
            {"a pair with a byte outside 0x21-0x7E passes ??", "\x1b$B\x30\x80\x7F\x21", "????"},
            {"an ESC as the second byte of a pair is part of it", "\x1b$B\x30\x1b(B", "??\x84\xC0"},
            {"bytes above 0x7F pass unchanged in ASCII mode", "\x82\xA0\x1b\x82", "\x82\xA0\x82"},
        });
}

TEST(CharsetDecoder, EucJpPairsAndKatakana) {
    CheckRows(
        Encoding::kEucJp,
        {
            {"a pair converts", "a\xB0\xA1z", "a\x88\x9Fz"},
            {"0x8E passes the katakana byte after it", "\x8E\xB1", "\xB1"},
            {"the three-byte form is not recognised: 0x8F passes", "\x8F\xB0\xA1", "\x8F\x88\x9F"},
            {"bytes outside the pair range pass", "\x80\x8F\xA0\xFF", "\x80\x8F\xA0\xFF"},
            {"a text", "\xA4\xA2\xB4\xC1", Sjis("あ漢")},
        });
}

TEST(CharsetDecoder, Utf8Characters) {
    CheckRows(Encoding::kUtf8,
              {
                  {"U+3042 gives a two-byte code", "\xE3\x81\x82", "\x82\xA0"},
                  {"U+00A5 is in neither table", "\xC2\xA5", "??"},
                  {"U+2014 comes from the supplement", "\xE2\x80\x94", "\x81\x5C"},
                  {"U+FF61 gives one byte", "\xEF\xBD\xA1", "\xA1"},
                  {"U+FF5E gives 0x81 0x60", "\xEF\xBD\x9E", "\x81\x60"},
                  {"U+301C gives 0x81 0x60 through the supplement", "\xE3\x80\x9C", "\x81\x60"},
                  {"a four-byte character gives ??", "a\xF0\x9F\x98\x80z", "a??z"},
                  {"a stray continuation byte gives ?", "a\x80z", "a?z"},
                  {"0xF8-0xFF give ?", "\xF8\xFF", "??"},
                  {"an overlong form decodes like any other", "\xC0\xBE", ">"},
                  {"the value 0 gives ??", "\xC0\x80", "??"},
                  {"a surrogate gives ??", "\xED\xA0\x80", "??"},
                  {"a sequence not yet complete gives nothing", "ab\xE3\x81", "ab"},
              });
}

TEST(CharsetDecoder, Utf8BrokenSequenceGivesOneQuestionMarkAndRereadsTheByte) {
    CheckRows(Encoding::kUtf8,
              {
                  {"letters after a lead byte are kept",
                   "\xE9"
                   "ab",
                   "?ab"},
                  {"a new lead byte starts a new sequence", "\xE3\x81\xE3\x81\x82", "?\x82\xA0"},
                  {"a stray byte after a broken sequence", "\xC2\x41\x80", "?A?"},
                  {"a four-byte sequence cut short", "\xF0\x9F\x98<", "?<"},
              });
}

TEST(CharsetDecoder, SwitchTakesEffectFromTheByteAfterTheTag) {
    // A meta tag names the encoding; the sink switches right after its ">".
    std::string tag = "<meta charset=x>";
    std::size_t after_tag = tag.size() - 1;
    struct Case {
        const char* what;
        Encoding from;
        Encoding to;
        std::string before;  // input before the tag
        std::string after;   // input after the tag
        std::string output;
    };
    std::vector<Case> cases = {
        {"Shift_JIS to UTF-8 in the middle of a span", Encoding::kShiftJis, Encoding::kUtf8,
         "\x82\xA0", "\xE3\x81\x82", "\x82\xA0" + tag + "\x82\xA0"},
        {"UTF-8 to Shift_JIS", Encoding::kUtf8, Encoding::kShiftJis, "\xE3\x81\x82", "\x82\xA0\xE3",
         "\x82\xA0" + tag + "\x82\xA0\xE3"},
        {"EUC-JP to UTF-8", Encoding::kEucJp, Encoding::kUtf8, "\xB0\xA1",
         "\xE3\x81\x82"
         "a",
         "\x88\x9F" + tag +
             "\x82\xA0"
             "a"},
        {"ISO-2022-JP to EUC-JP", Encoding::kIso2022Jp, Encoding::kEucJp, "\x1b$B\x30\x21\x1b(B",
         "\xB0\xA1", "\x88\x9F" + tag + "\x88\x9F"},
        {"Shift_JIS to ISO-2022-JP", Encoding::kShiftJis, Encoding::kIso2022Jp, "",
         "\x1b$B\x30\x21", tag + "\x88\x9F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t tag_end = Decode(c.from, c.before).size() + after_tag;
        EXPECT_EQ(Decode(c.from, c.before + tag + c.after, {{tag_end, c.to}}), c.output);
    }
}

TEST(CharsetDecoder, SwitchAfterAConvertedByteTakesEffectToo) {
    // An overlong UTF-8 form of ">" ends the tag; the switch still applies from the next byte.
    std::string input = "<meta\xC0\xBE\x82\xA0";
    EXPECT_EQ(Decode(Encoding::kUtf8, input, {{5, Encoding::kShiftJis}}), "<meta>\x82\xA0");
}

TEST(CharsetDecoder, SwitchInsideARunOfConvertedCharacters) {
    // The sink stops after the first byte of the second character: the character still goes on
    // whole, and the third is read under the new encoding.
    struct Case {
        const char* what;
        Encoding from;
        std::string input;
        std::string output;
    };
    std::vector<Case> cases = {
        {"UTF-8", Encoding::kUtf8, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86",
         "\x82\xA0\x82\xA2\xE3\x81\x86"},
        {"EUC-JP", Encoding::kEucJp, "\xB0\xA1\xB0\xA1\xB0\xA1", "\x88\x9F\x88\x9F\xB0\xA1"},
        {"ISO-2022-JP", Encoding::kIso2022Jp, "\x1b$B\x30\x21\x30\x21\x30\x21",
         "\x88\x9F\x88\x9F\x30\x21"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(c.from, c.input, {{2, Encoding::kShiftJis}}), c.output);
    }
}

TEST(CharsetDecoder, Utf8AgreesWithTheCodePageTablesForEveryCodeUnit) {
    std::string input;
    std::string expected;
    for (std::uint32_t unit = 1; unit < 0x10000; ++unit) {
        if (unit < 0x80) {
            input += static_cast<char>(unit);
        } else if (unit < 0x800) {
            input += static_cast<char>(0xC0 | unit >> 6);
            input += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            input += static_cast<char>(0xE0 | unit >> 12);
            input += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            input += static_cast<char>(0x80 | (unit & 0x3F));
        }
        unsigned char code[2];
        text::UnicodeToShiftJis(static_cast<std::uint16_t>(unit), code);
        if (code[0] != 0) {
            expected += static_cast<char>(code[0]);
        }
        expected += static_cast<char>(code[1]);
    }
    FakeTokenizer whole;
    CharsetDecoder decoder(whole);
    decoder.Reset(Encoding::kUtf8);
    decoder.Feed(input);
    EXPECT_TRUE(whole.out == expected);
    FakeTokenizer bytewise;
    CharsetDecoder slow(bytewise);
    slow.Reset(Encoding::kUtf8);
    for (char b : input) {
        slow.Feed({&b, 1});
    }
    EXPECT_TRUE(bytewise.out == expected);
}

TEST(CharsetDecoder, SinkStoppingWithoutASwitchLosesNothing) {
    std::string input = "<p>abc\xE3\x81\x82<br>def";
    EXPECT_EQ(Decode(Encoding::kUtf8, input, {}, {{2, true}, {5, true}, {6, true}, {11, true}}),
              "<p>abc\x82\xA0<br>def");
    EXPECT_EQ(Decode(Encoding::kShiftJis, "<p>abc", {}, {{2, true}}), "<p>abc");
}

TEST(CharsetDecoder, SwitchingKeepsEveryConverterState) {
    FakeTokenizer sink;
    CharsetDecoder decoder(sink);
    decoder.Reset(Encoding::kUtf8);
    decoder.Feed("\xE3\x81");  // an open UTF-8 sequence
    decoder.Select(Encoding::kEucJp);
    decoder.Feed("\xB0");  // an open EUC-JP pair
    decoder.Select(Encoding::kShiftJis);
    decoder.Feed("ab");
    decoder.Select(Encoding::kUtf8);
    decoder.Feed("\x82");
    decoder.Select(Encoding::kEucJp);
    decoder.Feed("\xA1");
    EXPECT_EQ(sink.out, "ab\x82\xA0\x88\x9F");

    decoder.Reset(Encoding::kUtf8);  // a reset closes every open sequence
    sink.out.clear();
    decoder.Feed("\x82z");
    EXPECT_EQ(sink.out, "?z");
}

}  // namespace
}  // namespace velnora::processing
