// A check must never claim success when a page's files could not be read or written, never
// leave a ring that points nowhere, and never lose history that is still on disk.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "processing/page_check.h"
#include "store/page_files.h"
#include "support/file_size_limit.h"
#include "support/hostile_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::processing {
namespace {

namespace fs = std::filesystem;
using test::Sjis;

class RecordingObserver : public PipelineObserver {
  public:
    void SetStatusText(std::string_view) override {}
    void ErrorLine(std::string_view message) override { errors.emplace_back(message); }
    void StatusLine(std::string_view text) override { status_lines.emplace_back(text); }

    std::vector<std::string> errors;
    std::vector<std::string> status_lines;
};

constexpr char kResponse[] =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>kept line</p><p>new line</p>";
constexpr char kOldLog[] = "\r\nkept line";
constexpr char kOldUpdate[] = "kept line\r\n";

// A page that was checked once before: log1.txt and add1.txt are its newest slot.
class TestPage {
  public:
    TestPage() {
        page_ = temp_ / "page.dat";
        test::MakeDir(page_);
        Write("site.ini", "[CONFIG]\r\nURL=http://example.com/\r\nUSE_OLD_LOG=1\r\n");
        Write("htmltmp.txt", kResponse);
        Write("log1.txt", kOldLog);
        Write("add1.txt", kOldUpdate);
        Write("index.txt", "1");
        input_.page_directory = page_;
    }

    std::string Path(std::string_view name) const { return page_ + "/" + std::string(name); }
    void Write(std::string_view name, std::string_view bytes) {
        test::WriteBytes(Path(name), bytes);
    }
    std::string Read(std::string_view name) const { return test::ReadBytes(Path(name)); }

    CheckOutcome Run() {
        std::atomic<bool> closing{false};
        return RunPageCheck(input_, observer_, closing);
    }

    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(page_)) {
            if (entry.path().filename().string().find(".tmp") != std::string::npos) {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    test::TempDir temp_;
    std::string page_;
    PageCheckInput input_;
    RecordingObserver observer_;
};

TEST(PageCheckFailures, AFileThatCannotBeReadOrWrittenIsAnErrorAndTheHistoryStays) {
    struct Case {
        const char* what;
        std::function<void(TestPage&)> make;
        std::string message;
        rlim_t file_size_limit = RLIM_INFINITY;
    };
    const std::string write_failed = Sjis("ファイル書き込み失敗 (");
    const std::string read_failed = Sjis("ファイル読み込み失敗 (");
    const std::vector<Case> cases = {
        {"the disk is full while new.txt is written", [](auto&) {},
         write_failed + "new.txt: File too large)", 8},
        {"add.txt is a directory", [](auto& t) { test::MakeDir(t.Path("add.txt")); },
         write_failed + "add.txt: Not a regular file)"},
        {"the next past log is a directory", [](auto& t) { test::MakeDir(t.Path("log2.txt")); },
         write_failed + "log2.txt: Not a regular file)"},
        {"the next update text is a link out of the page",
         [](auto& t) {
             test::WriteBytes(t.temp_ / "outside", "outside");
             ASSERT_TRUE(test::MakeSymlink(t.temp_ / "outside", t.Path("add2.txt")));
         },
         write_failed + "add2.txt: Is a symbolic link)"},
        {"index.txt is a directory",
         [](auto& t) {
             fs::remove(t.Path("index.txt"));
             test::MakeDir(t.Path("index.txt"));
         },
         write_failed + "index.txt: Not a regular file)"},
        {"new.txt is a link out of the page",
         [](auto& t) {
             test::WriteBytes(t.temp_ / "outside", "outside");
             ASSERT_TRUE(test::MakeSymlink(t.temp_ / "outside", t.Path("new.txt")));
         },
         write_failed + "new.txt: Is a symbolic link)"},
        {"htmltmp.txt is a FIFO",
         [](auto& t) {
             fs::remove(t.Path("htmltmp.txt"));
             ASSERT_TRUE(test::MakeFifo(t.Path("htmltmp.txt")));
         },
         read_failed + "htmltmp.txt: Not a regular file)"},
        {"the latest past log is a FIFO",
         [](auto& t) {
             fs::remove(t.Path("log1.txt"));
             ASSERT_TRUE(test::MakeFifo(t.Path("log1.txt")));
         },
         read_failed + "log1.txt: Not a regular file)"},
        {"an older past log searched for the new lines is a directory",
         [](auto& t) {
             t.input_.settings.use_old_log = 2;
             test::MakeDir(t.Path("log0.txt"));
         },
         read_failed + "log0.txt: Not a regular file)"},
        {"the page directory is a link",
         [](auto& t) {
             fs::rename(t.page_, t.temp_ / "elsewhere");
             ASSERT_TRUE(test::MakeSymlink(t.temp_ / "elsewhere", t.page_));
         },
         write_failed + "page.dat: Is a symbolic link)"},
    };
    for (const Case& c : cases) {
        TestPage t;
        c.make(t);
        CheckOutcome outcome;
        {
            test::FileSizeLimit limit(c.file_size_limit);
            outcome = t.Run();
        }
        EXPECT_EQ(outcome, CheckOutcome::FileError) << c.what;
        EXPECT_EQ(t.observer_.errors, std::vector<std::string>{c.message}) << c.what;
        if (!fs::is_directory(t.Path("index.txt"))) {
            EXPECT_EQ(t.Read("index.txt"), "1") << c.what;
        }
        if (fs::is_regular_file(t.Path("log1.txt"))) {
            EXPECT_EQ(t.Read("log1.txt"), kOldLog) << c.what;
        }
        EXPECT_EQ(t.Read("add1.txt"), kOldUpdate) << c.what;
        EXPECT_FALSE(fs::is_regular_file(t.Path("log2.txt"))) << c.what;
        if (test::Exists(t.temp_ / "outside")) {
            EXPECT_EQ(test::ReadBytes(t.temp_ / "outside"), "outside") << c.what;
        }
        EXPECT_EQ(t.TemporaryFiles(), std::vector<std::string>{}) << c.what;
    }
}

TEST(PageCheckFailures, TheSameCheckSucceedsOnceNothingStandsInTheWay) {
    TestPage t;
    EXPECT_EQ(t.Run(), CheckOutcome::Updated);
    EXPECT_EQ(t.observer_.errors, std::vector<std::string>{});
    EXPECT_EQ(t.Read("index.txt"), "2");
    EXPECT_EQ(t.Read("add2.txt"), "new line\r\n");
    EXPECT_EQ(t.Read("log1.txt"), kOldLog);
}

// Logs written one after the other, the last one the newest.
void WriteLogsInOrder(TestPage& t, const std::vector<int>& slots) {
    auto time = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (int slot : slots) {
        t.Write(store::LogFileName(slot), slot == slots.back() ? kOldLog : "\r\nolder text");
        fs::last_write_time(t.Path(store::LogFileName(slot)), time);
        time += std::chrono::seconds(1);
    }
}

TEST(PageCheckRing, ADamagedIndexIsRebuiltAndTheHistoryKept) {
    const std::vector<std::string> damaged = {"", "abc", "40", "7"};
    for (const std::string& index : damaged) {
        TestPage t;
        fs::remove(t.Path("log1.txt"));
        fs::remove(t.Path("add1.txt"));
        WriteLogsInOrder(t, {22, 23, 24, 0, 1, 2, 3});
        t.Write("add3.txt", kOldUpdate);
        t.Write("add2.txt", "older update\r\n");
        t.Write("index.txt", index);
        EXPECT_EQ(t.Run(), CheckOutcome::Updated) << "index '" << index << "'";
        EXPECT_EQ(t.Read("add4.txt"), "new line\r\n") << "only the line new since log3.txt";
        EXPECT_EQ(t.Read("index.txt"), "4");
        EXPECT_EQ(t.Read("log3.txt"), kOldLog) << "the newest history is kept";
        EXPECT_EQ(t.Read("add3.txt"), kOldUpdate);
        EXPECT_EQ(t.Read("add2.txt"), "older update\r\n");
    }
}

TEST(PageCheckBounds, TheTextOfAPageIsCutAtItsBoundWithAStatusLine) {
    TestPage t;
    t.input_.settings.as_text = 1;
    std::string body;
    const std::string line = "0123456789abcdefghijklmnopqrstuvwxyz\n";
    while (body.size() < (5u << 20)) {
        body += line;
    }
    t.Write("htmltmp.txt", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body);
    fs::remove(t.Path("log1.txt"));
    EXPECT_EQ(t.Run(), CheckOutcome::FirstCheck);
    std::string log = t.Read("log2.txt");
    std::size_t crs = static_cast<std::size_t>(std::count(log.begin(), log.end(), '\r'));
    EXPECT_EQ(log.size() - crs, std::size_t{4} << 20) << "the text stops at 4 MiB";
    EXPECT_EQ(t.observer_.status_lines,
              std::vector<std::string>{Sjis("抽出テキストが4MBを超えたため、以降を省略しました")});
}

TEST(PageCheckRing, TemporaryFilesOfKilledWritersAreRemovedWhenThePageIsFiled) {
    TestPage t;
    pid_t child = test::EndedProcessId();
    std::string stale = "new.txt.tmp" + std::to_string(child) + "-3";
    std::string live = "add.txt.tmp" + std::to_string(::getpid()) + "-999";
    t.Write(stale, "left by a killed check");
    t.Write(live, "being written");
    EXPECT_EQ(t.Run(), CheckOutcome::Updated);
    EXPECT_EQ(t.TemporaryFiles(), std::vector<std::string>{live});
}

}  // namespace
}  // namespace velnora::processing
