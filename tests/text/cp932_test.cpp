#include "text/cp932.h"

#include <gtest/gtest.h>

#include "text/cp932_tables.h"

namespace velnora::text {
namespace {

std::string Encode(std::uint16_t unit) {
    unsigned char out[2];
    UnicodeToShiftJis(unit, out);
    return std::string(reinterpret_cast<char*>(out), 2);
}

TEST(Cp932Table, MainTableIsSortedAndComplete) {
    ASSERT_EQ(kUnicodeToShiftJisMainCount, 7914u);
    for (std::size_t i = 1; i < kUnicodeToShiftJisMainCount; ++i) {
        const CodePair& a = kUnicodeToShiftJisMain[i - 1];
        const CodePair& b = kUnicodeToShiftJisMain[i];
        ASSERT_TRUE(a.unit < b.unit || (a.unit == b.unit && a.code < b.code)) << i;
    }
    for (const CodePair& pair : kUnicodeToShiftJisMain) {
        EXPECT_NE(pair.unit, 0);
        EXPECT_FALSE(pair.code >= 0xF040 && pair.code <= 0xF9FC) << std::hex << pair.code;
        EXPECT_NE(pair.code, 0x80);
        EXPECT_NE(pair.code, 0xA0);
        EXPECT_LT(pair.code, 0xFD00);
        EXPECT_FALSE(pair.code >= 0xFD && pair.code <= 0xFF);
    }
}

TEST(Cp932Table, SpotValues) {
    EXPECT_EQ(Encode(0x3042), "\x82\xA0");  // あ
    EXPECT_EQ(Encode(0x0041), std::string("\0A", 2));
    EXPECT_EQ(Encode(0xFF61), std::string("\0\xA1", 2)) << "half-width katakana are single bytes";
    EXPECT_EQ(Encode(0xFF5E), "\x81\x60");  // full-width tilde
    EXPECT_EQ(Encode(0x3000), "\x81\x40");  // ideographic space
    EXPECT_EQ(Encode(0x2460), "\x87\x40");  // circled digit one
    EXPECT_EQ(Encode(0x00A5), "??") << "the yen sign is in neither table";
    EXPECT_EQ(Encode(0x0000), "??") << "code unit 0 has no entry";
    EXPECT_EQ(Encode(0xE000), "??") << "the user-defined area is left out";
    EXPECT_EQ(Encode(0xD800), "??");
}

TEST(Cp932Table, SupplementCoversWhatTheMainTableLacks) {
    EXPECT_EQ(Encode(0x2014), "\x81\x5C");  // em dash
    EXPECT_EQ(Encode(0x301C), "\x81\x60");  // wave dash
    EXPECT_EQ(Encode(0x2212), "\x81\x7C");  // minus sign
    EXPECT_EQ(Encode(0x00A2), "\x81\x91");
    EXPECT_EQ(Encode(0x00A3), "\x81\x92");
    EXPECT_EQ(Encode(0x00AC), "\x81\xCA");
    EXPECT_EQ(Encode(0x2016), "\x81\x61");
}

TEST(Cp932Table, DuplicatesGiveTheLowestCode) {
    // ∵ U+2235 is 0x81E6 and again 0x879A (NEC row 13) and 0xFA5B (IBM extension).
    EXPECT_EQ(Encode(0x2235), "\x81\xE6");
    // Small roman numeral one U+2170 is 0xEEEF (NEC-selected IBM) and 0xFA40 (IBM).
    EXPECT_EQ(Encode(0x2170), "\xEE\xEF");
}

TEST(Cp932Decode, SingleAndDoubleBytes) {
    EXPECT_EQ(ShiftJisToUnicode(0x41), 0x41);
    EXPECT_EQ(ShiftJisToUnicode(0xB1), 0xFF71);
    EXPECT_EQ(ShiftJisToUnicode(0x82A0), 0x3042);
    EXPECT_EQ(ShiftJisToUnicode(0xFA40), 0x2170);
    EXPECT_FALSE(ShiftJisToUnicode(0x80).has_value());
    EXPECT_FALSE(ShiftJisToUnicode(0xA0).has_value());
    EXPECT_FALSE(ShiftJisToUnicode(0x8240).has_value()) << "an unassigned code";
    EXPECT_FALSE(ShiftJisToUnicode(0x813F).has_value()) << "a second byte below 0x40";
}

TEST(Cp932Decode, EveryMainTableEntryRoundTrips) {
    for (const CodePair& pair : kUnicodeToShiftJisMain) {
        ASSERT_EQ(ShiftJisToUnicode(pair.code), pair.unit) << std::hex << pair.code;
    }
}

TEST(Cp932Text, Utf8ConversionsBothWays) {
    std::string sjis = "A\x82\xA0\xB1";  // A あ ｱ
    EXPECT_EQ(ShiftJisToUtf8(sjis), "Aあｱ");
    EXPECT_EQ(Utf8ToShiftJis("Aあｱ"), sjis);
    int unmapped = 0;
    EXPECT_EQ(ShiftJisToUtf8("a\x82", &unmapped), "a\xEF\xBF\xBD") << "a lead byte at the end";
    EXPECT_EQ(unmapped, 1);
    unmapped = 0;
    EXPECT_EQ(Utf8ToShiftJis("x😀y", &unmapped), "x?y");
    EXPECT_EQ(unmapped, 1);
    EXPECT_EQ(Utf8ToShiftJis("\xE3\x81"), "??") << "a truncated sequence, byte by byte";
    EXPECT_EQ(Utf8ToShiftJis("\xC0\xAF"), "??") << "an overlong form is refused";
}

TEST(Cp932Text, StrictFormsRefuseWhatHasNoCounterpart) {
    EXPECT_EQ(ShiftJisToUtf8Strict("\x83\x6A\x83\x85\x81\x5B\x83\x58"), "ニュース");
    EXPECT_FALSE(ShiftJisToUtf8Strict("bad\x80").has_value());
    EXPECT_FALSE(Utf8ToShiftJisStrict("caf\xC3\xA9").has_value()) << "é has no Shift_JIS form";
    EXPECT_EQ(Utf8ToShiftJisStrict("新規フォルダ"),
              "\x90\x56\x8B\x4B\x83\x74\x83\x48\x83\x8B\x83\x5F");
}

TEST(Cp932Text, Utf16ForTheWidgets) {
    EXPECT_EQ(ShiftJisToUtf16("A\x82\xA0"), u"Aあ");
    EXPECT_EQ(Utf16ToShiftJis(u"Aあ"), "A\x82\xA0");
    EXPECT_EQ(Utf16ToShiftJis(u"\U0001F600"), "?") << "a surrogate pair is one character";
    EXPECT_EQ(Utf16ToShiftJis(std::u16string(1, char16_t(0xDC00))), "?");
}

}  // namespace
}  // namespace velnora::text
