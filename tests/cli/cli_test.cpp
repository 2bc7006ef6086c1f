#include "cli/cli.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

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
