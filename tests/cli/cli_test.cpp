#include "cli/cli.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "support/hostile_files.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    int status = Run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, VersionAndHelp) {
    Result version = RunCli({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out, "Velnora v0.42\n");
    Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Usage: velnora-cli"), std::string::npos);
}

TEST(Cli, UnknownArgumentsAreAUsageError) {
    Result unknown = RunCli({"--frobnicate"});
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_NE(unknown.err.find("unknown argument '--frobnicate'"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli

namespace velnora::cli {
namespace {

// A program home in a temporary directory for the commands that use one.
class CliHome : public testing::Test {
  protected:
    std::string MakePage(const std::string& relative, const std::string& response) {
        std::string dir = home_ / ("data/" + relative);
        test::MakeDir(dir);
        test::WriteBytes(dir + "/site.ini", "[CONFIG]\r\nURL=http://example.com/\r\n");
        test::WriteBytes(dir + "/htmltmp.txt", response);
        return dir;
    }

    test::TempDir home_;
    test::ScopedEnv home_variable_{"VELNORA_HOME", home_.path()};
};

const char kResponse[] =
    "HTTP/1.1 200 OK\r\n\r\n<title>\x93\xfa\x96\x7b</title><p>See <a href=\"/x\">this</a></p>";

TEST_F(CliHome, ProcessRunsTheCheckOnTheStoredResponse) {
    std::string page = MakePage(test::Sjis("ニュース.grp") + "/Site.dat", kResponse);
    std::string on_disk = home_.path() + "/data/ニュース.grp/Site.dat";
    Result first = RunCli({"process", on_disk});
    EXPECT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.out, "2 FirstCheck\n");
    EXPECT_TRUE(test::Exists(page + "/log1.txt"));
    Result again = RunCli({"process", on_disk + "/"});
    EXPECT_EQ(again.out, "0 NoChange\n");
}

TEST_F(CliHome, ProcessReportsAnHttpErrorOnStderr) {
    MakePage("Gone.dat", "HTTP/1.1 404 Not Found\r\n\r\n");
    Result result = RunCli({"process", home_.path() + "/data/Gone.dat"});
    EXPECT_EQ(result.out, "3 HttpError\n");
    EXPECT_NE(result.err.find("HTTPエラー (HTTP/1.1 404 Not Found)"), std::string::npos)
        << result.err;
}

TEST_F(CliHome, ExtractPrintsTheTextAndTouchesNoFile) {
    std::string page = MakePage("Site.dat", kResponse);
    Result result = RunCli({"extract", page});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.out, "\n日本\nSee <a href=\"http://example.com/x\">this</a>\n");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(page)) {
        files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"htmltmp.txt", "site.ini"}));
}

TEST_F(CliHome, PageCommandsRefuseBadArguments) {
    EXPECT_EQ(RunCli({"process"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"extract", "a", "b"}).status, kExitUsage);
    Result missing = RunCli({"process", home_.path() + "/nowhere"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("no such directory"), std::string::npos);
    test::MakeDir(home_ / "data/Empty.dat");
    Result empty = RunCli({"extract", home_.path() + "/data/Empty.dat"});
    EXPECT_EQ(empty.status, kExitFailure);
    EXPECT_NE(empty.err.find("no stored response"), std::string::npos);
}

}  // namespace
}  // namespace velnora::cli

namespace velnora::cli {
namespace {

TEST_F(CliHome, AddMakesPagesAsTheNewPageCommandDoes) {
    test::MakeDir(home_ / "data/News.grp");
    Result first = RunCli({"add", "News/Site", "http://example.com/"});
    EXPECT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.out, "added News/Site\n");
    EXPECT_EQ(test::ReadBytes(home_ / "data/News.grp/Site.dat/site.ini")
                  .rfind("[CONFIG]\r\nUSE_OLD_LOG=1\r\n", 0),
              0u)
        << "a whole record, in the order of a new file";
    Result second = RunCli({"add", "News/Site", "http://example.com/2"});
    EXPECT_EQ(second.out, "added News/Site(2)\n") << "a taken name is numbered";
    EXPECT_TRUE(test::Exists(home_ / "data/News.grp/Site(2).dat/site.ini"));
    Result japanese = RunCli({"add", "天気", "http://example.com/w"});
    EXPECT_EQ(japanese.out, "added 天気\n");
    EXPECT_TRUE(test::Exists(home_ / ("data/" + test::Sjis("天気") + ".dat")));

    EXPECT_EQ(RunCli({"add", "Nowhere/Site", "http://x/"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"add", "News/..", "http://x/"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"add", "News/Site", std::string(2101, 'u')}).status, kExitUsage);
    EXPECT_EQ(RunCli({"add", "News/Site"}).status, kExitUsage);
}

TEST_F(CliHome, AddFailsAndLeavesNothingWhenSiteIniCannotBeWritten) {
    struct Case {
        const char* what;
        std::string name;
        rlim_t file_size_limit;
    };
    // The page directory fits in a path, its site.ini ("/site.ini", 9 bytes) does not.
    std::size_t base = (home_ / "data/").size();
    const Case cases[] = {
        {"a page directory of 252 bytes", std::string(252 - base - 4, 'n'), RLIM_INFINITY},
        {"a full disk", "Site", 4},
    };
    for (const Case& c : cases) {
        Result result;
        {
            test::ScopedFileSizeLimit limit(c.file_size_limit);
            result = RunCli({"add", c.name, "http://example.com/"});
        }
        EXPECT_EQ(result.status, kExitNotDone) << c.what;
        EXPECT_EQ(result.out, "") << c.what;
        EXPECT_NE(result.err.find("cannot write the page's site.ini"), std::string::npos)
            << c.what << ": " << result.err;
        EXPECT_FALSE(test::Exists(home_ / ("data/" + c.name + ".dat"))) << c.what;
    }
}

TEST_F(CliHome, ARefusedVelnoraIniIsNamedAndLeftAsItIs) {
    struct Case {
        const char* what;
        std::function<void(const std::string& file)> make;
        std::string reason;
    };
    const Case cases[] = {
        {"a file of more than 1 MiB",
         [](const std::string& f) { test::WriteBytes(f, std::string(1048577, '\n')); },
         "Larger than 1048576 bytes"},
        {"a FIFO", [](const std::string& f) { ASSERT_TRUE(test::MakeFifo(f)); },
         "Not a regular file"},
    };
    for (const Case& c : cases) {
        std::string file = home_ / "velnora.ini";
        std::filesystem::remove(file);
        c.make(file);
        Result result = RunCli({"list"});
        EXPECT_EQ(result.status, kExitOk) << c.what;
        EXPECT_NE(result.err.find("velnora.ini: " + c.reason), std::string::npos)
            << c.what << ": " << result.err;
        if (std::filesystem::is_regular_file(file)) {
            EXPECT_EQ(std::filesystem::file_size(file), 1048577u) << c.what;
        }
    }
}

TEST_F(CliHome, ReloadPrintsTheStoredResults) {
    std::string page = home_ / "data/Site.dat";
    test::MakeDir(page);
    test::WriteBytes(page + "/site.ini", "[CONFIG]\r\nURL=http://example.com/\r\n");
    test::WriteBytes(page + "/add1.txt", "new <a href=\"http://example.com/n\">line</a>\r\n");
    test::WriteBytes(page + "/index.txt", "1");
    test::WriteBytes(page + "/result.ini", "[RESULT]\r\nCODE=3\r\n");
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nHEADER=# %link;\r\n");
    Result shown = RunCli({"reload"});
    EXPECT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_EQ(shown.out, "# Site <http://example.com/>\nnew line <http://example.com/n>\n\n");
    test::WriteBytes(page + "/result.ini", "[RESULT]\r\nCODE=1\r\n");
    EXPECT_EQ(RunCli({"reload"}).out, "■Site <http://example.com/> : 更新なし\n");
    EXPECT_EQ(RunCli({"reload", "--all"}).out,
              "# Site <http://example.com/>\nnew line <http://example.com/n>\n\n");
    EXPECT_EQ(RunCli({"reload", "Missing"}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli
