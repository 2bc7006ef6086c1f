#include "store/move_item.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/temp_dir.h"

namespace velnora::store {
namespace {

// A data directory read into a tree; items named by their path in it ("A/B/p").
class MoveFixture {
  public:
    // Directories relative to the data directory, made in order.
    explicit MoveFixture(std::initializer_list<std::string> directories)
        : tree_(home_.path() + "/") {
        test::MakeDir(home_ / "data");
        for (const std::string& directory : directories) {
            test::MakeDir(home_ / ("data/" + directory));
        }
        PopulateTree(tree_);
    }

    PageTree& tree() { return tree_; }
    bool OnDisk(const std::string& relative) const {
        return test::Exists(home_ / ("data/" + relative));
    }

    ItemId Item(std::string_view relative) const {
        ItemId item = tree_.root();
        while (item != 0 && !relative.empty()) {
            std::size_t slash = relative.find('/');
            std::string_view name = relative.substr(0, slash);
            ItemId child = tree_.FirstChild(item);
            while (child != 0 && tree_.Find(child)->name != name) {
                child = tree_.NextSibling(child);
            }
            item = child;
            relative = slash == std::string_view::npos ? "" : relative.substr(slash + 1);
        }
        return item;
    }

  private:
    test::TempDir home_;
    PageTree tree_;
};

const std::initializer_list<std::string> kTree = {
    "A.grp", "A.grp/B.grp", "A.grp/B.grp/p.dat", "A.grp/q.dat", "C.grp", "C.grp/q.dat", "r.dat",
};

TEST(MoveTreeItem, FollowsTheRulesOfWhereAnItemLands) {
    struct Case {
        const char* what;
        const char* source;
        const char* target;
        MoveResult result;
        const char* now_at;   // the source's tree path afterwards
        const char* on_disk;  // its directory afterwards, relative to data
        int error_number;     // kFailed: the system's error
    };
    const Case cases[] = {
        {"a page dropped on a folder goes into it", "r", "C", MoveResult::kMoved, "C/r",
         "C.grp/r.dat", 0},
        {"a page dropped on a page lands beside it", "r", "A/B/p", MoveResult::kMoved, "A/B/r",
         "A.grp/B.grp/r.dat", 0},
        {"a folder dropped on the root goes to the top level", "A/B", "", MoveResult::kMoved, "B",
         "B.grp/p.dat", 0},
        {"a folder keeps its subtree", "A", "C", MoveResult::kMoved, "C/A",
         "C.grp/A.grp/B.grp/p.dat", 0},
        {"the root does not move", "", "C", MoveResult::kRoot, "", "", 0},
        {"a folder dropped on itself stays", "A", "A", MoveResult::kIntoItself, "A",
         "A.grp/B.grp/p.dat", 0},
        {"a folder dropped on a folder below it stays", "A", "A/B", MoveResult::kIntoItself, "A",
         "A.grp/B.grp/p.dat", 0},
        {"a folder dropped on a page inside it fails with the system's text", "A", "A/B/p",
         MoveResult::kFailed, "A", "A.grp/B.grp/p.dat", EINVAL},
        {"a name already taken fails with the system's text and moves nothing", "A/q", "C",
         MoveResult::kFailed, "A/q", "A.grp/q.dat", EEXIST},
        {"a page dropped beside itself is already there", "r", "r", MoveResult::kAlreadyThere, "r",
         "r.dat", 0},
        {"a folder dropped on its own folder is already there", "A/B", "A",
         MoveResult::kAlreadyThere, "A/B", "A.grp/B.grp", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MoveFixture fixture(kTree);
        ItemId source = fixture.Item(c.source);
        ItemId target = fixture.Item(c.target);
        ASSERT_NE(source, 0u);
        ASSERT_NE(target, 0u);
        MoveOutcome outcome = MoveTreeItem(fixture.tree(), source, target);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(fixture.Item(c.now_at), source);
        EXPECT_TRUE(fixture.OnDisk(c.on_disk));
        if (c.error_number != 0) {
            EXPECT_EQ(outcome.error, std::strerror(c.error_number));
        }
        // What the disk holds is what the tree shows.
        PageTree reread(fixture.tree().program_directory());
        PopulateTree(reread);
        EXPECT_EQ(reread.size(), fixture.tree().size());
    }
}

TEST(MoveTreeItem, AFolderWhosePathMerelyBeginsWithTheSourcesIsNotBelowIt) {
    MoveFixture fixture({"A.grp", "A.grp2.grp"});
    MoveOutcome outcome = MoveTreeItem(fixture.tree(), fixture.Item("A"), fixture.Item("A.grp2"));
    EXPECT_EQ(outcome.result, MoveResult::kMoved);
    EXPECT_TRUE(fixture.OnDisk("A.grp2.grp/A.grp"));
}

TEST(MoveTreeItem, NothingMovesWhenAPathWouldNotFit) {
    // The temporary home's "/tmp/velnora-test-XXXXXX/data/" is about 31 bytes; a folder of 200
    // bytes leaves no room for another of 40 inside it.
    std::string deep(200, 'd');
    std::string wide(40, 'w');
    MoveFixture fixture({deep + ".grp", wide + ".dat", "F.grp", "F.grp/" + wide + ".dat"});
    EXPECT_EQ(MoveTreeItem(fixture.tree(), fixture.Item(wide), fixture.Item(deep)).result,
              MoveResult::kTooLong);
    EXPECT_TRUE(fixture.OnDisk(wide + ".dat"));
    // The folder itself would fit, the page inside it would not: it would drop out of the tree.
    EXPECT_EQ(MoveTreeItem(fixture.tree(), fixture.Item("F"), fixture.Item(deep)).result,
              MoveResult::kTooLong);
    EXPECT_TRUE(fixture.OnDisk("F.grp/" + wide + ".dat"));
}

TEST(MoveTreeItem, TheMovedSubtreeLosesItsUnreadMarksAndStaysSorted) {
    MoveFixture fixture({"A.grp", "A.grp/z.dat", "A.grp/b.dat", "A.grp/M.grp", "C.grp"});
    PageTree& tree = fixture.tree();
    tree.MarkUpdated(fixture.Item("A/z"));
    ASSERT_EQ(MoveTreeItem(tree, fixture.Item("A"), fixture.Item("C")).result, MoveResult::kMoved);
    std::vector<std::string> names;
    for (ItemId child = tree.FirstChild(fixture.Item("C/A")); child != 0;
         child = tree.NextSibling(child)) {
        names.push_back(tree.Find(child)->name);
        EXPECT_FALSE(tree.Find(child)->bold);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"M", "b", "z"}));
    EXPECT_FALSE(tree.Find(tree.root())->bold);
}

}  // namespace
}  // namespace velnora::store
