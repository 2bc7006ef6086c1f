#include "fetch/check_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "fakes.h"
#include "store/log_index.h"
#include "store/page_tree.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "support/hostile_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

using test::FakeLoop;
using test::FakeTransport;
using test::RecordingObserver;

const char kPage[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>first line</p>";
const char kChangedPage[] =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>first line</p><p>new line</p>";

// A program home with a tree of pages, and a check over it with fakes around.
class CheckRunTest : public testing::Test {
  protected:
    CheckRunTest() : tree_(home_.path() + "/") {
        settings_.finish_message = 1;
        settings_.retry = 3;
        settings_.timeout = 30;
    }

    std::string AddPage(const std::string& relative, const std::string& url, int disabled = 0) {
        std::string dir = home_ / ("data/" + relative);
        velnora::test::MakeDir(dir);
        store::PageSettings page;
        page.url = url;
        page.disable_auto_check = disabled;
        EXPECT_EQ(store::WritePageSettings(dir, page), 0);
        return dir;
    }

    void Populate() {
        velnora::test::MakeDir(home_ / "data");
        store::PopulateTree(tree_);
        run_ = std::make_unique<CheckRun>(tree_, transport_, loop_, observer_, stats_);
    }

    store::ItemId Item(const std::string& path) {
        store::ItemId item = tree_.root();
        std::size_t start = 0;
        while (start < path.size()) {
            std::size_t end = path.find('/', start);
            std::string name = path.substr(start, end == std::string::npos ? end : end - start);
            store::ItemId child = tree_.FirstChild(item);
            while (child != 0 && tree_.Find(child)->name != name) {
                child = tree_.NextSibling(child);
            }
            EXPECT_NE(child, 0u) << path;
            item = child;
            start = end == std::string::npos ? path.size() : end + 1;
        }
        return item;
    }

    // Resolves every pending lookup and serves every new connection with the response.
    void ServeAll(const std::string& response) {
        while (!transport_.lookups.empty()) {
            transport_.Resolve(transport_.lookups.begin()->first);
        }
        for (SocketId socket : transport_.open_order) {
            auto& c = transport_.connections[socket];
            if (!c.closed_by_us && c.sent.empty()) {
                transport_.Serve(socket, response);
            }
        }
    }

    bool Finished() { return !run_->running(); }

    velnora::test::TempDir home_;
    store::PageTree tree_;
    FakeTransport transport_;
    FakeLoop loop_;
    RecordingObserver observer_;
    TrafficStats stats_;
    CheckSettings settings_;
    std::unique_ptr<CheckRun> run_;
};

TEST_F(CheckRunTest, SinglePageFirstCheckThenUpdate) {
    std::string dir = AddPage("Site.dat", "http://site.example/index.html");
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    ASSERT_EQ(transport_.looked_up, std::vector<std::string>{"site.example"});
    EXPECT_TRUE(observer_.Has("lock"));
    EXPECT_FALSE(observer_.Has("clear")) << "a single page does not clear the pane at once";
    ServeAll(kPage);
    SocketId socket = transport_.LastSocket();
    EXPECT_EQ(transport_.connections[socket].port, 80);
    EXPECT_EQ(transport_.connections[socket].sent.rfind("GET /index.html HTTP/1.1\r\n", 0), 0u);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_TRUE(observer_.Has("status Site: 初期化しました。"));
    EXPECT_TRUE(observer_.Has("finish 更新はありません"));
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_NO_CHANGE);
    EXPECT_EQ(velnora::test::ReadBytes(dir + "/html.txt"), kPage);
    EXPECT_FALSE(velnora::test::Exists(dir + "/htmltmp.txt"));
    EXPECT_EQ(stats_.run_pages(), 1);
    EXPECT_EQ(stats_.run_bytes(), sizeof kPage - 1);

    observer_.events.clear();
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kChangedPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_EQ(observer_.events,
              (std::vector<std::string>{"unmark " + std::to_string(Item("Site")), "lock", "clear",
                                        "results Site 3", "mark " + std::to_string(Item("Site")),
                                        "finish 1 件の更新がありました", "unlock"}));
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_UPDATED);
    EXPECT_EQ(run_->updated_pages(), 1);
}

TEST_F(CheckRunTest, FolderCheckOpensEightThenKeepsFourConnections) {
    for (int i = 0; i < 10; ++i) {
        AddPage("Many.grp/p" + std::to_string(i) + ".dat",
                "http://h" + std::to_string(i) + ".example/");
    }
    Populate();
    run_->StartCheck(Item("Many"), settings_);
    EXPECT_EQ(transport_.looked_up.size(), 8u) << "eight fetches at the start";
    EXPECT_TRUE(observer_.Has("clear"));
    // Finish five of them: the next pages start only while fewer than four are open.
    for (int i = 0; i < 5; ++i) {
        LookupId lookup = transport_.lookups.begin()->first;
        transport_.Resolve(lookup);
        transport_.Serve(transport_.LastSocket(), kPage);
    }
    // Sessions keep their pages until processed; then they are refilled.
    ASSERT_TRUE(loop_.RunUntil([&] { return observer_.Count("status p") == 5; }));
    loop_.RunPending();
    EXPECT_EQ(transport_.lookups.size(), 4u) << "three left from the start, one new";
    EXPECT_EQ(transport_.looked_up.size(), 9u);
    while (!Finished()) {
        ServeAll(kPage);
        loop_.RunUntil([&] { return transport_.lookups.size() > 0 || Finished(); });
        loop_.Tick();
    }
    EXPECT_EQ(transport_.looked_up.size(), 10u);
    EXPECT_EQ(observer_.Count("status p"), 10);
}

TEST_F(CheckRunTest, WalkSkipsDisabledPagesAndFoldersButNotASinglePage) {
    AddPage("On.grp/a.dat", "http://a.example/");
    AddPage("On.grp/off.dat", "http://off.example/", 1);
    AddPage("Off.grp/b.dat", "http://b.example/");
    AddPage("Off.grp/Inner.grp/c.dat", "http://c.example/");
    EXPECT_EQ(store::WriteFolderSettings(home_ / "data/Off.grp", store::FolderSettings{1}), 0);
    AddPage("top.dat", "http://top.example/");
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    EXPECT_EQ(transport_.looked_up, (std::vector<std::string>{"a.example", "top.example"}));
    ServeAll(kPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    transport_.looked_up.clear();
    run_->StartCheck(Item("On/off"), settings_);
    EXPECT_EQ(transport_.looked_up, (std::vector<std::string>{"off.example"}));
}

TEST_F(CheckRunTest, AnEmptyFolderStartsNothingAndGivesNoNotice) {
    velnora::test::MakeDir(home_ / "data/Empty.grp");
    Populate();
    run_->StartCheck(Item("Empty"), settings_);
    EXPECT_FALSE(run_->running());
    EXPECT_TRUE(observer_.events.size() == 1 && observer_.Count("unmark") == 1);
    EXPECT_FALSE(loop_.TicksRunning());
}

TEST_F(CheckRunTest, RetriesThenGivesUpKeepingThePreviousResult) {
    std::string dir = AddPage("Site.dat", "http://site.example/");
    EXPECT_EQ(store::WriteResultCode(dir, store::RESULT_UPDATED), 0);
    Populate();
    settings_.retry = 2;
    run_->StartCheck(Item("Site"), settings_);
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_EQ(transport_.lookups.size(), 1u) << attempt;
        transport_.Resolve(transport_.lookups.begin()->first);
        transport_.Error(transport_.LastSocket(), SocketError::kFailed, "reset");
    }
    EXPECT_TRUE(transport_.lookups.empty()) << "three attempts with RETRY 2";
    EXPECT_TRUE(observer_.Has("error Site: ｿｹｯﾄｲﾍﾞﾝﾄ通知ｴﾗｰ"));
    loop_.RunPending();
    loop_.Tick();
    EXPECT_TRUE(Finished());
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_UPDATED) << "a page given up keeps it";
}

TEST_F(CheckRunTest, FailuresThatAreNotRetriedRecordAnError) {
    std::string no_url = AddPage("a.dat", "");
    std::string bad_url = AddPage("b.dat", "gopher://x/");
    std::string tls = AddPage("c.dat", "https://secure.example/");
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    EXPECT_TRUE(observer_.Has("error a: URL未設定。"));
    EXPECT_TRUE(observer_.Has("error b: URL解析失敗"));
    EXPECT_EQ(store::ReadResultCode(no_url), store::RESULT_ERROR);
    EXPECT_EQ(store::ReadResultCode(bad_url), store::RESULT_ERROR);
    transport_.Resolve(transport_.lookups.begin()->first);
    SocketId socket = transport_.LastSocket();
    EXPECT_EQ(transport_.connections[socket].port, 443);
    transport_.Connected(socket);
    EXPECT_EQ(transport_.connections[socket].tls_peer, "secure.example");
    transport_.Error(socket, SocketError::kTls, "certificate has expired");
    EXPECT_TRUE(transport_.lookups.empty()) << "no retry after a TLS failure";
    EXPECT_TRUE(observer_.Has("error c: SSL/TLS接続失敗 (certificate has expired)"));
    EXPECT_EQ(store::ReadResultCode(tls), store::RESULT_ERROR);
}

TEST_F(CheckRunTest, TimeOutCountsTicksFromTheRequestEvenWhileDataArrives) {
    AddPage("Site.dat", "http://site.example/");
    Populate();
    settings_.retry = 0;
    settings_.timeout = 5;  // 20 ticks
    run_->StartCheck(Item("Site"), settings_);
    transport_.Resolve(transport_.lookups.begin()->first);
    SocketId socket = transport_.LastSocket();
    transport_.Connected(socket);
    for (int i = 0; i < 19; ++i) {
        transport_.Arrive(socket, "x");
        loop_.Tick();
    }
    EXPECT_FALSE(observer_.Has("error Site: タイムアウト発生"));
    loop_.Tick();
    EXPECT_TRUE(observer_.Has("error Site: タイムアウト発生"));
    EXPECT_TRUE(Finished());
}

TEST_F(CheckRunTest, AbortReportsOpenFetchesAndQueuedPages) {
    for (int i = 0; i < 3; ++i) {
        AddPage("p" + std::to_string(i) + ".dat", "http://h" + std::to_string(i) + ".example/");
    }
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    run_->AbortCheck();
    EXPECT_EQ(observer_.Count("status p"), 3);
    EXPECT_TRUE(observer_.Has("status p0: 通信を中止しました。"));
    EXPECT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_TRUE(observer_.Has("finish 更新はありません")) << "the notice is still given";
}

TEST_F(CheckRunTest, ResponsesAreProcessedInTheOrderTheyCompleted) {
    for (const char* name : {"a", "b", "c"}) {
        AddPage(std::string(name) + ".dat", std::string("http://") + name + ".example/");
    }
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    std::map<std::string, LookupId> by_host;
    for (const auto& [lookup, host] : transport_.lookups) {
        by_host[host] = lookup;
    }
    // c completes first, then a, then b, before any of them is handed to the worker.
    for (const char* host : {"c.example", "a.example", "b.example"}) {
        transport_.Resolve(by_host[host]);
        transport_.Serve(transport_.LastSocket(), kPage);
    }
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    std::vector<std::string> order;
    for (const std::string& event : observer_.events) {
        if (event.rfind("status ", 0) == 0) {
            order.push_back(event.substr(7, 1));
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(CheckRunTest, NotModifiedKeepsTheStoredResponse) {
    std::string dir = AddPage("Site.dat", "http://site.example/");
    velnora::test::WriteBytes(dir + "/html.txt",
                              "HTTP/1.1 200 OK\r\nLast-Modified: Mon, 07 Dec 2026 10:00:00 GMT\r\n"
                              "\r\n<p>x</p>");
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    transport_.Resolve(transport_.lookups.begin()->first);
    SocketId socket = transport_.LastSocket();
    transport_.Serve(socket, "HTTP/1.1 304 Not Modified\r\n\r\n");
    EXPECT_NE(transport_.connections[socket].sent.find(
                  "If-Modified-Since: Mon, 07 Dec 2026 10:00:00 GMT\r\n"),
              std::string::npos);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_TRUE(observer_.Has("status Site: 最終更新日に変化なし"));
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_NOT_MODIFIED);
    EXPECT_NE(velnora::test::ReadBytes(dir + "/html.txt").find("<p>x</p>"), std::string::npos);
    EXPECT_FALSE(velnora::test::Exists(dir + "/htmltmp.txt"));
}

TEST_F(CheckRunTest, AResetResponseIsRetriedNotProcessed) {
    std::string dir = AddPage("Site.dat", "http://site.example/");
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    transport_.Resolve(transport_.lookups.begin()->first);
    SocketId first = transport_.LastSocket();
    transport_.Connected(first);
    transport_.Arrive(first, "HTTP/1.1 200 OK\r\n\r\n<p>trunc");
    transport_.Error(first, SocketError::kFailed, "Connection reset by peer");
    ASSERT_EQ(transport_.lookups.size(), 1u) << "retried";
    ServeAll(kPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_EQ(velnora::test::ReadBytes(dir + "/html.txt"), kPage);
    EXPECT_EQ(store::ReadLogIndex(dir), 1);
}

TEST_F(CheckRunTest, ClosingWaitsForThePageBeingProcessed) {
    AddPage("Site.dat", "http://site.example/");
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kPage);
    bool retried = false;
    // The fetch is complete; handing it to the worker is posted.
    loop_.RunPending();
    if (run_->busy_state() == BusyState::kProcessing) {
        EXPECT_FALSE(run_->RequestClose([&] { retried = true; }));
        ASSERT_TRUE(loop_.RunUntil([&] { return retried; }));
    }
    EXPECT_TRUE(run_->RequestClose([] {}));
}

TEST_F(CheckRunTest, ReloadShowsStoredResultsWithoutFetching) {
    AddPage("F.grp/a.dat", "http://a.example/");
    AddPage("F.grp/b.dat", "http://b.example/", 1);
    Populate();
    run_->Reload(Item("F"), false, settings_);
    EXPECT_EQ(observer_.events,
              (std::vector<std::string>{"lock", "clear", "results a 0", "unlock"}));
    observer_.events.clear();
    run_->Reload(Item("F/a"), false, settings_);
    EXPECT_TRUE(observer_.Has("results a 3"));
    EXPECT_TRUE(transport_.looked_up.empty());
}

}  // namespace
}  // namespace velnora::fetch

namespace velnora::fetch {
namespace {

TEST_F(CheckRunTest, LookupAndSocketFailuresHaveTheirTexts) {
    std::string failing_lookup = AddPage("a.dat", "http://nowhere.example/");
    std::string no_socket = AddPage("b.dat", "http://192.0.2.7/");
    Populate();
    settings_.retry = 1;
    transport_.refuse_sockets = true;
    run_->StartCheck(tree_.root(), settings_);
    EXPECT_TRUE(observer_.Has("error b: ソケット作成失敗")) << "a dotted address needs no lookup";
    EXPECT_EQ(store::ReadResultCode(no_socket), store::RESULT_ERROR);
    transport_.FailLookup(transport_.lookups.begin()->first);
    ASSERT_EQ(transport_.lookups.size(), 1u) << "a failed lookup is retried";
    transport_.FailLookup(transport_.lookups.begin()->first);
    EXPECT_TRUE(observer_.Has("error a: ｻｰﾊﾞIPｱﾄﾞﾚｽ取得失敗"));
    EXPECT_EQ(store::ReadResultCode(failing_lookup), store::RESULT_NONE);

    observer_.events.clear();
    loop_.Tick();
    transport_.refuse_lookups = true;
    run_->StartCheck(Item("a"), settings_);
    EXPECT_TRUE(observer_.Has("error a: ｻｰﾊﾞIPｱﾄﾞﾚｽの取得失敗"));
    EXPECT_EQ(store::ReadResultCode(failing_lookup), store::RESULT_ERROR);
}

TEST_F(CheckRunTest, APageWhoseFilesCannotBeWrittenEndsInAnErrorLineNotAnUpdate) {
    std::string dir = AddPage("Site.dat", "http://site.example/index.html");
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    // Something that is no file now stands where the index is replaced.
    std::filesystem::remove(dir + "/index.txt");
    velnora::test::MakeDir(dir + "/index.txt");

    observer_.events.clear();
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kChangedPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_TRUE(observer_.Has("error Site: ファイル書き込み失敗 (index.txt: Not a regular file)"));
    EXPECT_TRUE(observer_.Has("finish 更新はありません")) << "no update is claimed";
    EXPECT_EQ(run_->updated_pages(), 0);
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_ERROR);
    EXPECT_EQ(velnora::test::ReadBytes(dir + "/html.txt"), kPage)
        << "the old response stays, so the next check fetches the page whole";
    EXPECT_FALSE(velnora::test::Exists(dir + "/htmltmp.txt"));
}

TEST_F(CheckRunTest, APageWhoseSiteIniCannotBeReadEndsInAnErrorLineWithoutWaiting) {
    struct Case {
        const char* name;
        std::function<void(const std::string& file)> make;
        std::string line;
    };
    const Case cases[] = {
        {"Fifo", [](const std::string& f) { ASSERT_TRUE(velnora::test::MakeFifo(f)); },
         "error Fifo: ファイル読み込み失敗 (site.ini: Not a regular file)"},
        {"Directory", [](const std::string& f) { velnora::test::MakeDir(f); },
         "error Directory: ファイル読み込み失敗 (site.ini: Not a regular file)"},
        {"Huge",
         [](const std::string& f) { velnora::test::WriteBytes(f, std::string(1048577, '\n')); },
         "error Huge: ファイル読み込み失敗 (site.ini: Larger than 1048576 bytes)"},
    };
    velnora::test::MakeDir(home_ / "data");
    for (const Case& c : cases) {
        std::string dir = home_ / ("data/" + std::string(c.name) + ".dat");
        velnora::test::MakeDir(dir);
        c.make(dir + "/site.ini");
    }
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    for (const Case& c : cases) {
        EXPECT_TRUE(observer_.Has(c.line)) << c.name;
    }
    EXPECT_TRUE(transport_.looked_up.empty()) << "no page was fetched";
}

}  // namespace
}  // namespace velnora::fetch

#include "support/file_size_limit.h"

namespace velnora::fetch {
namespace {

// A check whose worker threads fail to start the first given number of times.
class ThreadlessRun : public CheckRun {
  public:
    using CheckRun::CheckRun;
    int failures = 0;

  protected:
    bool StartThread(std::function<void()> body) override {
        if (failures > 0) {
            --failures;
            return false;
        }
        return CheckRun::StartThread(std::move(body));
    }
};

TEST_F(CheckRunTest, AFailedStartWithNothingInFlightStillEndsTheCheck) {
    for (int i = 0; i < 8; ++i) {
        AddPage("p" + std::to_string(i) + ".dat", "http://192.0.2." + std::to_string(i + 1) + "/");
    }
    std::string last = AddPage("q.dat", "");
    Populate();
    settings_.retry = 0;
    run_->StartCheck(tree_.root(), settings_);
    ASSERT_EQ(transport_.OpenCount(), 8);
    // All eight are refused before the refill runs: the page left over fails to start while
    // nothing else is in flight.
    for (SocketId socket : transport_.open_order) {
        transport_.Error(socket, SocketError::kFailed, "Connection refused");
    }
    loop_.RunPending();
    EXPECT_TRUE(observer_.Has("error q: URL未設定。"));
    EXPECT_EQ(store::ReadResultCode(last), store::RESULT_ERROR);
    EXPECT_TRUE(Finished());
    EXPECT_EQ(observer_.finished, 1) << "the completion notice is given";
    EXPECT_TRUE(observer_.Has("unlock"));
}

TEST_F(CheckRunTest, PagesThatFailToStartTakeNoStart) {
    for (int i = 0; i < 8; ++i) {
        AddPage("a" + std::to_string(i) + ".dat", "");
    }
    AddPage("b.dat", "http://b.example/");
    AddPage("c.dat", "http://c.example/");
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    EXPECT_EQ(observer_.Count("error a"), 8);
    EXPECT_EQ(transport_.looked_up, (std::vector<std::string>{"b.example", "c.example"}));
    ServeAll(kPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_EQ(observer_.Count("status b: 初期化しました。") +
                  observer_.Count("status c: 初期化しました。"),
              2);
}

TEST_F(CheckRunTest, AConnectRefusedAtOnceIsAnErrorWithoutRetry) {
    std::string by_address = AddPage("a.dat", "http://192.0.2.1/");
    std::string by_name = AddPage("b.dat", "http://b.example/");
    Populate();
    transport_.refuse_connects = true;
    run_->StartCheck(tree_.root(), settings_);
    transport_.Resolve(transport_.lookups.begin()->first);
    EXPECT_TRUE(transport_.lookups.empty()) << "not retried";
    EXPECT_EQ(observer_.events, (std::vector<std::string>{"unmark " + std::to_string(tree_.root()),
                                                          "error a: サーバへの接続失敗", "clear",
                                                          "lock", "error b: サーバへの接続失敗"}));
    EXPECT_EQ(store::ReadResultCode(by_address), store::RESULT_ERROR);
    EXPECT_EQ(store::ReadResultCode(by_name), store::RESULT_ERROR);
    loop_.RunPending();
    EXPECT_TRUE(Finished());
}

TEST_F(CheckRunTest, APageWhoseWorkerCannotStartWaitsInTheQueue) {
    std::string dir = AddPage("Site.dat", "http://site.example/");
    velnora::test::MakeDir(home_ / "data");
    store::PopulateTree(tree_);
    auto run = std::make_unique<ThreadlessRun>(tree_, transport_, loop_, observer_, stats_);
    run->failures = 2;
    run_ = std::move(run);
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kPage);
    loop_.RunPending();
    EXPECT_TRUE(run_->running()) << "queued, not lost";
    loop_.Tick(2);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_TRUE(observer_.Has("status Site: 初期化しました。"));
    EXPECT_EQ(store::ReadLogIndex(dir), 1);
}

TEST_F(CheckRunTest, ACutResponseIsFetchedAgainAndNeverFiled) {
    const std::string cut =
        "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n<p>first line</p><p>sec";
    struct Row {
        int retry;
        bool filed;
    };
    for (const Row& row : {Row{1, true}, Row{0, false}}) {
        SCOPED_TRACE(row.retry);
        velnora::test::TempDir home;
        std::string dir = home / "data/Site.dat";
        velnora::test::MakeDir(home / "data");
        velnora::test::MakeDir(dir);
        store::PageSettings page;
        page.url = "http://site.example/";
        EXPECT_EQ(store::WritePageSettings(dir, page), 0);
        store::PageTree tree(home.path() + "/");
        store::PopulateTree(tree);
        FakeTransport transport;
        RecordingObserver observer;
        CheckRun run(tree, transport, loop_, observer, stats_);
        settings_.retry = row.retry;
        run.StartCheck(tree.FirstChild(tree.root()), settings_);
        transport.Resolve(transport.lookups.begin()->first);
        transport.Serve(transport.LastSocket(), cut);
        ASSERT_TRUE(loop_.RunUntil([&] { return !transport.lookups.empty() || !run.running(); }));
        EXPECT_EQ(transport.lookups.size(), row.filed ? 1u : 0u) << "fetched again";
        if (row.filed) {
            transport.Resolve(transport.lookups.begin()->first);
            transport.Serve(transport.LastSocket(), kChangedPage);
        }
        ASSERT_TRUE(loop_.RunUntil([&] { return !run.running(); }));
        EXPECT_EQ(observer.Has("error Site: 受信データが途中で切れました"), !row.filed);
        EXPECT_EQ(velnora::test::Exists(dir + "/log1.txt"), row.filed);
        EXPECT_FALSE(velnora::test::Exists(dir + "/new.txt"));
        EXPECT_FALSE(velnora::test::Exists(dir + "/htmltmp.txt"));
        if (row.filed) {
            EXPECT_EQ(velnora::test::ReadBytes(dir + "/log1.txt"), "\r\nfirst line\r\nnew line");
        } else {
            EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_NONE) << "given up: kept";
        }
    }
}

TEST_F(CheckRunTest, AResponseTheDiskCannotTakeIsAnErrorWithTheReason) {
    std::string dir = AddPage("Site.dat", "http://site.example/");
    velnora::test::WriteBytes(dir + "/html.txt", kPage);
    Populate();
    run_->StartCheck(Item("Site"), settings_);
    transport_.Resolve(transport_.lookups.begin()->first);
    {
        velnora::test::FileSizeLimit limit(100000);
        transport_.Serve(transport_.LastSocket(), std::string(kPage) + std::string(200000, 'x'));
    }
    EXPECT_TRUE(observer_.Has("error Site: 受信ファイル書き込み失敗 (File too large)"));
    EXPECT_TRUE(transport_.lookups.empty()) << "not retried";
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_FALSE(velnora::test::Exists(dir + "/htmltmp.txt")) << "the cut response is removed";
    EXPECT_FALSE(velnora::test::Exists(dir + "/log1.txt")) << "and never processed";
    EXPECT_EQ(velnora::test::ReadBytes(dir + "/html.txt"), kPage);
    EXPECT_EQ(store::ReadResultCode(dir), store::RESULT_ERROR);
}

TEST_F(CheckRunTest, SessionChangesCanBeTraced) {
    AddPage("Site.dat", "http://site.example/");
    Populate();
    std::vector<std::string> lines;
    run_->SetSessionTrace([&](std::string_view line) { lines.emplace_back(line); });
    run_->StartCheck(Item("Site"), settings_);
    ServeAll(kPage);
    ASSERT_TRUE(loop_.RunUntil([&] { return Finished(); }));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "session 0 connection: idle -> resolving",
                         "session 0 connection: resolving -> connecting",
                         "session 0 connection: connecting -> receiving",
                         "session 0 connection: receiving -> idle",
                         "session 0 phase: free -> fetched",
                         "session 0 phase: fetched -> processing",
                         "session 0 phase: processing -> free",
                     }));
}

TEST_F(CheckRunTest, TheWalkLeavesOutPagesWhoseFilesWouldNotFit) {
    // <home>/data/<name>.dat: a directory of 248 bytes still holds "htmltmp.txt" within a
    // path of 260 bytes; one of 249 does not.
    std::size_t fixed = home_.path().size() + std::string("/data/").size() + 4;
    AddPage(std::string(248 - fixed, 'a') + ".dat", "http://fits.example/");
    AddPage(std::string(249 - fixed, 'b') + ".dat", "http://too-long.example/");
    Populate();
    run_->StartCheck(tree_.root(), settings_);
    EXPECT_EQ(transport_.looked_up, std::vector<std::string>{"fits.example"});
}

}  // namespace
}  // namespace velnora::fetch

namespace velnora::fetch {
namespace {

using test::FakeLoop;
using test::FakeTransport;
using test::RecordingObserver;

class FixedClock : public Clock {
  public:
    std::int64_t now = 1714521600;
    std::int64_t Now() const override { return now; }
    int MinuteOfDay(std::int64_t seconds) const override {
        return static_cast<int>(seconds / 60 % kMinutesPerDay);
    }
};

// A check in the background of the pages that are due, and a check the user starts over it.
class BackgroundCheckTest : public CheckRunTest {
  protected:
    void SetUp() override {
        settings_.use_notify_sound = 1;
        settings_.notify_sound = "done.wav";
        for (int i = 0; i < 10; ++i) {
            dirs_.push_back(AddPage("p" + std::to_string(i) + ".dat",
                                    "http://h" + std::to_string(i) + ".example/"));
        }
        dirs_.push_back(AddPage("user.dat", "http://user.example/"));
        Populate();
        run_->SetClock(clock_);
    }
    // Lets through the pages p0 ... p9.
    std::function<bool(store::ItemId)> Due() {
        return [this](store::ItemId item) { return tree_.Find(item)->name != "user"; };
    }
    // Serves every open fetch and runs the check to its end.
    void RunToTheEnd(const std::string& response) {
        while (!Finished()) {
            ServeAll(response);
            loop_.RunUntil([&] { return !transport_.lookups.empty() || Finished(); });
            loop_.Tick();
        }
    }

    FixedClock clock_;
    std::vector<std::string> dirs_;
};

TEST_F(BackgroundCheckTest, LocksNothingClearsNothingAndIsHeardOnlyWithUpdates) {
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    EXPECT_TRUE(run_->background());
    EXPECT_EQ(transport_.looked_up.size(), 4u) << "never more than four connections";
    RunToTheEnd(kPage);
    EXPECT_EQ(transport_.looked_up.size(), 10u);
    EXPECT_EQ(std::count(transport_.looked_up.begin(), transport_.looked_up.end(), "user.example"),
              0)
        << "only the pages that are due";
    for (const char* kept : {"clear", "lock", "unlock", "unmark", "sound", "finish"}) {
        EXPECT_EQ(observer_.Count(kept), 0) << kept;
    }
    EXPECT_EQ(observer_.Count("status p"), 10) << "the results go to the pane as they come";
    EXPECT_EQ(observer_.status_text, "更新はありません");

    // With updates the sound plays, and still no notice stops the user.
    observer_.events.clear();
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    RunToTheEnd(kChangedPage);
    EXPECT_EQ(observer_.Count("mark "), 10);
    EXPECT_EQ(observer_.Count("sound done.wav"), 1);
    EXPECT_EQ(observer_.Count("finish"), 0);
    EXPECT_EQ(observer_.Count("lock"), 0);
}

TEST_F(BackgroundCheckTest, AUserCheckStartsAtOnceAndThePagesNotReachedStayDue) {
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    ASSERT_EQ(transport_.lookups.size(), 4u);
    clock_.now += 60;
    run_->StartCheck(Item("user"), settings_);
    EXPECT_FALSE(run_->background());
    EXPECT_EQ(transport_.looked_up.back(), "user.example") << "started at once";
    EXPECT_TRUE(observer_.Has("lock"));
    RunToTheEnd(kPage);
    // The four pages in flight were finished; the other six were never started.
    EXPECT_EQ(transport_.looked_up.size(), 5u);
    EXPECT_EQ(observer_.Count("status p"), 4);
    int reached = 0;
    for (int i = 0; i < 10; ++i) {
        if (store::ReadLastCheck(dirs_[i]) == clock_.now - 60) {
            ++reached;
        } else {
            EXPECT_EQ(store::ReadLastCheck(dirs_[i]), 0) << "p" << i << " stays due";
        }
    }
    EXPECT_EQ(reached, 4);
    EXPECT_EQ(store::ReadLastCheck(dirs_[10]), clock_.now);
    EXPECT_EQ(observer_.Count("finish"), 1) << "the user's check ends with its notice";
    EXPECT_EQ(observer_.events.back(), "unlock");
}

TEST_F(BackgroundCheckTest, AUserCheckOfEverythingLeavesThePagesInFlightToTheirSessions) {
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    std::vector<std::string> in_flight = transport_.looked_up;
    ASSERT_EQ(in_flight.size(), 4u);
    run_->StartCheck(tree_.root(), settings_);
    RunToTheEnd(kPage);
    EXPECT_EQ(transport_.looked_up.size(), 11u) << "every page fetched once";
    EXPECT_EQ(observer_.Count("status "), 11) << "the pages in flight show in the user's check";
}

TEST_F(BackgroundCheckTest, AUserCheckDuringAnotherUserCheckIsIgnored) {
    run_->StartCheck(tree_.root(), settings_);
    std::size_t started = transport_.looked_up.size();
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    run_->StartCheck(Item("user"), settings_);
    EXPECT_EQ(transport_.looked_up.size(), started);
    EXPECT_FALSE(run_->background());
}

TEST_F(BackgroundCheckTest, StoppingLetsThePagesInFlightFinish) {
    run_->StartBackgroundCheck(tree_.root(), settings_, Due());
    run_->StopBackgroundCheck();
    RunToTheEnd(kPage);
    EXPECT_EQ(transport_.looked_up.size(), 4u);
    EXPECT_EQ(observer_.Count("status p"), 4);
    EXPECT_EQ(store::ReadLastCheck(dirs_[9]), 0);
}

}  // namespace
}  // namespace velnora::fetch
