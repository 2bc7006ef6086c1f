#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "store/clear_page_logs.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "support/hostile_files.h"
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
    ASSERT_TRUE(WriteLogIndex(dir.path(), 0));
    EXPECT_EQ(test::ReadBytes(dir / "index.txt"), "0");
    ASSERT_TRUE(WriteLogIndex(dir.path(), 24));
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
    ASSERT_TRUE(WriteLogIndex(dir250, 5));
    test::WriteBytes(dir250 + "/log5.txt", "x");
    EXPECT_EQ(ReadLogIndex(dir250), 5);
    EXPECT_FALSE(WriteLogIndex(dir251, 5));
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
    ASSERT_TRUE(WriteLogIndex(dir.path(), 3));
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

// Past logs written one after the other: slot k of the list is written k seconds after the
// first, so the last one is the newest.
void WriteLogsInOrder(const test::TempDir& dir, const std::vector<int>& slots) {
    auto time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (int slot : slots) {
        std::string path = dir / LogFileName(slot);
        test::WriteBytes(path, "log " + std::to_string(slot));
        std::filesystem::last_write_time(path, time);
        time += std::chrono::seconds(1);
    }
}

TEST(LogIndex, AnIndexThatNamesNoLogIsRebuiltFromTheNewestLog) {
    struct Case {
        const char* what;
        std::function<void(const std::string& index)> index;
        std::vector<int> logs;  // oldest first
        int expected;
    };
    auto holding = [](std::string bytes) {
        return [bytes](const std::string& index) { test::WriteBytes(index, bytes); };
    };
    auto missing = [](const std::string&) {};
    const std::vector<Case> cases = {
        {"an index naming a log that is there", holding("3"), {2, 3, 9}, 3},
        {"a missing index", missing, {22, 23, 24, 0, 1}, 1},
        {"an empty index (cut by a kill)", holding(""), {5, 6, 7}, 7},
        {"an index out of range", holding("30"), {4, 5}, 5},
        {"an index that is no number", holding("x1"), {10, 11}, 11},
        {"an index naming a log that is gone", holding("8"), {3, 4}, 4},
        {"an index naming a log left empty by a power cut",
         [](const std::string& index) {
             test::WriteBytes(index, "9");
             test::WriteBytes(index.substr(0, index.size() - 9) + "log9.txt", "");
         },
         {7, 8},
         8},
        {"an index that is a directory", [](const std::string& i) { test::MakeDir(i); }, {0, 1}, 1},
        {"an index that is a FIFO",
         [](const std::string& i) { ASSERT_TRUE(test::MakeFifo(i)); },
         {12, 13},
         13},
        {"no log at all: the index as it stands", holding("6"), {}, 6},
        {"no log and no index", missing, {}, 0},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        c.index(dir / "index.txt");
        WriteLogsInOrder(dir, c.logs);
        EXPECT_EQ(ReadLogIndex(dir.path()), c.expected) << c.what;
    }
}

TEST(ClearPageLogs, ABadIndexNeverDeletesTheNewestHistory) {
    test::TempDir dir;
    WriteLogsInOrder(dir, {0, 1, 2, 3});
    test::WriteBytes(dir / "add3.txt", "newest update");
    test::WriteBytes(dir / "add2.txt", "older update");
    test::WriteBytes(dir / "index.txt", "");
    ClearPageLogs(dir.path());
    EXPECT_EQ(test::ReadBytes(dir / "log3.txt"), "log 3");
    EXPECT_EQ(test::ReadBytes(dir / "add3.txt"), "newest update");
    EXPECT_FALSE(test::Exists(dir / "log0.txt"));
    EXPECT_FALSE(test::Exists(dir / "add2.txt"));
}

TEST(ClearPageLogs, APageDirectoryThatIsALinkIsLeftAlone) {
    test::TempDir dir;
    std::string elsewhere = dir / "elsewhere";
    test::MakeDir(elsewhere);
    for (int k = 0; k < 5; ++k) {
        test::WriteBytes(elsewhere + "/" + LogFileName(k), "not the page's");
    }
    ASSERT_TRUE(test::MakeSymlink(elsewhere, dir / "page.dat"));
    ClearPageLogs(dir / "page.dat");
    for (int k = 0; k < 5; ++k) {
        EXPECT_TRUE(test::Exists(elsewhere + "/" + LogFileName(k))) << k;
    }
}

}  // namespace
}  // namespace velnora::store
