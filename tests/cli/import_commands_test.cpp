// velnora-cli move, import and export-tree on a program home in a temporary directory.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "run_cli.h"
#include "support/lock_holder.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::cli {
namespace {

std::string Fixture(std::string_view name) {
    return std::string(VELNORA_TEST_DATA) + "/imports/" + std::string(name);
}

class TreeCommands : public testing::Test {
  protected:
    TreeCommands() {
        test::MakeDir(home_ / "data");
        for (const char* directory :
             {"A.grp", "A.grp/B.grp", "A.grp/q.dat", "C.grp", "C.grp/q.dat", "r.dat"}) {
            test::MakeDir(home_ / ("data/" + std::string(directory)));
        }
    }
    bool OnDisk(const std::string& relative) const {
        return test::Exists(home_ / test::Sjis("data/" + relative));
    }

    test::TempDir home_;
    test::ScopedEnv home_variable_{"VELNORA_HOME", home_.path()};
};

TEST_F(TreeCommands, MoveFollowsTheDragRulesAndSaysWhenItRefuses) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* said;     // in out (status 0) or err
        const char* on_disk;  // afterwards
    };
    const Case cases[] = {
        {{"move", "r", "C"}, kExitDone, "moved r to C/r", "C.grp/r.dat"},
        {{"move", "C/r", "A/q"}, kExitDone, "moved C/r to A/r", "A.grp/r.dat"},
        {{"move", "A/r", "/"}, kExitDone, "moved A/r to r", "r.dat"},
        {{"move", "A/B", ""}, kExitDone, "moved A/B to B", "B.grp"},
        {{"move", "B", "A"}, kExitDone, "moved B to A/B", "A.grp/B.grp"},
        {{"move", "r", ""}, kExitDone, "r is already in /", "r.dat"},
        {{"move", "A", "A/B"}, kExitNotDone, "cannot move into itself", "A.grp/B.grp"},
        {{"move", "A/q", "C"}, kExitNotDone, "cannot move A/q: File exists", "A.grp/q.dat"},
        {{"move", "/", "C"}, kExitNotDone, "the root of the tree does not move", "C.grp"},
        {{"move", "Nowhere", "C"}, kExitUsage, "no such folder or page", "C.grp"},
        {{"move", "r"}, kExitUsage, "Usage: velnora-cli move", "r.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " -> " + (c.args.size() > 2 ? c.args[2] : "?"));
        Result result = RunCli(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        const std::string& said = c.status == kExitDone ? result.out : result.err;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_TRUE(OnDisk(c.on_disk));
    }
}

TEST_F(TreeCommands, ImportMakesANewFolderAndSaysWhatItMadeAndSkipped) {
    Result first = RunCli({"import", Fixture("firefox.html")});
    EXPECT_EQ(first.status, kExitDone) << first.err;
    EXPECT_EQ(first.out, Fixture("firefox.html") +
                             ": a bookmark export, 10 entries\n"
                             "made 6 pages in the new folder firefox\n"
                             "skipped 4:\n"
                             "  3 not http, https or ftp addresses (bookmarklets, place: queries)\n"
                             "  1 listed again in the same folder\n");
    EXPECT_TRUE(OnDisk("firefox.grp/Mozilla Firefox.grp/Get Help.dat/site.ini"));

    Result again = RunCli({"import", Fixture("firefox.html")});
    EXPECT_EQ(again.status, kExitNegative);
    EXPECT_NE(again.out.find("7 already a page below the folder"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("nothing new to import below /; no folder made"), std::string::npos);
    EXPECT_FALSE(OnDisk("firefox(1).grp"));

    // Into a folder, where none of the addresses is yet.
    Result into = RunCli({"import", Fixture("urls.txt"), "A/B"});
    EXPECT_EQ(into.status, kExitDone) << into.err;
    EXPECT_NE(into.out.find("made 4 pages in the new folder A/B/urls"), std::string::npos);
    EXPECT_NE(into.out.find("3 lines that are not addresses"), std::string::npos) << into.out;
    EXPECT_TRUE(OnDisk("A.grp/B.grp/urls.grp/files.example.com.dat"));
}

TEST_F(TreeCommands, ImportRefusesFilesThatAreNoCollectionAndChangesNothing) {
    test::TempDir files;
    test::WriteBytes(files / "page.html", "<!DOCTYPE html>\n<html><body>x</body></html>\n");
    test::WriteBytes(files / "image.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    std::string firefox = test::ReadBytes(Fixture("firefox.html"));
    test::WriteBytes(files / "cut.html", firefox.substr(0, firefox.size() / 2));
    test::WriteBytes(files / "bad.opml", "<opml><body><outline text=\"x\"></body></opml>");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {{"import", files / "page.html"}, kExitNotDone, "a saved web page or a feed?"},
        {{"import", files / "image.png"}, kExitNotDone, "is no text file"},
        {{"import", files / "cut.html"}, kExitNotDone, "is a damaged bookmark export"},
        {{"import", files / "bad.opml"}, kExitNotDone, "is a damaged OPML outline: line 1"},
        {{"import", files / "missing.html"}, kExitNotDone, "cannot be read"},
        {{"import", Fixture("urls.txt"), "r"}, kExitUsage, "is a page, not a folder"},
        {{"import", Fixture("urls.txt"), "Nowhere"}, kExitUsage, "no such folder or page"},
        {{"import"}, kExitUsage, "Usage: velnora-cli import"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        Result result = RunCli(c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
    Result list = RunCli({"list"});
    EXPECT_EQ(list.out,
              "data/\n  A/\n    B/\n    q  [0 never checked]  \n  C/\n"
              "    q  [0 never checked]  \n  r  [0 never checked]  \n");
}

TEST_F(TreeCommands, ImportAndMoveTakeTheWriteLock) {
    test::LockHolder holder(home_.path() + "/", "velnora");
    ASSERT_TRUE(holder.took());
    EXPECT_EQ(RunCli({"import", Fixture("urls.txt")}).status, kExitLocked);
    EXPECT_EQ(RunCli({"move", "r", "C"}).status, kExitLocked);
    EXPECT_FALSE(OnDisk("urls.grp"));
    EXPECT_EQ(RunCli({"export-tree", "-"}).status, kExitDone) << "export-tree takes no lock";
}

TEST_F(TreeCommands, ExportTreeWritesABookmarkExportOrOpml) {
    ASSERT_EQ(RunCli({"import", Fixture("feeds.opml")}).status, kExitDone);
    Result html = RunCli({"export-tree", home_ / "out.html", "feeds"});
    EXPECT_EQ(html.status, kExitDone) << html.err;
    std::string exported = test::ReadBytes(home_ / "out.html");
    EXPECT_TRUE(exported.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    EXPECT_NE(exported.find("<DT><H3>Japanese</H3>"), std::string::npos) << exported;
    EXPECT_NE(exported.find("<DT><A HREF=\"https://news.example.jp/rss\">ニュース速報</A>"),
              std::string::npos);

    Result opml = RunCli({"export-tree", home_ / "out.opml"});
    EXPECT_EQ(opml.status, kExitDone) << opml.err;
    EXPECT_NE(test::ReadBytes(home_ / "out.opml").find("<opml version=\"2.0\">"),
              std::string::npos);

    Result standard_output = RunCli({"export-tree", "-", "feeds/Tech"});
    EXPECT_EQ(standard_output.status, kExitDone);
    EXPECT_NE(standard_output.out.find("Example Engineering"), std::string::npos);

    EXPECT_EQ(RunCli({"export-tree", home_ / "no/such/dir/out.html"}).status, kExitNotDone);
    EXPECT_EQ(RunCli({"export-tree", home_ / "x.html", "Nowhere"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"export-tree"}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli
