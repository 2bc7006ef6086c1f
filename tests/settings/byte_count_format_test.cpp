#include "settings/byte_count_format.h"

#include <gtest/gtest.h>

#include "support/sjis.h"

namespace velnora::settings {
namespace {

using test::Sjis;

struct ByteCountRow {
    std::uint32_t bytes;
    const char* shown;  // UTF-8
};

TEST(ByteCountFormat, ShowsBytesThenApproximateSizeWithExactCount) {
    const ByteCountRow rows[] = {
        {0, "0バイト"},
        {1023, "1023バイト"},             // the last count in plain bytes
        {1024, "1024 B (1,024 バイト)"},  // up to 1024 the approximation is in B
        {1025, "1.0 KB (1,025 バイト)"},  // then KB
        {1536, "1.5 KB (1,536 バイト)"},
        {1048576, "1024.0 KB (1,048,576 バイト)"},  // exactly 1 MB is still KB
        {1048577, "1.0 MB (1,048,577 バイト)"},     // above it, MB
        {1234567890, "1177.4 MB (1,234,567,890 バイト)"},
        {4294967295u, "4096.0 MB (4,294,967,295 バイト)"},  // the counter's largest value
    };
    for (const ByteCountRow& row : rows) {
        EXPECT_EQ(FormatByteCount(row.bytes), Sjis(row.shown)) << row.bytes;
    }
}

TEST(ByteCountFormat, GroupsThousandsWithCommas) {
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(123456), "123,456");
    EXPECT_EQ(GroupThousands(1234567), "1,234,567");
}

TEST(ByteCountFormat, TimeAsMinutesAndSeconds) {
    EXPECT_EQ(FormatMinutesSeconds(0), Sjis("0分 0秒"));
    EXPECT_EQ(FormatMinutesSeconds(75), Sjis("1分 15秒"));
    EXPECT_EQ(FormatMinutesSeconds(3600), Sjis("60分 0秒"));
}

}  // namespace
}  // namespace velnora::settings
