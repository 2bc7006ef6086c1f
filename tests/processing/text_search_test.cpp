#include "processing/text_search.h"

#include <gtest/gtest.h>

#include "processing/encoding.h"

namespace velnora::processing {
namespace {

TEST(ContainsNoCase, FindsTheFirstPlaceIgnoringLetterCase) {
    EXPECT_EQ(ContainsNoCase("Content-Type: text/html; CHARSET=EUC-JP", "charset="), 25u);
    EXPECT_EQ(ContainsNoCase("abc", "abcd"), std::string_view::npos);
    EXPECT_EQ(ContainsNoCase("", "a"), std::string_view::npos);
    EXPECT_EQ(ContainsNoCase("a", ""), std::string_view::npos);
}

TEST(Encoding, CharsetTestsInTheirOrder) {
    EXPECT_EQ(CharsetInText("text/html; charset=EUC-JP"), Encoding::kEucJp);
    EXPECT_EQ(CharsetInText("charset=x-euc-jp"), Encoding::kEucJp);
    EXPECT_EQ(CharsetInText("charset=ISO-2022-JP"), Encoding::kIso2022Jp);
    EXPECT_EQ(CharsetInText("charset=utf-8"), Encoding::kUtf8);
    EXPECT_EQ(CharsetInText("charset=utf-8 charset=euc-jp"), Encoding::kEucJp);
    EXPECT_FALSE(CharsetInText("charset=Shift_JIS").has_value());
    EXPECT_FALSE(CharsetInText("charset = utf-8").has_value());
}

TEST(Encoding, NamesAndStartEncodings) {
    EXPECT_EQ(EncodingByName("UTF-8"), Encoding::kUtf8);
    EXPECT_EQ(EncodingByName("X-EUC-JP"), Encoding::kEucJp);
    EXPECT_FALSE(EncodingByName("utf8").has_value());
    EXPECT_EQ(EncodingForCharsetSel(0), Encoding::kShiftJis);
    EXPECT_EQ(EncodingForCharsetSel(1), Encoding::kShiftJis);
    EXPECT_EQ(EncodingForCharsetSel(2), Encoding::kIso2022Jp);
    EXPECT_EQ(EncodingForCharsetSel(3), Encoding::kEucJp);
    EXPECT_EQ(EncodingForCharsetSel(4), Encoding::kUtf8);
    EXPECT_EQ(EncodingForCharsetSel(7), Encoding::kShiftJis);
}

}  // namespace
}  // namespace velnora::processing
