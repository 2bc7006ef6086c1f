#include "text/fold_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace velnora::text {
namespace {

TEST(FoldTables, GeneratedCountsAndSpotValues) {
    int mapped = static_cast<int>(std::count_if(std::begin(kSingleByteFullWidth),
                                                std::end(kSingleByteFullWidth),
                                                [](std::uint16_t code) { return code != 0; }));
    EXPECT_EQ(mapped, 95 + 63) << "the printable ASCII characters and the half-width kana";
    const std::pair<unsigned char, std::uint16_t> spots[] = {
        {' ', 0x8140},  {'A', 0x8260},  {'a', 0x8260},  {'z', 0x8279},
        {'0', 0x824F},  {'-', 0x817C},  {0xA1, 0x8142}, {0xB1, 0x8341},
        {0xB6, 0x834A}, {0xCA, 0x836E}, {0xDD, 0x8393}, {0xDE, 0x814A},
        {0xDF, 0x814B}, {'\t', 0},      {0x80, 0},      {0x81, 0},
    };
    for (auto [byte, code] : spots) {
        EXPECT_EQ(kSingleByteFullWidth[byte], code) << std::hex << int{byte};
    }
    EXPECT_EQ(kFullWidthUpperCase[0].from, 0x8281);
    EXPECT_EQ(kFullWidthUpperCase[0].to, 0x8260);
    EXPECT_EQ(kFullWidthUpperCase[kFullWidthUpperCaseCount - 1].from, 0x829A);
    EXPECT_EQ(kFullWidthUpperCase[kFullWidthUpperCaseCount - 1].to, 0x8279);
}

TEST(FoldTables, FullWidthCapitalChangesOnlySmallLatinLetters) {
    EXPECT_EQ(FullWidthCapital(0x8281), 0x8260);  // ａ
    EXPECT_EQ(FullWidthCapital(0x829A), 0x8279);  // ｚ
    EXPECT_EQ(FullWidthCapital(0x8260), 0x8260);  // Ａ stays
    EXPECT_EQ(FullWidthCapital(0x8280), 0x8280);  // between the ranges: no letter
    EXPECT_EQ(FullWidthCapital(0x83BF), 0x83BF);  // α: only Latin letters are folded
    EXPECT_EQ(FullWidthCapital(0x82A0), 0x82A0);  // ぁ
}

}  // namespace
}  // namespace velnora::text
