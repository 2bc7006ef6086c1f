#include <gtest/gtest.h>

#include "store/clear_page_logs.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "support/temp_dir.h"

namespace velnora::store {
namespace {

TEST(LogRing, NextSlotWrapsAndSendsOutOfRangeIndexesToZero) {
    EXPECT_EQ(NextSlot(0), 1);
    EXPECT_EQ(NextSlot(23), 24);
    EXPECT_EQ(NextSlot(24), 0);
    EXPECT_EQ(NextSlot(25), 0) << "an index.txt holding 25 or more files into slot 0";
    EXPECT_EQ(NextSlot(99), 0);
}

TEST(LogRing, SlotsBeforeWrapFromZeroToTwentyFour) {
    // For index 1 the newest, 2nd, 3rd and 4th newest update texts are 1, 0, 24, 23.
    EXPECT_EQ(SlotBefore(1, 0), 1);
    EXPECT_EQ(SlotBefore(1, 1), 0);
    EXPECT_EQ(SlotBefore(1, 2), 24);
    EXPECT_EQ(SlotBefore(1, 3), 23);
    EXPECT_EQ(SlotBefore(0, 25), 0);
    EXPECT_EQ(SlotBefore(3, 30), 23);
    EXPECT_EQ(LogFileName(7), "log7.txt");
    EXPECT_EQ(UpdateFileName(24), "add24.txt");
}

TEST(LogIndex, ReadsLeadingDigits) {
    test::TempDir dir;
    EXPECT_EQ(ReadLogIndex(dir.path()), 0) << "missing";
    test::WriteBytes(dir / "index.txt", "7");
    EXPECT_EQ(ReadLogIndex(dir.path()), 7);
    test::WriteBytes(dir / "index.txt", "12\r\n");
    EXPECT_EQ(ReadLogIndex(dir.path()), 12);
    test::WriteBytes(dir / "index.txt", "abc");
    EXPECT_EQ(ReadLogIndex(dir.path()), 0);
    test::WriteBytes(dir / "index.txt", "");
    EXPECT_EQ(ReadLogIndex(dir.path()), 0);
    test::WriteBytes(dir / "index.txt", "99999999999999999999");
    EXPECT_GE(ReadLogIndex(dir.path()), 25) << "a huge number does not overflow into a slot";
}

TEST(LogIndex, WriteHasNoLineEnd) {
    test::TempDir dir;
    WriteLogIndex(dir.path(), 0);
    EXPECT_EQ(test::ReadBytes(dir / "index.txt"), "0");
    WriteLogIndex(dir.path(), 24);
    EXPECT_EQ(test::ReadBytes(dir / "index.txt"), "24");
}

TEST(LogIndex, PathBound) {
    // A 250-byte directory reaches index.txt (260 bytes in all); 251 does not.
    test::TempDir dir;
    std::string base = dir.path() + "/";
    std::string dir250 = base + std::string(250 - base.size(), 'p');
    std::string dir251 = base + std::string(251 - base.size(), 'p');
    test::MakeDir(dir250);
    test::MakeDir(dir251);
    WriteLogIndex(dir250, 5);
    EXPECT_EQ(ReadLogIndex(dir250), 5);
    WriteLogIndex(dir251, 5);
    EXPECT_FALSE(test::Exists(dir251 + "/index.txt"));
    EXPECT_EQ(ReadLogIndex(dir251), 0);
}

TEST(ClearPageLogs, KeepsOnlyTheCurrentSlotAndTheWorkingFiles) {
    test::TempDir dir;
    for (int k = 0; k < kLogSlots; ++k) {
        test::WriteBytes(dir / LogFileName(k), "log");
        test::WriteBytes(dir / UpdateFileName(k), "add");
    }
    for (const char* name : {"head.txt", "new.txt", "add.txt", "html.txt", "result.ini"}) {
        test::WriteBytes(dir / name, "x");
    }
    WriteLogIndex(dir.path(), 3);
    ClearPageLogs(dir.path());
    for (int k = 0; k < kLogSlots; ++k) {
        EXPECT_EQ(test::Exists(dir / LogFileName(k)), k == 3) << k;
        EXPECT_EQ(test::Exists(dir / UpdateFileName(k)), k == 3) << k;
    }
    EXPECT_FALSE(test::Exists(dir / "head.txt"));
    for (const char* name : {"new.txt", "add.txt", "html.txt", "result.ini", "index.txt"}) {
        EXPECT_TRUE(test::Exists(dir / name)) << name;
    }
}

}  // namespace
}  // namespace velnora::store
