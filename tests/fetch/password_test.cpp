#include "fetch/password.h"

#include <gtest/gtest.h>

#include <set>

#include "fetch/base64.h"
#include "support/sjis.h"

namespace velnora::fetch {
namespace {

std::uint32_t BigEndian(std::string_view hex, std::size_t at) {
    return static_cast<std::uint32_t>(std::stoul(std::string(hex.substr(at, 8)), nullptr, 16));
}

std::string KeyBytes(std::string_view hex) {
    std::string key;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        key.push_back(static_cast<char>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return key;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
    }
    return value;
}

std::string_view ProgramKey() {
    return std::string_view(reinterpret_cast<const char*>(kPasswordKey.data()),
                            kPasswordKey.size());
}

TEST(Blowfish, MatchesThePublishedTestVectors) {
    // Key, plaintext and ciphertext as published, blocks in big-endian halves.
    const char* const rows[][3] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        std::string key = KeyBytes(row[0]);
        std::uint32_t left = BigEndian(row[1], 0);
        std::uint32_t right = BigEndian(row[1], 8);
        ASSERT_TRUE(BlowfishEncipher(key, left, right));
        EXPECT_EQ(left, BigEndian(row[2], 0));
        EXPECT_EQ(right, BigEndian(row[2], 8));
        ASSERT_TRUE(BlowfishDecipher(key, left, right));
        EXPECT_EQ(left, BigEndian(row[1], 0));
        EXPECT_EQ(right, BigEndian(row[1], 8));
    }
    std::uint32_t left = 1;
    std::uint32_t right = 2;
    EXPECT_FALSE(BlowfishEncipher("", left, right));
    EXPECT_FALSE(BlowfishEncipher(std::string(57, 'k'), left, right));
    EXPECT_EQ(left, 1u);
    EXPECT_EQ(right, 2u);
}

TEST(ScramblePassword, BlocksChainBytesFourToSevenFromTheFiller) {
    const std::array<unsigned char, 8> filler = {1, 2, 3, 4, 0xA1, 0xB2, 0xC3, 0xD4};
    std::string stored = ScramblePassword("abcde", filler);
    ASSERT_EQ(stored.size(), 24u);
    std::string bytes = DecodeBase64(stored);
    ASSERT_EQ(bytes.size(), 16u);

    // Block 0: "abcd" and the filler's bytes 4-7, halves read little-endian.
    std::uint32_t left = LittleEndian(bytes, 0);
    std::uint32_t right = LittleEndian(bytes, 4);
    ASSERT_TRUE(BlowfishDecipher(ProgramKey(), left, right));
    EXPECT_EQ(left, LittleEndian("abcd", 0));
    EXPECT_EQ(right, 0xD4C3B2A1u);

    // Block 1: "e" and three zero bytes, then block 0's enciphered bytes 4-7.
    left = LittleEndian(bytes, 8);
    right = LittleEndian(bytes, 12);
    ASSERT_TRUE(BlowfishDecipher(ProgramKey(), left, right));
    EXPECT_EQ(left, static_cast<std::uint32_t>('e'));
    EXPECT_EQ(right, LittleEndian(bytes, 4));
}

TEST(ScramblePassword, StoredFormsOfThisKeyStayReadable) {
    // Pinned: a change of key or layout would make every stored password unreadable.
    const std::array<unsigned char, 8> filler = {0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(ScramblePassword("secret", filler), "zu9DRjfAxoqg9+lr7x+IzA==");
    EXPECT_EQ(UnscramblePassword("zu9DRjfAxoqg9+lr7x+IzA=="), "secret");
}

TEST(ScramblePassword, LengthFollowsTheGroupsOfFourAndRoundTrips) {
    std::string password;
    for (std::size_t n = 1; n <= kMaxPasswordBytes; ++n) {
        password.push_back(static_cast<char>('!' + n));
        std::string stored = ScramblePassword(password);
        // 8 bytes for every started group of 4, in Base64.
        std::size_t bytes = (n + 3) / 4 * 8;
        EXPECT_EQ(stored.size(), (bytes + 2) / 3 * 4) << n;
        EXPECT_EQ(UnscramblePassword(stored), password) << n;
    }
    EXPECT_EQ(ScramblePassword("abcd").size(), 12u);
    EXPECT_EQ(ScramblePassword("abcde").size(), 24u);
    EXPECT_EQ(ScramblePassword(std::string(72, 'x')).size(), 192u);
    std::string japanese = test::Sjis("パスワード表");
    EXPECT_EQ(UnscramblePassword(ScramblePassword(japanese)), japanese);
}

TEST(ScramblePassword, ScramblingsDifferAndAllUnscrambleToThePassword) {
    std::set<std::string> forms;
    for (int i = 0; i < 20; ++i) {
        std::string stored = ScramblePassword("hunter2");
        EXPECT_EQ(UnscramblePassword(stored), "hunter2");
        forms.insert(stored);
    }
    EXPECT_EQ(forms.size(), 20u);
}

TEST(ScramblePassword, EmptyPasswordIsEmptyTextAndTheOtherWayRound) {
    EXPECT_EQ(ScramblePassword(""), "");
    EXPECT_EQ(UnscramblePassword(""), "");
    EXPECT_EQ(ScramblePassword(std::string_view("\0abc", 4)), "") << "ends at its zero byte";
    EXPECT_EQ(UnscramblePassword(ScramblePassword(std::string_view("ab\0cd", 5))), "ab");
}

TEST(ScramblePassword, OverlongPasswordIsCutToWhatTheFieldHolds) {
    std::string long_password(100, 'q');
    EXPECT_EQ(UnscramblePassword(ScramblePassword(long_password)), std::string(72, 'q'));
    // "表" is two bytes; 71 bytes and one character do not fit in 72.
    std::string mixed = std::string(71, 'q') + test::Sjis("表");
    EXPECT_EQ(UnscramblePassword(ScramblePassword(mixed)), std::string(71, 'q'));
}

TEST(UnscramblePassword, IgnoresAnIncompleteLastBlock) {
    std::string bytes = DecodeBase64(ScramblePassword("abcdefgh"));
    ASSERT_EQ(bytes.size(), 16u);
    for (std::size_t cut = 8; cut < 16; ++cut) {
        EXPECT_EQ(UnscramblePassword(EncodeBase64(bytes.substr(0, cut))), "abcd") << cut;
    }
    EXPECT_EQ(UnscramblePassword(EncodeBase64(bytes.substr(0, 7))), "");
}

TEST(UnscramblePassword, AnyStoredTextGivesABoundedResult) {
    const std::string rows[] = {
        "!!!!",
        "not base64 at all",
        "====",
        std::string("\xFF\x00\x81\x40", 4),
        std::string(192, 'A'),
        std::string(100001, '/'),
    };
    for (const std::string& stored : rows) {
        std::string password = UnscramblePassword(stored);
        EXPECT_LE(password.size(), stored.size() / 2 + 4);
        EXPECT_EQ(password.find('\0'), std::string::npos);
    }
}

}  // namespace
}  // namespace velnora::fetch
