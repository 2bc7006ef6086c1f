#include "processing/line_alignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace velnora::processing {
namespace {

std::vector<std::string> Letters(std::string_view text) {
    std::vector<std::string> lines;
    for (char c : text) {
        lines.emplace_back(1, c);
    }
    return lines;
}

std::vector<std::uint16_t> Added(const std::vector<std::string>& old_lines,
                                 const std::vector<std::string>& new_lines,
                                 AlignmentRules rules = {}) {
    std::vector<std::string_view> a(old_lines.begin(), old_lines.end());
    std::vector<std::string_view> b(new_lines.begin(), new_lines.end());
    return AlignLines(a, b, rules);
}

std::size_t LongestCommonSubsequence(const std::vector<std::string>& a,
                                     const std::vector<std::string>& b) {
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The added lines are ascending, and the new lines that are not added appear in the old side in
// the same order (so they can all be matched).
::testing::AssertionResult IsShortestScript(const std::vector<std::string>& a,
                                            const std::vector<std::string>& b,
                                            const std::vector<std::uint16_t>& added) {
    if (added.size() != b.size() - LongestCommonSubsequence(a, b)) {
        return ::testing::AssertionFailure() << added.size() << " lines added";
    }
    if (!std::is_sorted(added.begin(), added.end()) ||
        std::adjacent_find(added.begin(), added.end()) != added.end()) {
        return ::testing::AssertionFailure() << "not ascending";
    }
    std::size_t next = 0;
    for (std::size_t j = 1; j <= b.size(); ++j) {
        if (std::binary_search(added.begin(), added.end(), j)) {
            continue;
        }
        while (next < a.size() && a[next] != b[j - 1]) {
            ++next;
        }
        if (next == a.size()) {
            return ::testing::AssertionFailure() << "new line " << j << " has no counterpart";
        }
        ++next;
    }
    return ::testing::AssertionSuccess();
}

TEST(AlignLines, FindsTheInsertedLines) {
    using V = std::vector<std::uint16_t>;
    EXPECT_EQ(Added(Letters("ABE"), Letters("AXBE")), V{2});
    EXPECT_EQ(Added(Letters("ABC"), Letters("ABC")), V{});
    EXPECT_EQ(Added(Letters("ABC"), Letters("XYZ")), (V{1, 2, 3}));
    EXPECT_EQ(Added(Letters("ABC"), Letters("B")), V{}) << "removed lines are not reported";
    EXPECT_EQ(Added(Letters("AB"), Letters("BA")).size(), 1u) << "a swap adds one of the two";
    EXPECT_EQ(Added(Letters("A"), Letters("AAAA")).size(), 3u);
}

// Every pair of sides of up to five lines over three different lines.
TEST(AlignLines, ShortestForEverySmallPair) {
    std::vector<std::vector<std::string>> sides;
    for (int length = 1; length <= 5; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i) {
            count *= 3;
        }
        for (int n = 0; n < count; ++n) {
            std::string text;
            for (int i = 0, rest = n; i < length; ++i, rest /= 3) {
                text.push_back(static_cast<char>('a' + rest % 3));
            }
            sides.push_back(Letters(text));
        }
    }
    for (const auto& a : sides) {
        for (const auto& b : sides) {
            ASSERT_TRUE(IsShortestScript(a, b, Added(a, b)))
                << ::testing::PrintToString(a) << " " << ::testing::PrintToString(b);
        }
    }
}

TEST(AlignLines, ShortestForRandomSides) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        int letters = 2 + static_cast<int>(random() % 8);
        std::vector<std::string> a(1 + random() % 120);
        std::vector<std::string> b(1 + random() % 120);
        for (auto& line : a) {
            line = std::string(1, static_cast<char>('a' + random() % letters));
        }
        for (auto& line : b) {
            line = std::string(1, static_cast<char>('a' + random() % letters));
        }
        ASSERT_TRUE(IsShortestScript(a, b, Added(a, b))) << "round " << round;
    }
}

TEST(AlignLines, FullSidesOfTwoThousandLines) {
    std::vector<std::string> a(2000);
    std::vector<std::string> b(2000);
    for (int i = 0; i < 2000; ++i) {
        a[i] = "old " + std::to_string(i);
        b[i] = "new " + std::to_string(i);
    }
    EXPECT_EQ(Added(a, b).size(), 2000u) << "nothing in common: the largest search";
    b = a;
    for (int i = 0; i < 2000; i += 10) {
        b[i] = "changed " + std::to_string(i);
    }
    EXPECT_TRUE(IsShortestScript(a, b, Added(a, b)));
}

}  // namespace
}  // namespace velnora::processing
