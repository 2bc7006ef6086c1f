#include "cli/cli.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <future>
#include <sstream>

#include "run_cli.h"
#include "store/result_file.h"
#include "support/file_size_limit.h"
#include "support/hostile_files.h"
#include "support/lock_holder.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::cli {
namespace {

TEST(Cli, VersionAndHelp) {
    Result version = RunCli({"--version"});
    EXPECT_EQ(version.status, kExitDone);
    EXPECT_EQ(version.out, "Velnora v0.42\n");
    Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitDone);
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
    EXPECT_EQ(first.status, kExitDone) << first.err;
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
    EXPECT_EQ(result.status, kExitDone) << result.err;
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
    EXPECT_EQ(missing.status, kExitUsage);
    EXPECT_NE(missing.err.find("no such directory"), std::string::npos);
    test::MakeDir(home_ / "data/Empty.dat");
    Result empty = RunCli({"extract", home_.path() + "/data/Empty.dat"});
    EXPECT_EQ(empty.status, kExitNotDone);
    EXPECT_NE(empty.err.find("no stored response"), std::string::npos);
}

}  // namespace
}  // namespace velnora::cli

namespace velnora::cli {
namespace {

TEST_F(CliHome, AddMakesPagesAsTheNewPageCommandDoes) {
    test::MakeDir(home_ / "data/News.grp");
    Result first = RunCli({"add", "News/Site", "http://example.com/"});
    EXPECT_EQ(first.status, kExitDone) << first.err;
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

    EXPECT_EQ(RunCli({"add", "News/..", "http://x/"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"add", "News/Site", std::string(2101, 'u')}).status, kExitUsage);
    EXPECT_EQ(RunCli({"add", "News/Site"}).status, kExitUsage);
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
        EXPECT_EQ(result.status, kExitDone) << c.what;
        EXPECT_NE(result.err.find("velnora.ini: " + c.reason), std::string::npos)
            << c.what << ": " << result.err;
        // A check runs on the defaults and says that its statistics could not be saved.
        Result check = RunCli({"check"});
        EXPECT_NE(check.err.find("traffic statistics of this check are not saved"),
                  std::string::npos)
            << c.what << ": " << check.err;
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
    EXPECT_EQ(shown.status, kExitDone) << shown.err;
    EXPECT_EQ(shown.out, "# Site <http://example.com/>\nnew line <http://example.com/n>\n\n");
    test::WriteBytes(page + "/result.ini", "[RESULT]\r\nCODE=1\r\n");
    EXPECT_EQ(RunCli({"reload"}).out, "■Site <http://example.com/> : 更新なし\n");
    EXPECT_EQ(RunCli({"reload", "--all"}).out,
              "# Site <http://example.com/>\nnew line <http://example.com/n>\n\n");
    EXPECT_EQ(RunCli({"reload", "Missing"}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli

namespace velnora::cli {
namespace {

// A home with one page that has two update texts.
class CliResults : public CliHome {
  protected:
    CliResults() {
        std::string page = home_ / ("data/" + test::Sjis("ニュース.grp"));
        test::MakeDir(page);
        page += "/Site.dat";
        test::MakeDir(page);
        test::WriteBytes(page + "/site.ini", "[CONFIG]\r\nURL=http://example.com/\r\n");
        test::WriteBytes(
            page + "/add1.txt",
            test::Sjis("新しい <a href=\"http://example.com/n?a=1&amp;b=2\">記事</a>\r\n"
                       "<script>x</script>\r\n"));
        test::WriteBytes(page + "/add0.txt", test::Sjis("古いｶﾞｲﾄﾞ\r\n"));
        test::WriteBytes(page + "/index.txt", "1");
        test::WriteBytes(page + "/result.ini", "[RESULT]\r\nCODE=3\r\n");
        test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nHEADER=# %link; %date;\r\n");
    }
};

TEST_F(CliResults, SearchPrintsTheHitBlocksAndSaysWhetherItFoundAny) {
    Result found = RunCli({"search", "ガイド"});
    EXPECT_EQ(found.status, kExitDone) << found.err;
    EXPECT_EQ(found.out, "# Site <http://example.com/> \n古いｶﾞｲﾄﾞ\n\n");
    Result in_folder = RunCli({"search", "SCRIPT", "ニュース"});
    EXPECT_EQ(in_folder.out, "# Site <http://example.com/> \n<script>x</script>\n\n");
    Result none = RunCli({"search", "--", "-missing"});
    EXPECT_EQ(none.status, kExitNegative);
    EXPECT_EQ(none.out, "「-missing」は見つかりませんでした。\n");
}

TEST_F(CliResults, SearchRefusesBadUse) {
    const std::vector<std::vector<std::string>> bad = {
        {"search"},                         // no text
        {"search", ""},                     // an empty text
        {"search", std::string(129, 'x')},  // longer than 128 bytes
        {"search", "\xF0\x9F\x98\x80"},     // no Shift_JIS form
        {"search", "\tx"},                  // nothing searchable
        {"search", "-x"},                   // an unknown option
        {"search", "x", "Missing"},         // no such item
        {"search", "x", "a", "b"},          // too many operands
    };
    for (const std::vector<std::string>& args : bad) {
        Result result = RunCli(args);
        EXPECT_EQ(result.status, kExitUsage) << (args.size() > 1 ? args[1] : "");
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(RunCli({"search", std::string(128, 'x')}).status, kExitNegative)
        << "128 bytes are searched";
}

TEST_F(CliResults, ExportWritesWhatReloadShowsAsHtml) {
    std::string file = home_ / "out.html";
    Result written = RunCli({"export", file});
    EXPECT_EQ(written.status, kExitDone) << written.err;
    EXPECT_TRUE(written.out.empty());
    std::string html = test::ReadBytes(file);
    EXPECT_TRUE(html.starts_with("<!DOCTYPE HTML PUBLIC")) << html;
    EXPECT_NE(html.find("\r\n<body>\r\n# <a href=\"http://example.com/\">Site</a> "),
              std::string::npos)
        << html;
    EXPECT_NE(
        html.find(test::Sjis("新しい <a href=\"http://example.com/n?a=1&amp;b=2\">記事</a><br>\r\n"
                             "&lt;script&gt;x&lt;/script&gt;<br>\r\n")),
        std::string::npos)
        << html;
    EXPECT_TRUE(html.ends_with("\r\n</body>\r\n</html>\r\n"));

    Result to_stdout = RunCli({"export", "-", "ニュース/Site"});
    EXPECT_EQ(to_stdout.status, kExitDone);
    EXPECT_NE(to_stdout.out.find(test::Sjis("古いｶﾞｲﾄﾞ")), std::string::npos)
        << "a page shows its N_RELOAD texts";

    test::WriteBytes(test::Sjis(home_ / "data/ニュース.grp/Site.dat/result.ini"),
                     "[RESULT]\r\nCODE=1\r\n");
    EXPECT_EQ(RunCli({"export", "-"}).out.find(test::Sjis("新しい")), std::string::npos);
    EXPECT_NE(RunCli({"export", "--all", "-"}).out.find(test::Sjis("新しい")), std::string::npos);
}

TEST_F(CliResults, ExportRefusesBadUseAndReportsAFileItCannotWrite) {
    EXPECT_EQ(RunCli({"export"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"export", "--frob", "x.html"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"export", "a.html", "b", "c"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"export", home_ / "x.html", "Missing"}).status, kExitUsage);
    Result unwritable = RunCli({"export", home_ / "no/such/dir.html"});
    EXPECT_EQ(unwritable.status, kExitNotDone);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace velnora::cli

namespace velnora::cli {
namespace {

TEST_F(CliHome, EveryCommandAnswersWithTheSharedExitStatuses) {
    std::string gone = MakePage("Gone.dat", "HTTP/1.1 404 Not Found\r\n\r\n");
    std::string cut = MakePage("Cut.dat", "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n<p>a");
    test::MakeDir(home_ / "data/Nothing.dat");
    struct Row {
        std::vector<std::string> args;
        int status;
    };
    const Row rows[] = {
        {{"check", "Missing"}, kExitUsage}, {{"reload", "Missing"}, kExitUsage},
        {{"add", "OnlyAName"}, kExitUsage}, {{"process", gone}, kExitNegative},
        {{"process", cut}, kExitNotDone},   {{"process", home_ / "data/Nothing.dat"}, kExitNotDone},
        {{"extract", gone}, kExitNotDone},  {{"list"}, kExitDone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + (row.args.size() > 1 ? row.args[1] : ""));
        EXPECT_EQ(RunCli(row.args).status, row.status);
    }
    EXPECT_FALSE(test::Exists(cut + "/log1.txt")) << "a cut response is not filed";
    Result help = RunCli({"--help"});
    EXPECT_NE(help.out.find("Exit status:\n  0  the work was done"), std::string::npos);
    EXPECT_NE(help.out.find("\n  4  another program is writing"), std::string::npos);
}

TEST_F(CliHome, CheckSaysWhetherAPageEndedInAnErrorLine) {
    Result nothing = RunCli({"check"});
    EXPECT_EQ(nothing.status, kExitDone) << nothing.err;
    test::MakeDir(home_ / "data/NoUrl.dat");
    Result failed = RunCli({"check"});
    EXPECT_EQ(failed.status, kExitNegative) << failed.out;
    EXPECT_NE(failed.out.find("URL未設定。"), std::string::npos);
}

TEST_F(CliHome, ControlCharactersAreShownEscaped) {
    std::string page = MakePage("Site.dat", kResponse);
    test::WriteBytes(page + "/add1.txt", "x\x1b]0;title\x07y\tz\x7f&#27;[1m\r\n");
    test::WriteBytes(page + "/index.txt", "1");
    test::WriteBytes(page + "/result.ini", "[RESULT]\r\nCODE=3\r\n");
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nHEADER=#\r\n");
    // The reference &#27; becomes the escape character when the text is shown.
    EXPECT_EQ(RunCli({"reload"}).out, "#\nx\\x1b]0;title\\x07y\tz\\x7f\\x1b[1m\n\n");
    std::string gone = MakePage("Gone.dat", "HTTP/1.1 404 \x1b[2JGone\r\n\r\n");
    EXPECT_NE(RunCli({"process", gone}).err.find("HTTPエラー (HTTP/1.1 404 \\x1b[2JGone)"),
              std::string::npos);
}

TEST_F(CliHome, AddRefusesAUrlWithControlCharacters) {
    for (const char* url : {"http://x/\r\nDISABLE_AUTO_CHECK=1", "http://x/\ta", "http://x/\x1b"}) {
        SCOPED_TRACE(url);
        Result result = RunCli({"add", "Site", url});
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_NE(result.err.find("control character"), std::string::npos);
        EXPECT_FALSE(test::Exists(home_ / "data/Site.dat"));
    }
}

TEST_F(CliHome, AddMakesTheMissingFoldersOfItsPathOrChangesNothing) {
    Result news = RunCli({"add", "News/Example", "http://example.com/"});
    EXPECT_EQ(news.status, kExitDone) << news.err;
    EXPECT_TRUE(test::Exists(home_ / "data/News.grp/Example.dat/site.ini"));
    EXPECT_EQ(RunCli({"add", "A/B/C/Page", "http://example.com/"}).status, kExitDone);
    EXPECT_TRUE(test::Exists(home_ / "data/A.grp/B.grp/C.grp/Page.dat/site.ini"));
    EXPECT_EQ(RunCli({"add", "News/Example/Sub", "http://example.com/"}).status, kExitUsage)
        << "a page is no folder";

    // Failures after folders were made take them back.
    Result too_long = RunCli({"add", "New/" + std::string(240, 'a'), "http://example.com/"});
    EXPECT_EQ(too_long.status, kExitNotDone);
    EXPECT_FALSE(test::Exists(home_ / "data/New.grp"));
    {
        test::FileSizeLimit full_disk(0);
        Result unwritten = RunCli({"add", "Full/Site", "http://example.com/"});
        EXPECT_EQ(unwritten.status, kExitNotDone);
        EXPECT_EQ(unwritten.out, "") << "no \"added\"";
    }
    EXPECT_FALSE(test::Exists(home_ / "data/Full.grp"));
}

TEST_F(CliHome, CommandsThatWriteRefuseOrWaitWhileAnotherProgramWrites) {
    std::string page = MakePage("Site.dat", kResponse);
    test::LockHolder holder(home_.path() + "/", "velnora");
    ASSERT_TRUE(holder.took());
    const std::vector<std::string> writers[] = {{"check"},
                                                {"check", "--due"},
                                                {"interval", "Site", "5"},
                                                {"add", "Other", "http://example.com/"},
                                                {"process", page}};
    for (const auto& args : writers) {
        SCOPED_TRACE(args[0]);
        Result refused = RunCli(args);
        EXPECT_EQ(refused.status, kExitLocked);
        EXPECT_NE(refused.err.find(holder.name() + " is writing to the program home"),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_FALSE(test::Exists(home_ / "data/Other.dat"));
    EXPECT_FALSE(test::Exists(page + "/log1.txt"));
    for (const std::vector<std::string>& readers :
         {std::vector<std::string>{"list"}, {"reload"}, {"extract", page}}) {
        EXPECT_EQ(RunCli(readers).status, kExitDone) << readers[0] << " takes no lock";
    }

    std::string holder_name = holder.name();
    auto waiting = std::async(std::launch::async, [] {
        return RunCli({"add", "--wait", "Other", "http://example.com/"});
    });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    holder.Release();
    Result added = waiting.get();
    EXPECT_EQ(added.status, kExitDone) << added.err;
    EXPECT_NE(added.err.find("waiting for " + holder_name), std::string::npos);
    EXPECT_TRUE(test::Exists(home_ / "data/Other.dat/site.ini"));
}

TEST_F(CliHome, IntervalSetsPagesFoldersAndTheDataDirectory) {
    std::string page = MakePage("News.grp/Site.dat", kResponse);
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* out;
    } rows[] = {
        {{"interval", "News/Site", "90"}, kExitDone, "News/Site: every 90 minutes\n"},
        {{"interval", "News", "0"}, kExitDone, "News: only by hand\n"},
        {{"interval", "/", "30"}, kExitDone, "data: every 30 minutes\n"},
        {{"interval", "News", "folder"}, kExitDone, "News: as its folder\n"},
        {{"interval", "/", "folder"}, kExitUsage, ""},
        {{"interval", "News/Site", "-1"}, kExitUsage, ""},
        {{"interval", "News/Site", "525601"}, kExitUsage, ""},
        {{"interval", "News/Site", "5x"}, kExitUsage, ""},
        {{"interval", "News/Site"}, kExitUsage, ""},
        {{"interval", "Missing", "5"}, kExitUsage, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[1] + " " + (row.args.size() > 2 ? row.args[2] : ""));
        Result result = RunCli(row.args);
        EXPECT_EQ(result.status, row.status) << result.err;
        EXPECT_EQ(result.out, row.out);
    }
    EXPECT_EQ(test::ReadBytes(page + "/site.ini"),
              "[CONFIG]\r\nURL=http://example.com/\r\nCHECK_INTERVAL=90\r\n")
        << "only the key is added";
    EXPECT_FALSE(test::Exists(home_ / "data/News.grp/group.ini") &&
                 test::ReadBytes(home_ / "data/News.grp/group.ini").find("CHECK_INTERVAL") !=
                     std::string::npos)
        << "following the folder again leaves no key";
    EXPECT_NE(test::ReadBytes(home_ / "velnora.ini").find("CHECK_INTERVAL=30\r\n"),
              std::string::npos);
}

TEST_F(CliHome, CheckDueChecksOnlyThePagesWhoseIntervalHasPassed) {
    // Nothing has an interval: nothing is due, nothing is said, nothing is written.
    std::string waiting = MakePage("Waiting.dat", kResponse);
    test::MakeDir(home_ / "data/Due.dat");  // no URL: its check ends in an error line at once
    Result nothing = RunCli({"check", "--due"});
    EXPECT_EQ(nothing.status, kExitDone) << nothing.err;
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(store::ReadLastCheck(home_ / "data/Due.dat"), 0);

    ASSERT_EQ(RunCli({"interval", "/", "60"}).status, kExitDone);
    ASSERT_TRUE(
        store::WriteLastCheck(waiting, std::time(nullptr) - 30 * 60));  // half its interval ago
    Result due = RunCli({"check", "--due"});
    EXPECT_EQ(due.status, kExitNegative) << due.out;
    EXPECT_NE(due.out.find("Due --- エラー : URL未設定。"), std::string::npos) << due.out;
    EXPECT_EQ(due.out.find("Waiting"), std::string::npos) << "not due yet";
    EXPECT_GT(store::ReadLastCheck(home_ / "data/Due.dat"), 0);
    Result again = RunCli({"check", "--due"});
    EXPECT_EQ(again.out, "") << "checked a moment ago: not due again";

    // Outside the active hours nothing is due.
    ASSERT_TRUE(store::WriteLastCheck(home_ / "data/Due.dat", 0));
    std::tm local{};
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &local);
    int minute = local.tm_hour * 60 + local.tm_min;
    test::WriteBytes(
        home_ / "velnora.ini",
        "[CONFIG]\r\nCHECK_INTERVAL=60\r\nACTIVE_FROM=" + std::to_string((minute + 120) % 1440) +
            "\r\nACTIVE_TO=" + std::to_string((minute + 180) % 1440) + "\r\n");
    EXPECT_EQ(RunCli({"check", "--due"}).out, "");
}

TEST_F(CliHome, CheckJsonGivesOneObjectAPageAndNothingElse) {
    test::MakeDir(home_ / "data/F.grp/No \"URL\".dat");
    Result json = RunCli({"check", "--json"});
    EXPECT_EQ(json.status, kExitNegative);
    EXPECT_EQ(json.out,
              "{\"name\":\"No \\\"URL\\\"\",\"path\":\"F/No \\\"URL\\\"\",\"url\":\"\","
              "\"code\":4,\"result\":\"error\",\"lines\":[],\"error\":\"URL未設定。\"}\n");
    EXPECT_EQ(RunCli({"check", "--notify-command"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"check", "--notify-command="}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli
