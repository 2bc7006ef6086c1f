#include "search/past_log_search.h"

#include <gtest/gtest.h>

#include "results/document.h"
#include "results/results_support.h"
#include "search/hit_display.h"
#include "search/texts.h"
#include "store/page_tree.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::search {
namespace {

using test::Sjis;
using test::Utf8;

// Records what a search reports, in UTF-8.
class RecordingObserver : public SearchObserver {
  public:
    void SearchingPage(const store::ItemRecord& page) override {
        searched.push_back(Utf8(page.node.name));
        if (on_page) {
            on_page(page);
        }
    }
    void PageHits(const store::ItemRecord& page, std::vector<std::string> lines) override {
        std::string block = Utf8(page.node.name) + ":";
        for (const std::string& line : lines) {
            block += " [" + Utf8(line) + "]";
        }
        blocks.push_back(block);
    }

    std::vector<std::string> searched;
    std::vector<std::string> blocks;
    std::function<void(const store::ItemRecord&)> on_page;
};

// A program home whose data directory holds pages with update texts.
class PastLogSearchTest : public testing::Test {
  protected:
    // A page "<relative>.dat" with the index and the update texts (slot, lines in UTF-8).
    void AddPage(const std::string& relative, int index,
                 const std::vector<std::pair<int, std::string>>& texts,
                 const char* extra_settings = "") {
        std::string dir = temp_ / ("data/" + Sjis(relative) + ".dat");
        MakeDirs(dir);
        velnora::test::WriteBytes(dir + "/site.ini", std::string("[CONFIG]\r\nURL=http://e.com/") +
                                                         "\r\n" + extra_settings);
        velnora::test::WriteBytes(dir + "/index.txt", std::to_string(index));
        for (const auto& [slot, text] : texts) {
            velnora::test::WriteBytes(dir + "/add" + std::to_string(slot) + ".txt", Sjis(text));
        }
    }

    void MakeDirs(const std::string& dir) {
        std::size_t data = dir.find("/data/");
        for (std::size_t slash = dir.find('/', data + 1); slash != std::string::npos;
             slash = dir.find('/', slash + 1)) {
            std::string prefix = dir.substr(0, slash);
            if (!velnora::test::Exists(prefix)) {
                velnora::test::MakeDir(prefix);
            }
        }
        velnora::test::MakeDir(dir);
    }

    store::PageTree& Tree() {
        tree_ = store::PageTree(temp_.path() + "/");
        store::PopulateTree(tree_);
        return tree_;
    }

    store::ItemId Child(store::ItemId parent, std::string_view name_utf8) {
        for (store::ItemId item = tree_.FirstChild(parent); item != 0;
             item = tree_.NextSibling(item)) {
            if (tree_.Find(item)->name == Sjis(name_utf8)) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << name_utf8;
        return 0;
    }

    std::size_t Search(store::ItemId item, std::string_view text_utf8) {
        return SearchPastLogs(tree_, item, Sjis(text_utf8), cancel_, observer_);
    }

    velnora::test::TempDir temp_;
    store::PageTree tree_;
    std::atomic<bool> cancel_{false};
    RecordingObserver observer_;
};

TEST_F(PastLogSearchTest, NewestTextFirstRoundTheRingPassingOverMissingOnes) {
    AddPage("Site", 1,
            {{1, "new Foo\r\nother"},
             {0, "older ｆｏｏ"},
             {24, "oldest FOO\r\nfoo again"},
             {2, "the slot after the newest is the oldest of all: foo"}});
    store::ItemId root = Tree().root();
    EXPECT_EQ(Search(Child(root, "Site"), "foo"), 5u);
    EXPECT_EQ(observer_.blocks,
              std::vector<std::string>{"Site: [new Foo] [older ｆｏｏ] [oldest FOO] [foo again] "
                                       "[the slot after the newest is the oldest of all: foo]"});
}

TEST_F(PastLogSearchTest, AFolderIsSearchedInTheCheckOrderLeavingOutDisabledItems) {
    AddPage("B", 0, {{0, "foo in B"}});
    AddPage("A", 0, {{0, "nothing here"}});
    AddPage("Off", 0, {{0, "foo but off"}}, "DISABLE_AUTO_CHECK=1\r\n");
    AddPage("Group.grp/C", 0, {{0, "foo in C\tand after the tab foo"}});
    AddPage("Group.grp/Tab", 0, {{0, "before\tfoo after the tab"}});
    AddPage("Empty", 0, {});
    store::ItemId root = Tree().root();
    EXPECT_EQ(Search(root, "foo"), 2u);
    EXPECT_EQ(observer_.searched, (std::vector<std::string>{"C", "Tab", "A", "B", "Empty"}));
    EXPECT_EQ(observer_.blocks,
              (std::vector<std::string>{"C: [foo in C\tand after the tab foo]", "B: [foo in B]"}));
}

TEST_F(PastLogSearchTest, CancellingKeepsWhatWasFound) {
    AddPage("A", 0, {{0, "foo 1"}});
    AddPage("B", 0, {{0, "foo 2"}});
    AddPage("C", 0, {{0, "foo 3"}});
    store::ItemId root = Tree().root();
    observer_.on_page = [this](const store::ItemRecord& page) {
        if (page.node.name == "B") {
            cancel_ = true;
        }
    };
    EXPECT_EQ(Search(root, "foo"), 1u);
    EXPECT_EQ(observer_.searched, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(observer_.blocks, std::vector<std::string>{"A: [foo 1]"});
}

TEST_F(PastLogSearchTest, NoHitGivesNoBlock) {
    AddPage("A", 0, {{0, "bar"}});
    store::ItemId root = Tree().root();
    EXPECT_EQ(Search(root, "foo"), 0u);
    EXPECT_TRUE(observer_.blocks.empty());
    EXPECT_EQ(Search(root, "\t"), 0u) << "a text with nothing searchable finds nothing";
}

TEST(HitDisplay, BlocksHaveTheHeaderWithoutTimeAndRenderedLines) {
    velnora::test::TempDir temp;
    results::ResultDocument document;
    results::test::RecordingListener listener;
    document.SetListener(&listener);
    results::ResultDisplay display(document);
    results::DisplaySettings settings = results::test::DefaultDisplaySettings();
    settings.header = "== %link; %date;%time; ==";
    display.SetSettings(settings);
    store::ItemRecord page = results::test::MakePage(temp, "Site", "http://e.com/");
    ShowPageHits(display, page,
                 {Sjis("a <a href=\"http://e.com/x\">link</a> &amp;"), Sjis("second")});
    EXPECT_EQ(results::test::MarkupUtf8(document),
              "== {Site|http://e.com/}  ==\na {link|http://e.com/x} &\nsecond\n\n");
    EXPECT_TRUE(document.BlockStarts().empty()) << "search blocks are no page blocks";
    EXPECT_EQ(listener.events.front(), "begin text");
    EXPECT_EQ(listener.events.back(), "end text");

    document.Clear();
    ShowNotFound(document, Sjis("ｶﾞ"));
    EXPECT_EQ(Utf8(document.Text()), "「ｶﾞ」は見つかりませんでした。\n");
}

}  // namespace
}  // namespace velnora::search
