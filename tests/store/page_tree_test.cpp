#include "store/page_tree.h"

#include <gtest/gtest.h>

#include "store/settings_files.h"
#include "support/hostile_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::store {
namespace {

std::vector<std::string> ChildNames(const PageTree& tree, ItemId parent) {
    std::vector<std::string> names;
    for (ItemId child = tree.FirstChild(parent); child != 0; child = tree.NextSibling(child)) {
        names.push_back(tree.Find(child)->name);
    }
    return names;
}

TEST(PageTree, FoldersFirstThenPagesEachInCaseInsensitiveOrder) {
    PageTree tree("/home/");
    ItemId root = tree.Reset();
    tree.AddItem(root, "c", KIND_PAGE, false);
    tree.AddItem(root, "b", KIND_FOLDER, false);
    tree.AddItem(root, "a", KIND_PAGE, false);
    tree.AddItem(root, "A", KIND_FOLDER, false);
    EXPECT_EQ(ChildNames(tree, root), (std::vector<std::string>{"A", "b", "a", "c"}));
}

TEST(PageTree, RenamedItemsAreSortedAgain) {
    PageTree tree("/home/");
    ItemId root = tree.Reset();
    ItemId a = tree.AddItem(root, "a", KIND_PAGE, false);
    ItemId m = tree.AddItem(root, "m", KIND_PAGE, false);
    tree.SetName(a, "z");
    EXPECT_EQ(tree.NextSibling(a), m) << "found in its old place until sorted";
    tree.SortSiblings(a);
    EXPECT_EQ(ChildNames(tree, root), (std::vector<std::string>{"m", "z"}));
}

TEST(PageTree, BuildTreeNodeGivesTheDirectories) {
    PageTree tree("/home/");
    ItemId root = tree.Reset();
    ItemId a = tree.AddItem(root, "A", KIND_FOLDER, false);
    ItemId b = tree.AddItem(a, "B", KIND_FOLDER, false);
    ItemId page = tree.AddItem(b, "Site", KIND_PAGE, false);
    TreeNode node;
    ASSERT_EQ(tree.BuildTreeNode(root, node), 0);
    EXPECT_EQ(node.path, "/home/data");
    EXPECT_EQ(node.parent_directory, "/home");
    EXPECT_EQ(node.kind, KIND_ROOT);
    ASSERT_EQ(tree.BuildTreeNode(page, node), 0);
    EXPECT_EQ(node.parent_directory, "/home/data/A.grp/B.grp");
    EXPECT_EQ(node.path, "/home/data/A.grp/B.grp/Site.dat");
    EXPECT_EQ(node.name, "Site");
    EXPECT_EQ(node.item, page);
    ASSERT_EQ(tree.BuildTreeNode(b, node), 0);
    EXPECT_EQ(node.path, "/home/data/A.grp/B.grp");
}

TEST(PageTree, BuildTreeNodeRefusesPathsBeyondTheBuffer) {
    PageTree tree("/home/");
    ItemId root = tree.Reset();
    // "/home/data/" is 11 bytes, ".dat" 4: a name of 245 bytes fills 260 exactly.
    ItemId fits = tree.AddItem(root, std::string(245, 'n'), KIND_PAGE, false);
    ItemId too_long = tree.AddItem(root, std::string(246, 'n'), KIND_PAGE, false);
    TreeNode node;
    EXPECT_EQ(tree.BuildTreeNode(fits, node), 0);
    EXPECT_EQ(node.path.size(), 260u);
    EXPECT_EQ(tree.BuildTreeNode(too_long, node), -1);
}

TEST(PageTree, UnreadMarksGoUpAndComeOffLevelByLevel) {
    PageTree tree("/home/");
    ItemId root = tree.Reset();
    ItemId folder = tree.AddItem(root, "F", KIND_FOLDER, false);
    ItemId one = tree.AddItem(folder, "one", KIND_PAGE, false);
    ItemId two = tree.AddItem(folder, "two", KIND_PAGE, false);
    tree.MarkUpdated(one);
    tree.MarkUpdated(two);
    EXPECT_TRUE(tree.Find(root)->bold);
    tree.ClearUpdated(one);
    EXPECT_FALSE(tree.Find(one)->bold);
    EXPECT_TRUE(tree.Find(folder)->bold) << "two keeps the folder marked";
    tree.ClearUpdated(two);
    EXPECT_FALSE(tree.Find(folder)->bold);
    EXPECT_FALSE(tree.Find(root)->bold);
    tree.MarkUpdated(two);
    tree.ClearUpdated(folder);
    EXPECT_FALSE(tree.Find(two)->bold) << "clearing a folder clears below it";
    EXPECT_FALSE(tree.Find(root)->bold);
}

TEST(PageTree, PopulateFromTheDataDirectory) {
    test::TempDir dir;
    std::string data = dir / "data";
    test::MakeDir(data + "/b.grp");
    test::MakeDir(data + "/A.grp/inner.dat");
    test::MakeDir(data + "/c.dat");
    test::MakeDir(data + "/a.dat");
    test::MakeDir(data + "/" + test::Sjis("ニュース") + ".dat");
    test::MakeDir(data + "/other");
    test::WriteBytes(data + "/file.dat", "not a directory");
    test::WriteBytes(data + "/a.dat/site.ini", "[CONFIG]\r\nDISABLE_AUTO_CHECK=1\r\n");
    EXPECT_EQ(WriteFolderSettings(data + "/b.grp", FolderSettings{1}), 0);
    PageTree tree(dir.path() + "/");
    PopulateTree(tree);
    ItemId root = tree.root();
    EXPECT_EQ(tree.Find(root)->name, "data");
    EXPECT_EQ(ChildNames(tree, root),
              (std::vector<std::string>{"A", "b", "a", "c", test::Sjis("ニュース")}));
    ItemId a_folder = tree.FirstChild(root);
    EXPECT_EQ(ChildNames(tree, a_folder), (std::vector<std::string>{"inner"}));
    ItemId b_folder = tree.NextSibling(a_folder);
    EXPECT_TRUE(tree.Find(b_folder)->disabled);
    ItemId a_page = tree.NextSibling(b_folder);
    EXPECT_TRUE(tree.Find(a_page)->disabled);
    EXPECT_FALSE(tree.Find(tree.NextSibling(a_page))->disabled);
}

TEST(PageTree, LinkedDirectoriesInsideTheDataDirectoryAreNotFollowed) {
    test::TempDir dir;
    std::string data = dir / "data";
    test::MakeDir(data + "/real.grp/inner.dat");
    test::MakeDir(dir / "elsewhere.dat");
    // Two folder links back to the data directory would make a walk that follows them endless.
    ASSERT_TRUE(test::MakeSymlink(data, data + "/loop.grp"));
    ASSERT_TRUE(test::MakeSymlink(data, data + "/real.grp/back.grp"));
    ASSERT_TRUE(test::MakeSymlink(dir / "elsewhere.dat", data + "/linked.dat"));
    PageTree tree(dir.path() + "/");
    PopulateTree(tree);
    EXPECT_EQ(ChildNames(tree, tree.root()), std::vector<std::string>{"real"});
    EXPECT_EQ(ChildNames(tree, tree.FirstChild(tree.root())), std::vector<std::string>{"inner"});
    EXPECT_EQ(tree.size(), 3u);
}

}  // namespace
}  // namespace velnora::store
