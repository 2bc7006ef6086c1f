// What the schedule and the notifications keep in the page files: the check interval of pages
// and folders (absent: as the folder), and beside the result code the last check, the unread
// mark and the address a page moved to.

#include <gtest/gtest.h>

#include "store/page_files.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "store/unread_marks.h"
#include "support/temp_dir.h"

namespace velnora::store {
namespace {

TEST(CheckIntervalKey, AbsentFollowsTheFolderAndFollowingWritesNoKey) {
    test::TempDir dir;
    PageSettings page;
    ASSERT_EQ(ReadPageSettings(dir.path(), page), 0);
    EXPECT_EQ(page.check_interval, keys::kFollowFolder);
    ASSERT_EQ(WritePageSettings(dir.path(), page), 0);
    EXPECT_EQ(test::ReadBytes(dir / "site.ini").find("CHECK_INTERVAL"), std::string::npos)
        << "a page that follows its folder stores nothing new";

    page.check_interval = 0;  // only by hand: a value of its own
    ASSERT_EQ(WritePageSettings(dir.path(), page), 0);
    EXPECT_NE(test::ReadBytes(dir / "site.ini").find("\r\nCHECK_INTERVAL=0\r\n"),
              std::string::npos);
    page.check_interval = 90;
    ASSERT_EQ(WritePageSettings(dir.path(), page), 0);
    PageSettings read;
    ReadPageSettings(dir.path(), read);
    EXPECT_EQ(read.check_interval, 90);

    page.check_interval = keys::kFollowFolder;
    ASSERT_EQ(WritePageSettings(dir.path(), page), 0);
    EXPECT_EQ(test::ReadBytes(dir / "site.ini").find("CHECK_INTERVAL"), std::string::npos)
        << "following the folder again removes the key";
}

TEST(CheckIntervalKey, StoredValuesOutsideTheRangeFollowTheFolder) {
    test::TempDir dir;
    struct Row {
        const char* stored;
        int expected;
    } rows[] = {{"-1", keys::kFollowFolder}, {"-20", keys::kFollowFolder},    {"0", 0},
                {"525600", 525600},          {"525601", keys::kFollowFolder}, {"", -1}};
    for (const Row& row : rows) {
        test::WriteBytes(dir / "group.ini",
                         std::string("[CONFIG]\r\nCHECK_INTERVAL=") + row.stored + "\r\n");
        FolderSettings folder;
        ASSERT_EQ(ReadFolderSettings(dir.path(), folder), 0);
        EXPECT_EQ(folder.check_interval, row.expected) << row.stored;
    }
}

TEST(CheckIntervalKey, FolderWriteKeepsTheFlagAndOtherKeys) {
    test::TempDir dir;
    test::WriteBytes(dir / "group.ini", "[CONFIG]\r\nOTHER=x\r\nDISABLE_AUTO_CHECK=1\r\n");
    ASSERT_EQ(WriteFolderSettings(dir.path(), FolderSettings{0, 30}), 0);
    EXPECT_EQ(test::ReadBytes(dir / "group.ini"),
              "[CONFIG]\r\nOTHER=x\r\nDISABLE_AUTO_CHECK=0\r\nCHECK_INTERVAL=30\r\n");
    ASSERT_EQ(WriteFolderSettings(dir.path(), FolderSettings{1, keys::kFollowFolder}), 0);
    EXPECT_EQ(test::ReadBytes(dir / "group.ini"),
              "[CONFIG]\r\nOTHER=x\r\nDISABLE_AUTO_CHECK=1\r\n");
}

TEST(ResultExtras, LastCheckUnreadMarkAndMovedAddressBesideTheCode) {
    test::TempDir dir;
    EXPECT_EQ(ReadLastCheck(dir.path()), 0) << "never checked";
    EXPECT_FALSE(ReadUnreadMark(dir.path()));
    EXPECT_EQ(ReadMovedUrl(dir.path()), "");
    ASSERT_EQ(WriteResultCode(dir.path(), RESULT_UPDATED), 0);
    // Past 2038: the time is no 32-bit number.
    ASSERT_TRUE(WriteLastCheck(dir.path(), 4102444800));
    ASSERT_TRUE(WriteUnreadMark(dir.path(), true));
    ASSERT_TRUE(WriteMovedUrl(dir.path(), "https://new.example/"));
    EXPECT_EQ(test::ReadBytes(dir / "result.ini"),
              "[RESULT]\r\nCODE=3\r\nLAST_CHECK=4102444800\r\nUNREAD=1\r\n"
              "MOVED_URL=https://new.example/\r\n");
    EXPECT_EQ(ReadLastCheck(dir.path()), 4102444800);
    EXPECT_TRUE(ReadUnreadMark(dir.path()));
    EXPECT_EQ(ReadMovedUrl(dir.path()), "https://new.example/");
    ASSERT_TRUE(WriteUnreadMark(dir.path(), false));
    ASSERT_TRUE(WriteMovedUrl(dir.path(), ""));
    EXPECT_EQ(test::ReadBytes(dir / "result.ini"),
              "[RESULT]\r\nCODE=3\r\nLAST_CHECK=4102444800\r\n");
    EXPECT_EQ(ReadResultCode(dir.path()), RESULT_UPDATED);
}

TEST(ResultExtras, ALastCheckThatIsNoNumberCountsAsNever) {
    test::TempDir dir;
    for (const char* stored : {"abc", "12x", "-5", "99999999999999999999999"}) {
        test::WriteBytes(dir / "result.ini", std::string("[RESULT]\r\nLAST_CHECK=") + stored);
        EXPECT_EQ(ReadLastCheck(dir.path()), 0) << stored;
    }
}

TEST(UnreadMarks, SurviveARebuildOfTheTreeUntilCleared) {
    test::TempDir dir;
    test::MakeDir(dir / "data/News.grp/a.dat");
    test::MakeDir(dir / "data/News.grp/b.dat");
    test::MakeDir(dir / "data/c.dat");
    auto child = [](const PageTree& tree, ItemId parent, const std::string& name) {
        for (ItemId item = tree.FirstChild(parent); item != 0; item = tree.NextSibling(item)) {
            if (tree.Find(item)->name == name) {
                return item;
            }
        }
        return ItemId{0};
    };
    {
        PageTree tree(dir.path() + "/");
        PopulateTree(tree);
        ItemId news = child(tree, tree.root(), "News");
        MarkUnread(tree, child(tree, news, "a"));
        MarkUnread(tree, child(tree, news, "b"));
        MarkUnread(tree, child(tree, tree.root(), "c"));
        EXPECT_EQ(CountUnreadPages(tree), 3);
        ClearUnread(tree, child(tree, news, "b"));
    }
    PageTree tree(dir.path() + "/");
    PopulateTree(tree);
    RestoreUnreadMarks(tree, tree.root());
    ItemId news = child(tree, tree.root(), "News");
    EXPECT_TRUE(tree.Find(child(tree, news, "a"))->bold);
    EXPECT_FALSE(tree.Find(child(tree, news, "b"))->bold);
    EXPECT_TRUE(tree.Find(news)->bold) << "the folder above a marked page is marked";
    EXPECT_TRUE(tree.Find(tree.root())->bold);
    EXPECT_EQ(CountUnreadPages(tree), 2);
    ClearUnread(tree, tree.root());
    EXPECT_EQ(CountUnreadPages(tree), 0);
    EXPECT_FALSE(ReadUnreadMark(dir / "data/News.grp/a.dat"));
    EXPECT_FALSE(ReadUnreadMark(dir / "data/c.dat"));
}

}  // namespace
}  // namespace velnora::store
