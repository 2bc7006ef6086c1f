#include "fetch/base64.h"

#include <gtest/gtest.h>

namespace velnora::fetch {
namespace {

TEST(Base64, EncodesTheRfc4648TestVectors) {
    // One byte gives two characters and "==", two give three and "=", three give four.
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(EncodeBase64(bytes), text) << bytes;
        EXPECT_EQ(DecodeBase64(text), bytes) << text;
    }
}

TEST(Base64, EveryByteValueRoundTrips) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(255 - i));
    }
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        std::string_view part = std::string_view(bytes).substr(0, n);
        std::string text = EncodeBase64(part);
        EXPECT_EQ(text.size(), (n + 2) / 3 * 4);
        EXPECT_EQ(DecodeBase64(text), part) << n;
    }
    EXPECT_EQ(EncodeBase64("\xFB\xFF\xBF"), "+/+/");
}

TEST(Base64, DecodingCountsBytesByTheEqualsSignsOfEachGroup) {
    // A short last group is completed with "=".
    EXPECT_EQ(DecodeBase64("Zg"), "f");
    EXPECT_EQ(DecodeBase64("Zm8"), "fo");
    EXPECT_EQ(DecodeBase64("Z"), "d");
    // A group whose third character is "=" and fourth is not keeps all three bytes.
    EXPECT_EQ(DecodeBase64("Zg=A"), std::string("f\0\0", 3));
    // A padded group in the middle keeps its place: the next group's bytes follow its three,
    // and the count (1 + 3) falls short by two.
    EXPECT_EQ(DecodeBase64("QQ==QUJD"), std::string("A\0\0A", 4));
    EXPECT_EQ(DecodeBase64("===="), std::string(1, '\0'));
}

TEST(Base64, CharactersOutsideTheAlphabetCountAsZero) {
    EXPECT_EQ(DecodeBase64("Zm9v!!!!"), std::string("foo\0\0\0", 6));
    EXPECT_EQ(DecodeBase64("Zm9v\r\nYm"), std::string("foo\0\x06&", 6));
    EXPECT_EQ(DecodeBase64(std::string_view("\0\0\0\0", 4)), std::string(3, '\0'));
    std::string high(4000, '\xE9');
    EXPECT_EQ(DecodeBase64(high), std::string(3000, '\0'));
}

}  // namespace
}  // namespace velnora::fetch
