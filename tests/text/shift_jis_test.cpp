#include "text/shift_jis.h"

#include <gtest/gtest.h>

#include "support/sjis.h"

namespace velnora::text {
namespace {

TEST(ShiftJis, LeadByteRanges) {
    EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(0x80)));
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(0x81)));
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(0x9F)));
    EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(0xA0)));
    EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(0xDF)));
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(0xE0)));
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(0xFC)));
    EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(0xFD)));
}

TEST(ShiftJis, ScansSkipTheSecondByteOfACharacter) {
    // 表 is 0x95 0x5C: its second byte is a backslash.
    std::string text = test::Sjis("表") + "\\x";
    EXPECT_EQ(FindByte(text, '\\'), 2u);
    EXPECT_EQ(FindLastByte(test::Sjis("表"), '\\'), std::string::npos);
    // ソ is 0x83 0x5C.
    EXPECT_EQ(FindLastByte("a\\" + test::Sjis("ソ"), '\\'), 1u);
}

TEST(ShiftJis, CompareNoCaseFoldsOnlySingleByteLetters) {
    EXPECT_EQ(CompareNoCase("News", "NEWS"), 0);
    EXPECT_LT(CompareNoCase("A", "b"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    // ア is 0x83 0x41 and ビ is 0x83 0x72: second bytes that look like A and r are not folded.
    std::string a = test::Sjis("ア");
    std::string a_lowered = "\x83\x61";
    EXPECT_NE(CompareNoCase(a, a_lowered), 0);
}

TEST(ShiftJis, CharacterBoundaryStopsBeforeAHalfCharacter) {
    std::string text = "a" + test::Sjis("あ") + "b";
    EXPECT_EQ(CharacterBoundary(text, 1), 1u);
    EXPECT_EQ(CharacterBoundary(text, 2), 1u);
    EXPECT_EQ(CharacterBoundary(text, 3), 3u);
    EXPECT_EQ(CharacterBoundary(text, 99), 4u);
}

}  // namespace
}  // namespace velnora::text
