#include "processing/char_refs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "processing/char_ref_table.h"
#include "support/sjis.h"
#include "text/cp932.h"

namespace velnora::processing {
namespace {

using test::Sjis;

std::string Decoded(std::string line) {
    DecodeCharRefs(line);
    return line;
}

std::string Converted(std::uint16_t code) {
    unsigned char bytes[2];
    text::UnicodeToShiftJis(code, bytes);
    std::string out;
    if (bytes[0] != 0) {
        out.push_back(static_cast<char>(bytes[0]));
    }
    out.push_back(static_cast<char>(bytes[1]));
    return out;
}

// The shortest reference that reaches a row: "&name", "&#decimal" or "&#xhex".
std::size_t ShortestReference(const CharRefRow& row) {
    std::size_t decimal = 2 + std::to_string(row.code).size();
    char hex[8];
    std::size_t hexadecimal =
        3 + static_cast<std::size_t>(std::snprintf(hex, sizeof hex, "%x", row.code));
    std::size_t shortest = std::min(decimal, hexadecimal);
    if (!row.name.empty()) {
        shortest = std::min(shortest, 1 + row.name.size());
    }
    return shortest;
}

TEST(CharRefTable, HoldsTheNamesOnceAndTheUnnamedCodes) {
    auto table = CharRefTable();
    std::set<std::string_view> names;
    std::set<std::uint16_t> codes;
    std::size_t named = 0;
    std::size_t conversions = 0;
    for (const CharRefRow& row : table) {
        if (!row.name.empty()) {
            ++named;
            EXPECT_TRUE(names.insert(row.name).second) << "name twice: " << row.name;
            if (row.replacement == Converted(row.code)) {
                ++conversions;
            }
        }
        EXPECT_TRUE(codes.insert(row.code).second) << "code twice: " << row.code;
    }
    EXPECT_EQ(named, 210u);
    EXPECT_EQ(table.size(), 236u) << "210 names, the bullet's own code, 25 stand-ins";
    EXPECT_EQ(conversions, 102u) << "named rows that carry the code page conversion";
}

TEST(CharRefTable, ReplacementsNeverLengthenALine) {
    for (const CharRefRow& row : CharRefTable()) {
        EXPECT_GE(row.replacement.size(), 1u) << row.code;
        EXPECT_LE(row.replacement.size(), 4u) << row.code;
        EXPECT_LE(row.replacement.size(), ShortestReference(row)) << row.code;
    }
}

TEST(CharRefTable, SpotValues) {
    EXPECT_EQ(CharRefByName("quot"), "\"");
    EXPECT_EQ(CharRefByName("cent"), "\x81\x91") << "through the code page supplement";
    EXPECT_EQ(CharRefByName("yen"), Sjis("￥"));
    EXPECT_EQ(CharRefByName("szlig"), "ss");
    EXPECT_EQ(CharRefByName("lsaquo"), Sjis("〈") + " ");
    EXPECT_EQ(CharRefByName("oline"), Sjis("￣"));
    EXPECT_EQ(CharRefByName("sigmaf"), Sjis("σ"));
    EXPECT_EQ(CharRefByName("harr"), Sjis("←→"));
    EXPECT_EQ(CharRefByName("there4"), Sjis("∴"));
    EXPECT_EQ(CharRefByName("Aring"), "\x81\xf0") << "the angstrom sign";
    EXPECT_FALSE(CharRefByName("euro").has_value()) << "HTML 4 names outside the table";
    EXPECT_FALSE(CharRefByName("AMP").has_value()) << "letter case counts";
    EXPECT_FALSE(CharRefByName("").has_value()) << "unnamed rows are not found by name";

    EXPECT_EQ(CharRefByCode(0x0095), "\xa5");
    EXPECT_EQ(CharRefByCode(0x2022), "\xa5");
    EXPECT_EQ(CharRefByCode(0x2113), Sjis("㍑"));
    EXPECT_EQ(CharRefByCode(0x216B), "XII");
    EXPECT_EQ(CharRefByCode(0x3230), Sjis("(日)"));
    EXPECT_EQ(CharRefByCode(0x3233), Sjis("(社)"));
    EXPECT_FALSE(CharRefByCode(0x3231).has_value()) << "code page 932 has the company sign";
}

struct DecodeCase {
    const char* what;
    std::string line;
    std::string decoded;
};

void ExpectDecoded(const std::vector<DecodeCase>& cases) {
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(Decoded(c.line), c.decoded) << c.what;
    }
}

TEST(DecodeCharRefs, NamedReferencesWithOrWithoutSemicolon) {
    ExpectDecoded({
        {"ampersand", "a&amp;b", "a&b"},
        {"less-than, greater-than", "&lt;b&gt;", "<b>"},
        {"quotation mark", "&quot;x&quot;", "\"x\""},
        {"without their semicolons", "&lt b &gt", "< b >"},
        {"a terminator other than ; stays", "&lt,", "<,"},
        {"a reference ends the next one's name", "&lt&gt;", "<>"},
        {"at the very end of the line", "x&lt", "x<"},
        {"a replacement is not decoded again", "&amp;lt;", "&lt;"},
        {"stand-ins", "&copy;2024 &Auml;&auml;", "(C)2024 Aa"},
        {"wrong letter case stays", "&AUML;", "&AUML;"},
        {"names outside the table stay", "&euro;10", "&euro;10"},
        {"an empty name stays", "&; & &", "&; & &"},
        {"a lone ampersand at the end stays", "a&", "a&"},
        {"Shift_JIS text around it", Sjis("日本&amp;語"), Sjis("日本&語")},
        {"two blanks", "&nbsp;&nbsp;", "  "},
        {"a name with a # inside is no number", "&a#b;", "&a#b;"},
    });
}

TEST(DecodeCharRefs, DoubledAmpersandStandsForOne) {
    ExpectDecoded({
        {"two give one", "&&", "&"},
        {"three give two", "&&&", "&&"},
        {"four give two", "&&&&", "&&"},
        {"the remaining one starts no reference", "&&lt;", "&lt;"},
        {"a reference after the pair is decoded", "&&&lt;", "&<"},
    });
}

TEST(DecodeCharRefs, NumericReferences) {
    ExpectDecoded({
        {"decimal", "&#65;", "A"},
        {"hexadecimal with a lower-case x", "&#x41;", "A"},
        {"hexadecimal digits in either case", "&#x3042;&#x3Fa;", Sjis("あ") + "#x3Fa"},
        {"upper-case X reads as decimal 0, which has no form", "&#X41;", "#X41"},
        {"reading stops at the first unsuitable byte", "&#65abc;", "A"},
        {"taken modulo 65,536", "&#65601;", "A"},
        {"hexadecimal modulo 65,536", "&#x10041;", "A"},
        {"hiragana", "&#12354;", Sjis("あ")},
        {"no Shift_JIS form: the name stays without & and ;", "&#8364;", "#8364"},
        {"no Shift_JIS form, without ;", "&#8364 EUR", "#8364 EUR"},
        {"no digits give 0", "&#; &#x;", "# #x"},
        {"a table row wins over the conversion", "&#12832;", Sjis("(一)")},
        {"a table stand-in for a Latin letter", "&#228;", "a"},
        {"the bullet under both codes", "&#149;&#8226;&bull;", "\xa5\xa5\xa5"},
        {"a half-width katakana is one byte", "&#xFF61;", "\xa1"},
        {"the supplement's characters", "&#x2014;", "\x81\x5c"},
        {"a digit ends a name like a letter", "&#65&#66;", "AB"},
    });
}

TEST(DecodeCharRefs, NameLengthLimit) {
    ExpectDecoded({
        {"nine name bytes are looked up", "&#00000065;", "A"},
        {"ten name bytes are left alone", "&#000000065;", "&#000000065;"},
        {"ten at the end of the line", "&#000000065", "&#000000065"},
        {"nine at the end of the line", "&#00000065", "A"},
        {"a long word after & is not a reference", "&abcdefghijk;x", "&abcdefghijk;x"},
    });
}

TEST(DecodeCharRefs, NeverLengthensAndReachesEveryCode) {
    // Every code, as decimal and hexadecimal reference, with and without ";".
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
        for (const char* format : {"&#%u;", "&#%u", "&#x%x;", "&#x%X"}) {
            char reference[16];
            std::snprintf(reference, sizeof reference, format, code);
            std::string line = std::string(reference) + "-";
            std::size_t before = line.size();
            DecodeCharRefs(line);
            ASSERT_LE(line.size(), before) << reference;
            ASSERT_EQ(line.back(), '-') << reference;
        }
    }
}

}  // namespace
}  // namespace velnora::processing
