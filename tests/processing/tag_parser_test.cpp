#include "processing/tag_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/sjis.h"

namespace velnora::processing {
namespace {

using velnora::test::Sjis;

struct Parsed {
    std::vector<std::string> tokens;
    TagParser::Result result = TagParser::Result::kIncomplete;
    std::size_t taken = 0;  // bytes taken in all
};

// Parses tag (the bytes after "<") fed in pieces of the given size (0: whole).
Parsed Parse(std::string_view tag, std::size_t piece = 0) {
    auto parser = std::make_unique<TagParser>();
    parser->Begin();
    Parsed parsed;
    std::size_t from = 0;
    while (from < tag.size() && parsed.result == TagParser::Result::kIncomplete) {
        std::string_view span = tag.substr(from, piece == 0 ? tag.size() : piece);
        std::size_t taken = parser->Feed(span, parsed.result);
        EXPECT_LE(taken, span.size());
        from += taken;
    }
    parsed.taken = from;
    for (std::size_t i = 0; i < parser->token_count(); ++i) {
        parsed.tokens.emplace_back(parser->token(i));
    }
    return parsed;
}

struct Case {
    const char* what;
    std::string tag;
    std::vector<std::string> tokens;
};

TEST(TagParser, SplitsTagsIntoTokens) {
    const std::vector<Case> cases = {
        {"a name and a quoted value", "a href=\"x.html\">", {"a", "href", "x.html"}},
        {"the name keeps its letter case and a leading slash", "/TD>", {"/TD"}},
        {"br/ is one token", "br/>", {"br/"}},
        {"blanks around = are skipped", "a href = x >", {"a", "href", "x"}},
        {"an apostrophe-quoted value keeps blanks and double quotes",
         "img alt='say \"hi\"'>",
         {"img", "alt", "say \"hi\""}},
        {"a quoted value may hold >", "a title=\"1>2\">", {"a", "title", "1>2"}},
        {"line ends inside quotes become blanks", "a title=\"1\r\n2\">", {"a", "title", "1  2"}},
        {"an empty quoted value is a token", "img alt=\"\" src=x>", {"img", "alt", "", "src", "x"}},
        {"= right before > gives a blank value", "img src=>", {"img", "src", " "}},
        {"a semicolon separates tokens", "a;b c>", {"a", "b", "c"}},
        {"quotes outside values are ignored", "a \"b\">", {"a", "b"}},
        {"a quote ends an unquoted value", "a href=x\"y\">", {"a", "href", "x", "y"}},
        {"text after a closing quote is a new token", "a b=\"c\"d>", {"a", "b", "c", "d"}},
        {"an empty tag has no token", ">", {}},
        {"a declaration's name begins with !c", "!DOCTYPE html>", {"!cOCTYPE", "html"}},
        {"<!- and another byte give !-c", "!-x>", {"!-c"}},
        {"a CDATA section is a declaration", "![CDATA[a b]]>", {"!cCDATA[a", "b]]"}},
        {"a Shift_JIS value", "img alt=\"" + Sjis("画像") + "\">", {"img", "alt", Sjis("画像")}},
        {"a lead byte before the closing quote takes it as its second byte",
         "a t=\"\x81\">x\">",
         {"a", "t", "\x81\">x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}}) {
            Parsed parsed = Parse(c.tag, piece);
            EXPECT_EQ(parsed.result, TagParser::Result::kTag) << "pieces of " << piece;
            EXPECT_EQ(parsed.tokens, c.tokens) << "pieces of " << piece;
            EXPECT_EQ(parsed.taken, c.tag.size()) << "pieces of " << piece;
        }
    }
}

TEST(TagParser, CommentsCompleteWithoutTokens) {
    for (std::string comment : {"!-- a > b -->", "!---->", "!-- x --->", "!-- -- - -->"}) {
        for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
            Parsed parsed = Parse(comment + "rest", piece);
            EXPECT_EQ(parsed.result, TagParser::Result::kComment) << comment;
            EXPECT_EQ(parsed.taken, comment.size()) << comment;
        }
    }
    EXPECT_EQ(Parse("!-- a -> b").result, TagParser::Result::kIncomplete);
}

TEST(TagParser, StopsRightAfterTheClosingByte) {
    Parsed parsed = Parse("p>after");
    EXPECT_EQ(parsed.taken, 2u);
    EXPECT_EQ(parsed.result, TagParser::Result::kTag);
    EXPECT_EQ(Parse("a href=\"x").result, TagParser::Result::kIncomplete);
}

TEST(TagParser, CountsAtMostAThousandTokens) {
    std::string tag = "x";
    for (int i = 0; i < 1500; ++i) {
        tag += " t" + std::to_string(i);
    }
    Parsed parsed = Parse(tag + ">");
    ASSERT_EQ(parsed.tokens.size(), 1000u);
    EXPECT_EQ(parsed.tokens[999], "t998");
    // A quoted value closing at the limit counts no further either.
    Parsed quoted = Parse(tag + " v=\"w\">");
    EXPECT_EQ(quoted.tokens.size(), 1000u);
}

TEST(TagParser, KeepsAtMost65535BytesOfTagText) {
    // "a", NUL, "v", NUL and 65,531 bytes of the value fill the tag text.
    Parsed parsed = Parse("a v=\"" + std::string(70000, 'x') + "\" w=y>");
    ASSERT_EQ(parsed.result, TagParser::Result::kTag);
    ASSERT_GE(parsed.tokens.size(), 3u);
    EXPECT_EQ(parsed.tokens[2], std::string(65531, 'x'));
    for (std::size_t i = 3; i < parsed.tokens.size(); ++i) {
        EXPECT_EQ(parsed.tokens[i], "") << i;
    }
    EXPECT_EQ(parsed.taken, 70000u + 11);
}

}  // namespace
}  // namespace velnora::processing
