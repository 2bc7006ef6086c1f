#include "text/bounded_string.h"

#include <gtest/gtest.h>

#include "support/sjis.h"

namespace velnora::text {
namespace {

TEST(BoundedString, CopyFitsOnlyBelowTheBufferSize) {
    std::string buffer = "old";
    EXPECT_EQ(BoundedCopy(buffer, 5, "abcd"), 0);
    EXPECT_EQ(buffer, "abcd");
    EXPECT_EQ(BoundedCopy(buffer, 5, "abcde"), -1);
    EXPECT_EQ(buffer, "abcd") << "a refused copy leaves the buffer unchanged";
}

TEST(BoundedString, RefusedAppendLeavesTheBufferUnchanged) {
    std::string buffer = "dir";
    EXPECT_EQ(BoundedAppend(buffer, 9, "/abcd"), 0);
    EXPECT_EQ(buffer, "dir/abcd");
    buffer = "dir";
    EXPECT_EQ(BoundedAppend(buffer, 9, "/abcde"), -1);
    EXPECT_EQ(buffer, "dir");
}

TEST(BoundedString, AppendNTakesAtMostNBytes) {
    std::string buffer = "a";
    EXPECT_EQ(BoundedAppendN(buffer, 10, "bcdef", 2), 0);
    EXPECT_EQ(buffer, "abc");
    EXPECT_EQ(BoundedAppendN(buffer, 5, "defgh", 2), -1) << "abcde needs a buffer of 6";
    EXPECT_EQ(buffer, "abc");
}

TEST(BoundedString, MultiPieceFormsKeepThePiecesAlreadyAppended) {
    std::string buffer = "x";
    EXPECT_EQ(BoundedAppendAll(buffer, 6, {"ab", "cd", "ef"}), -1);
    EXPECT_EQ(buffer, "xabcd");
    EXPECT_EQ(BoundedJoin(buffer, 6, {"12", "34", "56"}), -1);
    EXPECT_EQ(buffer, "1234");
    EXPECT_EQ(BoundedJoin(buffer, 7, {"12", "34", "56"}), 0);
    EXPECT_EQ(buffer, "123456");
}

TEST(BoundedString, PathBufferHoldsTwoHundredSixtyBytes) {
    std::string path;
    EXPECT_EQ(BoundedJoin(path, kPathSize, {std::string(250, 'd'), "/", "index.txt"}), 0);
    EXPECT_EQ(path.size(), 260u);
    EXPECT_EQ(BoundedJoin(path, kPathSize, {std::string(251, 'd'), "/", "index.txt"}), -1);
}

TEST(BoundedString, CutToBufferNeverSplitsACharacter) {
    EXPECT_EQ(CutToBuffer("abcdef", 4), "abc");
    EXPECT_EQ(CutToBuffer("abc", 4), "abc");
    std::string kana = test::Sjis("あいう");  // six bytes
    EXPECT_EQ(CutToBuffer(kana, 5), test::Sjis("あい"));
    EXPECT_EQ(CutToBuffer(kana, 4), test::Sjis("あ")) << "the lead byte of い alone is dropped";
    EXPECT_EQ(CutToBuffer("a" + kana, 4), "a" + test::Sjis("あ"));
    EXPECT_EQ(CutToBuffer("a" + kana, 3), "a");
}

}  // namespace
}  // namespace velnora::text
