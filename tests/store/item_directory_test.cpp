#include "store/item_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::store {
namespace {

TEST(ItemDirectory, FoldersAndPagesTakeTheirSuffixWithinThePathBuffer) {
    EXPECT_EQ(ItemDirectory("/h/data", "News", KIND_FOLDER), "/h/data/News.grp");
    EXPECT_EQ(ItemDirectory("/h/data", "News", KIND_PAGE), "/h/data/News.dat");
    // "/h/data/" is 8 bytes and ".dat" 4: a name of 248 bytes fills 260 exactly.
    EXPECT_TRUE(ItemDirectory("/h/data", std::string(248, 'n'), KIND_PAGE));
    EXPECT_FALSE(ItemDirectory("/h/data", std::string(249, 'n'), KIND_PAGE));
}

TEST(ItemDirectory, CreateMakesTheDirectoryOrSaysWhyNot) {
    test::TempDir home;
    std::string path;
    std::string error;
    ASSERT_EQ(
        CreateItemDirectory(home.path(), test::Sjis("新規フォルダ"), KIND_FOLDER, path, error),
        ItemDirectoryResult::kDone);
    EXPECT_EQ(path, home / test::Sjis("新規フォルダ.grp"));
    EXPECT_TRUE(test::Exists(path));

    // A name that is taken: the system's text for an existing file.
    EXPECT_EQ(
        CreateItemDirectory(home.path(), test::Sjis("新規フォルダ"), KIND_FOLDER, path, error),
        ItemDirectoryResult::kFailed);
    EXPECT_EQ(error, std::strerror(EEXIST));

    EXPECT_EQ(CreateItemDirectory(home.path(), std::string(300, 'n'), KIND_PAGE, path, error),
              ItemDirectoryResult::kTooLong);
}

TEST(ItemDirectory, NamesNoDirectoryCanHaveAreRefusedAsInvalid) {
    test::TempDir home;
    test::MakeDir(home / "a");
    std::string path;
    for (std::string name : {"a/b", ".", "..", ""}) {
        std::string error;
        EXPECT_EQ(CreateItemDirectory(home.path(), name, KIND_PAGE, path, error),
                  ItemDirectoryResult::kFailed)
            << name;
        EXPECT_EQ(error, std::strerror(EINVAL)) << name;
    }
    EXPECT_FALSE(test::Exists(home / "a/b.dat"));
    EXPECT_FALSE(test::Exists(home / ".dat"));
}

TEST(ItemDirectory, RenameMovesTheDirectoryButNeverOntoAnother) {
    test::TempDir home;
    test::MakeDir(home / "Old.dat");
    test::WriteBytes(home / "Old.dat/site.ini", "[CONFIG]\r\n");
    test::MakeDir(home / "Taken.dat");
    TreeNode node;
    node.kind = KIND_PAGE;
    node.name = "Old";
    node.parent_directory = home.path();
    node.path = home / "Old.dat";

    std::string new_path;
    std::string error;
    EXPECT_EQ(RenameItemDirectory(node, "Taken", new_path, error), ItemDirectoryResult::kFailed);
    EXPECT_EQ(error, std::strerror(EEXIST));
    EXPECT_TRUE(test::Exists(home / "Old.dat/site.ini"));

    EXPECT_EQ(RenameItemDirectory(node, "x/y", new_path, error), ItemDirectoryResult::kFailed);
    EXPECT_EQ(error, std::strerror(EINVAL));

    // The item's own name is no change, not a name that is taken.
    EXPECT_EQ(RenameItemDirectory(node, "Old", new_path, error), ItemDirectoryResult::kDone);
    EXPECT_EQ(new_path, node.path);

    EXPECT_EQ(RenameItemDirectory(node, std::string(300, 'n'), new_path, error),
              ItemDirectoryResult::kTooLong);

    ASSERT_EQ(RenameItemDirectory(node, test::Sjis("新しい"), new_path, error),
              ItemDirectoryResult::kDone);
    EXPECT_EQ(new_path, home / test::Sjis("新しい.dat"));
    EXPECT_TRUE(test::Exists(new_path + "/site.ini"));
    EXPECT_FALSE(test::Exists(home / "Old.dat"));
}

}  // namespace
}  // namespace velnora::store
