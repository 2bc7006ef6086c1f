#include "search/normalise.h"

#include <gtest/gtest.h>

#include "search/line_filter.h"
#include "support/sjis.h"

namespace velnora::search {
namespace {

using test::Sjis;

bool Finds(std::string_view pattern_utf8, std::string_view text_utf8) {
    std::u16string pattern;
    std::u16string text;
    Normalise(Sjis(pattern_utf8), pattern);
    Normalise(Sjis(text_utf8), text);
    return ContainsNormalised(text, pattern);
}

bool FindsBytes(std::string_view pattern, std::string_view text) {
    std::u16string folded_pattern;
    std::u16string folded_text;
    Normalise(pattern, folded_pattern);
    Normalise(text, folded_text);
    return ContainsNormalised(folded_text, folded_pattern);
}

struct MatchCase {
    const char* pattern;
    const char* text;
    bool found;
};

TEST(Normalise, LetterCaseAndWidthDoNotMatterButKanaKindsDo) {
    const MatchCase cases[] = {
        {"abc", "ＡＢＣ", true},           // half-width small letters find full-width capitals
        {"abc", "xAbcx", true},            // and any letter case
        {"ａｂｃ", "ABC", true},           // full-width small letters are capitals too
        {"ＡＢＣ", "abc", true},           //
        {"ｶﾞ", "ガ", true},                // half-width kana with the voiced mark: one character
        {"ガ", "ｶﾞ", true},                //
        {"ﾄﾞ", "ド", true},                // the last of ｶ to ﾄ
        {"ﾊﾞ", "バ", true},                // ﾊ to ﾎ take the voiced mark
        {"ﾎﾟ", "ポ", true},                // and the semi-voiced mark
        {"ｳﾞ", "ヴ", true},                // ｳ with the voiced mark is ヴ
        {"ｶﾟ", "カ゜", true},              // a mark the kana does not take stays a mark
        {"ｶ", "ガ", false},                // a kana without its mark is another kana
        {"ｱｲｳ", "アイウ", true},           //
        {"か", "カ", false},               // hiragana and katakana stay apart
        {"カ", "か", false},               //
        {"1 2", "１　２", true},           // digits and the space have full-width forms
        {"日本", "にっぽん日本語", true},  // other characters as they are
        {"日本語", "日本", false},         // the whole pattern must be there
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(Finds(c.pattern, c.text), c.found) << c.pattern << " in " << c.text;
    }
}

TEST(Normalise, LongVowelMarksAndMinusSignsMatchEachOther) {
    const char* marks[] = {"ー", "－", "ｰ", "-"};
    for (const char* pattern : marks) {
        for (const char* text : marks) {
            EXPECT_TRUE(Finds(std::string("x") + pattern, std::string("x") + text))
                << pattern << " and " << text;
        }
    }
    EXPECT_FALSE(Finds("ー", "―")) << "the dash is no minus";
}

TEST(Normalise, ACharacterWithoutFullWidthFormEndsTheSearchablePart) {
    EXPECT_TRUE(FindsBytes("foo", "foo\tbar"));
    EXPECT_FALSE(FindsBytes("bar", "foo\tbar")) << "a tab ends the line's searchable part";
    EXPECT_TRUE(FindsBytes("foo\tzzz", "a foo b")) << "and the pattern's";
    EXPECT_FALSE(FindsBytes("\tfoo", "foo"))
        << "a pattern with nothing before the tab finds nothing";
    EXPECT_FALSE(FindsBytes("", "foo")) << "an empty pattern finds nothing";
    EXPECT_FALSE(FindsBytes("b", std::string("a\0b", 3)));
    // A lead byte without its second byte ends the text too.
    EXPECT_TRUE(FindsBytes("a", "a\x82"));
    EXPECT_FALSE(FindsBytes("\x82", "a\x82"));
}

TEST(Normalise, MatchesStartOnCharacters) {
    // "アイ" is 83 41 83 43: the bytes "A\x83" lie across its characters but are none of them.
    EXPECT_FALSE(FindsBytes("A\x83\x43", "\x83\x41\x83\x43"));
    EXPECT_TRUE(FindsBytes("\x83\x43", "\x83\x41\x83\x43"));
}

TEST(Normalise, StoredMarkupAndReferencesAreSearchedAsTheyAre) {
    EXPECT_TRUE(FindsBytes("&lt;", "a &lt; b"));
    EXPECT_FALSE(FindsBytes("<", "a &lt; b")) << "references are not decoded first";
    EXPECT_TRUE(FindsBytes("href", "<a href=\"http://example.com/\">x</a>"));
}

}  // namespace
}  // namespace velnora::search

namespace velnora::search {
namespace {

TEST(LineFilter, NeverPassesOverALineThatHoldsThePattern) {
    // Every character, written every way, in a line of its own and inside other text: the
    // filter of its folded form lets it through.
    std::vector<std::string> characters;
    for (int byte = 0x20; byte < 0x100; ++byte) {
        characters.emplace_back(1, static_cast<char>(byte));
        characters.push_back(std::string(1, static_cast<char>(byte)) + "\xDE");
        characters.push_back(std::string(1, static_cast<char>(byte)) + "\xDF");
    }
    for (int lead : {0x81, 0x82, 0x83, 0x88, 0x9F, 0xE0, 0xEE, 0xFA}) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            characters.push_back({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    std::u16string folded;
    std::u16string pattern;
    int checked = 0;
    for (const std::string& character : characters) {
        Normalise(character, pattern);
        if (pattern.empty()) {
            continue;
        }
        pattern.resize(1);
        LineFilter filter(pattern);
        for (const std::string& line : {character, "ab " + character + Sjis(" 日本")}) {
            Normalise(line, folded);
            if (ContainsNormalised(folded, pattern)) {
                ++checked;
                EXPECT_TRUE(filter.MayContain(line)) << test::Utf8(line);
            }
        }
    }
    EXPECT_GT(checked, 2000);
}

TEST(LineFilter, PassesOverLinesWithoutTheRarestCharacter) {
    std::u16string pattern;
    Normalise(Sjis("見つからない"), pattern);
    LineFilter filter(pattern);
    EXPECT_FALSE(filter.MayContain(Sjis("つからない")));
    EXPECT_TRUE(filter.MayContain(Sjis("見")));
    Normalise(Sjis("abc"), pattern);
    LineFilter letters(pattern);
    EXPECT_TRUE(letters.MayContain(Sjis("xＢ")));
    EXPECT_FALSE(letters.MayContain(Sjis("xyz")));
    EXPECT_TRUE(LineFilter(std::u16string()).MayContain("anything"));
}

}  // namespace
}  // namespace velnora::search
