#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processing/attribute_markers.h"
#include "processing/line_equality.h"
#include "support/sjis.h"

namespace velnora::processing {
namespace {

using test::Sjis;

struct EqualityCase {
    const char* what;
    std::string a;
    std::string b;
    bool ignore_number_diff;
    bool equal;
};

TEST(LinesEqual, BlanksDigitsAndLineEnds) {
    const EqualityCase cases[] = {
        {"blanks between characters never matter", "a b", "ab", false, true},
        {"leading blanks are passed over", "  ab", "ab", false, true},
        {"a trailing blank on one side only differs", "abc", "abc ", false, false},
        {"a line of blanks differs from the empty line", "  ", "", false, false},
        {"digits count without the flag", "abc1", "abc2", false, false},
        {"with the flag digits do not count", "abc1", "abc2", true, true},
        {"but a trailing digit on one side differs", "abc", "abc1", true, false},
        {"prices differing only in digits are equal", Sjis("価格 1,200円"), Sjis("価格 1,500円"),
         true, true},
        {"a line ending before the other's trailing digit", Sjis("更新"), Sjis("更新1"), true,
         false},
        {"the line feed is an ordinary byte", "abc\n", "abc", false, false},
        {"blanks before the line feed do not matter", "abc \n", "abc\n", false, true},
    };
    for (const EqualityCase& c : cases) {
        EXPECT_EQ(LinesEqual(c.a, c.b, c.ignore_number_diff, false), c.equal) << c.what;
        EXPECT_EQ(LinesEqual(c.b, c.a, c.ignore_number_diff, false), c.equal) << c.what;
    }
}

TEST(LinesEqual, HiddenValuesArePassedOverOnlyWhenAsked) {
    const std::string a = "<a \x01ref=\"http://a/\x03>news</a>";
    const std::string b = "<a \x01ref=\"http://b/\x03>news</a>";
    EXPECT_TRUE(LinesEqual(a, b, false, true));
    EXPECT_FALSE(LinesEqual(a, b, false, false));
    EXPECT_FALSE(LinesEqual(a, "<a \x01ref=\"http://a/\x03>other</a>", false, true));
    EXPECT_TRUE(LinesEqual("x\x02rc=\"1.gif\x03 y", "x\x02rc=\"2.png\x03y", false, true))
        << "the value of an image source too";
    EXPECT_TRUE(LinesEqual("x\x01 unclosed", "x\x01 other", false, true))
        << "without a closing marker the rest of the line is passed over";
    EXPECT_FALSE(LinesEqual("x\x01 unclosed", "x", false, true))
        << "what is passed over still counts as bytes left at the end";
}

// LineKey must agree with LinesEqual: every pair of equal lines has equal keys. All lines of up
// to three bytes over the bytes that matter are tried, with every flag.
TEST(LineKey, EqualLinesHaveEqualKeys) {
    const std::string alphabet = std::string(" 1a\n") + '\x01' + '\x03';
    std::vector<std::string> lines = {""};
    for (std::size_t begin = 0, length = 1; length <= 4; ++length) {
        std::size_t end = lines.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (char c : alphabet) {
                lines.push_back(lines[i] + c);
            }
        }
        begin = end;
    }
    for (int flags = 0; flags < 4; ++flags) {
        bool digits = flags & 1;
        bool hidden = flags & 2;
        std::size_t equal_pairs = 0;
        for (const std::string& a : lines) {
            std::uint64_t key = LineKey(a, digits, hidden);
            for (const std::string& b : lines) {
                if (LinesEqual(a, b, digits, hidden)) {
                    ++equal_pairs;
                    ASSERT_EQ(key, LineKey(b, digits, hidden))
                        << "flags " << flags << " \"" << a << "\" \"" << b << "\"";
                } else {
                    ASSERT_NE(key, LineKey(b, digits, hidden))
                        << "flags " << flags << " \"" << a << "\" \"" << b << "\"";
                }
            }
        }
        EXPECT_GT(equal_pairs, lines.size()) << "some different lines compare equal";
    }
}

std::string Hidden(std::string line, int mode) {
    HideAttributeValues(line, mode);
    return line;
}

TEST(HideAttributeValues, MarksTheValueOfImageSourcesAndLinkTargets) {
    struct Case {
        const char* what;
        std::string line;
        int mode;
        std::string hidden;
    };
    const Case cases[] = {
        {"an image source", "x<img src=\"a.gif\" alt=\"A\">y", 0,
         "x<img \x02rc=\"a.gif\x03 alt=\"A\">y"},
        {"a link target", "<a href=\"http://h/\">t</a>", 1, "<a \x01ref=\"http://h/\x03>t</a>"},
        {"mode 0 leaves links alone", "<a href=\"u\">t</a>", 0, "<a href=\"u\">t</a>"},
        {"tag names are case-sensitive", "<IMG src=\"u\">", 0, "<IMG src=\"u\">"},
        {"every tag beginning with a", "<abbr href=\"u\">", 1, "<abbr \x01ref=\"u\x03>"},
        {"not outside a tag", "src=\"u\" <img>", 0, "src=\"u\" <img>"},
        {"not inside another quoted value", "<img alt=\"a src=\" src=\"b\">", 0,
         "<img alt=\"a src=\" \x02rc=\"b\x03>"},
        {"every tag of the line", "<img src=\"1\"><img src=\"2\">", 0,
         "<img \x02rc=\"1\x03><img \x02rc=\"2\x03>"},
        {"the first byte of a value is always part of it", "<img src=\"\" alt=\"x\">", 0,
         "<img \x02rc=\"\" alt=\x03x\">"},
        {"a line that ends inside the value", "<img src=\"abc", 0, "<img \x02rc=\"abc"},
        {"a line that ends right after the opening quote", "<img src=\"", 0, "<img \x02rc=\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hidden(c.line, c.mode), c.hidden) << c.what;
    }
}

TEST(HideAttributeValues, RestoreBringsBackTheLine) {
    const std::string lines[] = {
        "<a href=\"http://h/\"><img src=\"i.png\" alt=\"\">text</a>",
        "<img src=\"\" alt=\"x\">",
        "<a href=\"u",
    };
    for (const std::string& line : lines) {
        std::string copy = Hidden(Hidden(line, 0), 1);
        EXPECT_NE(copy, line);
        RestoreAttributeValues(copy);
        EXPECT_EQ(copy, line);
    }
}

}  // namespace
}  // namespace velnora::processing
