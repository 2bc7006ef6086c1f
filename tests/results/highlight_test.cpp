#include "results/highlight.h"

#include <gtest/gtest.h>

#include "results/results_support.h"
#include "results/text_find.h"

namespace velnora::results {
namespace {

using test::Sjis;

std::vector<std::pair<std::size_t, std::size_t>> Hits(std::string_view text_utf8,
                                                      std::string_view keyword_utf8,
                                                      std::size_t from = 0) {
    ResultDocument document;
    document.AppendText(Sjis(text_utf8));
    HighlightKeyword(document, from, Sjis(keyword_utf8));
    std::vector<std::pair<std::size_t, std::size_t>> hits;
    for (const HighlightHit& hit : document.Highlights()) {
        hits.emplace_back(hit.start, hit.end);
    }
    return hits;
}

using Hit = std::pair<std::size_t, std::size_t>;
using HitList = std::vector<Hit>;

TEST(HighlightKeyword, FindsEveryOccurrenceWithoutRegardToAsciiCase) {
    EXPECT_EQ(Hits("News and NEWS, news", "news"), (HitList{{0, 4}, {9, 13}, {15, 19}}));
    EXPECT_EQ(Hits("aaa", "AA"), (HitList{{0, 2}, {1, 3}})) << "occurrences may overlap";
    EXPECT_EQ(Hits("abc abc", "abc", 1), (HitList{{4, 7}})) << "the search starts at `from`";
    EXPECT_EQ(Hits("abc", "abcd"), HitList{});
    EXPECT_EQ(Hits("abc", ""), HitList{});
}

TEST(HighlightKeyword, MatchesWholeDoubleByteCharactersOnly) {
    // Positions count characters: 更新 is found at 2, not at byte offset 2.
    EXPECT_EQ(Hits("本日更新しました", "更新"), (HitList{{2, 4}}));
    // ア is 0x83 0x41: its second byte is not the letter A, and 0x83 0x61 (a different
    // character) is not ア in another case.
    EXPECT_EQ(Hits("アA", "a"), (HitList{{1, 2}}));
    ResultDocument document;
    document.AppendText(Sjis("ア"));
    HighlightKeyword(document, 0, "\x83\x61");
    EXPECT_TRUE(document.Highlights().empty());
    // ー is 0x81 0x5B; a keyword "[" must not match its second byte.
    EXPECT_EQ(Hits("ー[", "["), (HitList{{1, 2}}));
    // Full-width letters are other characters than ASCII ones.
    EXPECT_EQ(Hits("ＡＢＣ abc", "abc"), (HitList{{4, 7}}));
    // but full-width letters ignore case among themselves.
    EXPECT_EQ(Hits("ａｂｃ and ＡＢＣ", "Ａｂｃ"), (HitList{{0, 3}, {8, 11}}));
}

TEST(FindNoCase, FindsTheFirstOccurrenceFromAPosition) {
    ResultDocument document;
    document.AppendText(Sjis("検索 Find find ＦＩＮＤ"));
    document.AppendLink("http://e.com/", "FIND", false);
    struct Case {
        std::size_t from;
        const char* pattern;
        std::optional<FoundRange> found;
    };
    const Case cases[] = {
        {0, "find", FoundRange{3, 7}},    // letter case ignored
        {4, "find", FoundRange{8, 12}},   // one position after a match's start: the next one
        {9, "find", FoundRange{17, 21}},  // not ＦＩＮＤ; link text is text too
        {0, "ｆｉｎｄ", FoundRange{13, 17}}, {18, "find", std::nullopt},
        {0, "検索", FoundRange{0, 2}},       {0, "", std::nullopt},
        {100, "find", std::nullopt},
    };
    for (const Case& c : cases) {
        auto found = FindNoCase(document, c.from, Sjis(c.pattern));
        ASSERT_EQ(found.has_value(), c.found.has_value()) << c.pattern << " from " << c.from;
        if (found) {
            EXPECT_EQ(found->start, c.found->start) << c.pattern << " from " << c.from;
            EXPECT_EQ(found->end, c.found->end) << c.pattern << " from " << c.from;
        }
    }
}

TEST(HighlightKeyword, FullWidthGreekAndCyrillicLettersMatchInEitherCase) {
    struct Case {
        const char* text;
        const char* keyword;
        HitList hits;
    };
    const Case cases[] = {
        {"ＮＥＷＳとｎｅｗｓ", "ｎｅｗｓ", {{0, 4}, {5, 9}}},
        {"ｎｅｗｓ", "ＮＥＷＳ", {{0, 4}}},
        {"ＡＺａｚ", "ａｚ", {{0, 2}, {2, 4}}},  // the first and last letters of the range
        {"ΑΩαω", "αω", {{0, 2}, {2, 4}}},
        {"АЯЁаяё", "ая", {{0, 2}, {3, 5}}},  // а-н and о-я lie on both sides of 0x847F
        {"ОНон", "ОН", {{0, 2}, {2, 4}}},
        {"ＡＢＣ abc", "abc", {{4, 7}}},  // width still counts
        {"ア", "ぁ", {}},                 // kana have no case
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hits(c.text, c.keyword), c.hits) << c.text << " / " << c.keyword;
    }
}

}  // namespace
}  // namespace velnora::results
