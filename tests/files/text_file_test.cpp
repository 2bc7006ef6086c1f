#include "files/text_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

namespace velnora::files {
namespace {

std::vector<std::string> ReadAll(std::string_view path, std::size_t buffer_size) {
    TextReader reader;
    EXPECT_TRUE(reader.Open(path));
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line, buffer_size)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextFile, WritingTurnsLineFeedsIntoCrLf) {
    test::TempDir dir;
    TextWriter writer;
    ASSERT_TRUE(writer.Open(dir / "new.txt"));
    ASSERT_TRUE(writer.Write("\nfirst\nsecond"));
    ASSERT_TRUE(writer.Write("\n\nlast"));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(test::ReadBytes(dir / "new.txt"), "\r\nfirst\r\nsecond\r\n\r\nlast");
}

TEST(TextFile, ReadingTurnsCrLfBackAndKeepsALoneCr) {
    test::TempDir dir;
    test::WriteBytes(dir / "a.txt", "one\r\ntwo\rhalf\nthree\r\n\r\nend");
    EXPECT_EQ(ReadAll(dir / "a.txt", kLineBufferSize),
              (std::vector<std::string>{"one\n", "two\rhalf\n", "three\n", "\n", "end"}));
}

TEST(TextFile, ByteOneAFIsAnOrdinaryByte) {
    test::TempDir dir;
    test::WriteBytes(dir / "a.txt",
                     "a\x1A"
                     "b\r\nc");
    EXPECT_EQ(ReadAll(dir / "a.txt", kLineBufferSize), (std::vector<std::string>{"a\x1A"
                                                                                 "b\n",
                                                                                 "c"}));
}

TEST(TextFile, LongLinesComeBackInPieces) {
    test::TempDir dir;
    test::WriteBytes(dir / "a.txt", "abcdefg\r\nxy");
    EXPECT_EQ(ReadAll(dir / "a.txt", 4), (std::vector<std::string>{"abc", "def", "g\n", "xy"}));
    std::string big(70000, 'x');
    test::WriteBytes(dir / "b.txt", big + "\r\n");
    auto lines = ReadAll(dir / "b.txt", kLineBufferSize);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 65536u);
    EXPECT_EQ(lines[1], std::string(70000 - 65536, 'x') + "\n");
}

TEST(TextFile, CrLfSplitAcrossReadBlocksIsOneLineFeed) {
    test::TempDir dir;
    // The reader fills 65,536 bytes at a time: put the CR at the end of the first block.
    std::string text = std::string(65535, 'a') + "\r\nb";
    test::WriteBytes(dir / "a.txt", text);
    auto lines = ReadAll(dir / "a.txt", 1 << 20);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(65535, 'a') + "\n");
    EXPECT_EQ(lines[1], "b");
}

}  // namespace
}  // namespace velnora::files
