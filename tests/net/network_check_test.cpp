// Checks against real servers on 127.0.0.1: nginx (gzip and chunked, Last-Modified and 304,
// Basic authentication, TLS with a test CA), tinyproxy (plain and CONNECT), and a server that
// fails on purpose.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "fakes.h"
#include "fetch/check_run.h"
#include "fetch/password.h"
#include "net/qt_event_loop.h"
#include "net/socket_transport.h"
#include "store/log_index.h"
#include "store/page_tree.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "support/servers.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

namespace fs = std::filesystem;
using test::RecordingObserver;

const char kPageHtml[] = "<html><body><p>first line</p><p>second line</p></body></html>\n";

// Redirects of every status, chains, a loop, one hop too many, other schemes, hops to the pages
// with Basic authentication on the same host and on another name of it, a hop to TLS; and below
// /untagged/ pages served without an entity tag.
const char kRedirects[] =
    "        location = /moved { return 301 /index.html; }\n"
    "        location = /relative { absolute_redirect off; return 302 /index.html; }\n"
    "        location = /hop1 { return 302 /hop2; }\n"
    "        location = /hop2 { return 307 /hop3; }\n"
    "        location = /hop3 { return 308 /index.html; }\n"
    "        location = /permanent { return 301 /moved; }\n"
    "        location = /see-other { return 303 /index.html; }\n"
    "        location = /loop-a { return 302 /loop-b; }\n"
    "        location = /loop-b { return 302 /loop-a; }\n"
    "        location = /many0 { return 302 /many1; }\n"
    "        location = /many1 { return 302 /many2; }\n"
    "        location = /many2 { return 302 /many3; }\n"
    "        location = /many3 { return 302 /many4; }\n"
    "        location = /many4 { return 302 /many5; }\n"
    "        location = /many5 { return 302 /many6; }\n"
    "        location = /many6 { return 302 /index.html; }\n"
    "        location = /five { return 302 /many3; }\n"
    "        location = /to-ftp { return 302 ftp://127.0.0.1/file; }\n"
    "        location = /auth-same { return 302 /private/page.html; }\n"
    "        location = /auth-other {\n"
    "            return 302 http://localhost:$server_port/private/page.html;\n"
    "        }\n"
    "        location = /to-tls { return 301 https://localhost:@TLS_PORT@/index.html; }\n"
    "        location /untagged/ { etag off; }\n";

class NetworkCheck : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        servers_ = new velnora::test::TempDir;
        std::string dir = servers_->path();
        fs::create_directories(dir + "/www/private");
        std::ofstream(dir + "/www/index.html") << kPageHtml;
        std::ofstream(dir + "/www/private/page.html") << "<p>members only</p>";
        fs::create_directories(dir + "/www/untagged");
        std::ofstream(dir + "/www/untagged/page.html") << kPageHtml;
        certificates_ = new velnora::test::TestCertificates;
        ASSERT_TRUE(certificates_->Make(dir));
        nginx_ = new velnora::test::NginxServer;
        ASSERT_TRUE(nginx_->Start(dir, dir + "/www", certificates_, kRedirects));
        proxy_ = new velnora::test::TinyProxy;
        ASSERT_TRUE(proxy_->Start(dir));
        faults_ = new velnora::test::FaultServer;
        ASSERT_TRUE(faults_->Start(dir));
    }

    static void TearDownTestSuite() {
        delete faults_;
        delete proxy_;
        delete nginx_;
        delete certificates_;
        delete servers_;
    }

    void SetUp() override {
        ::setenv("SSL_CERT_FILE", certificates_->ca_file.c_str(), 1);
        settings_.finish_message = 0;
        settings_.retry = 1;
        settings_.timeout = 1;  // 4 ticks
    }

    std::string Web(const std::string& path) {
        return "http://127.0.0.1:" + std::to_string(nginx_->http_port()) + path;
    }

    std::string AddPage(const std::string& name, const std::string& url,
                        store::PageSettings page = {}) {
        std::string dir = home_ / ("data/" + name + ".dat");
        velnora::test::MakeDir(dir);
        page.url = url;
        EXPECT_EQ(store::WritePageSettings(dir, page), 0);
        return dir;
    }

    // Checks the page (or the root when name is empty) and waits for the end.
    void Check(const std::string& name = "") {
        velnora::test::MakeDir(home_ / "data");
        tree_ = std::make_unique<store::PageTree>(home_.path() + "/");
        store::PopulateTree(*tree_);
        store::ItemId item = tree_->root();
        for (store::ItemId c = tree_->FirstChild(item); c != 0; c = tree_->NextSibling(c)) {
            if (tree_->Find(c)->name == name) {
                item = c;
            }
        }
        net::SocketTransport transport;
        net::QtEventLoop loop;
        CheckRun run(*tree_, transport, loop, observer_, stats_);
        run.StartCheck(item, settings_);
        QEventLoop events;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!run.running()) {
                events.quit();
            }
        });
        QTimer::singleShot(60000, &events, &QEventLoop::quit);
        poll.start(10);
        if (run.running()) {
            events.exec();
        }
        ASSERT_FALSE(run.running()) << "the check did not end";
    }

    static std::string Read(const std::string& path) { return velnora::test::ReadBytes(path); }

    static velnora::test::TempDir* servers_;
    static velnora::test::TestCertificates* certificates_;
    static velnora::test::NginxServer* nginx_;
    static velnora::test::TinyProxy* proxy_;
    static velnora::test::FaultServer* faults_;

    velnora::test::TempDir home_;
    std::unique_ptr<store::PageTree> tree_;
    RecordingObserver observer_;
    TrafficStats stats_;
    CheckSettings settings_;
};

velnora::test::TempDir* NetworkCheck::servers_ = nullptr;
velnora::test::TestCertificates* NetworkCheck::certificates_ = nullptr;
velnora::test::NginxServer* NetworkCheck::nginx_ = nullptr;
velnora::test::TinyProxy* NetworkCheck::proxy_ = nullptr;
velnora::test::FaultServer* NetworkCheck::faults_ = nullptr;

TEST_F(NetworkCheck, GzipChunkedPageThenNotModifiedThenUpdated) {
    std::string page = AddPage("Site", Web("/index.html"));
    Check("Site");
    EXPECT_TRUE(observer_.Has("status Site: 初期化しました。"));
    std::string stored = Read(page + "/html.txt");
    EXPECT_NE(stored.find("Content-Encoding: gzip"), std::string::npos) << stored.substr(0, 400);
    EXPECT_NE(stored.find("Transfer-Encoding: chunked"), std::string::npos);
    EXPECT_EQ(Read(page + "/log1.txt"), "\r\nfirst line\r\nsecond line");
    EXPECT_EQ(stats_.run_pages(), 1);
    EXPECT_GT(stats_.run_bytes(), 100u);

    Check("Site");
    EXPECT_TRUE(observer_.Has("status Site: 最終更新日に変化なし")) << "If-Modified-Since";
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_NOT_MODIFIED);
    EXPECT_EQ(Read(page + "/html.txt"), stored) << "a 304 keeps the stored response";

    {
        std::ofstream(servers_->path() + "/www/index.html")
            << "<html><body><p>first line</p><p>third line</p></body></html>\n";
        fs::last_write_time(servers_->path() + "/www/index.html",
                            fs::file_time_type::clock::now() + std::chrono::hours(1));
    }
    Check("Site");
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_UPDATED);
    EXPECT_EQ(Read(page + "/add2.txt"), "third line\r\n");
    EXPECT_TRUE(observer_.Has("results Site 3"));
    std::ofstream(servers_->path() + "/www/index.html") << kPageHtml;
}

// The pages' names and their error lines, as the observer recorded them.
std::string ErrorOf(const RecordingObserver& observer, const std::string& name) {
    for (const std::string& event : observer.events) {
        if (event.rfind("error " + name + ": ", 0) == 0) {
            return event.substr(8 + name.size());
        }
    }
    return "";
}

TEST_F(NetworkCheck, RedirectChainsEndAtTheirPage) {
    std::string moved = AddPage("Moved", Web("/moved"));
    std::string relative = AddPage("Relative", Web("/relative"));
    std::string chain = AddPage("Chain", Web("/hop1"));
    std::string permanent = AddPage("Permanent", Web("/permanent"));
    std::string see_other = AddPage("SeeOther", Web("/see-other"));
    std::string five = AddPage("Five", Web("/five"));  // five hops: the most there may be
    Check();
    for (const std::string& page : {moved, relative, chain, permanent, see_other, five}) {
        EXPECT_EQ(Read(page + "/log1.txt"), "\r\nfirst line\r\nsecond line") << page;
        EXPECT_EQ(store::ReadResultCode(page), store::RESULT_NO_CHANGE) << page;
    }
    for (const char* name : {"Moved", "Relative", "Chain", "Permanent", "SeeOther", "Five"}) {
        EXPECT_TRUE(
            observer_.Has("status " + std::string(name) + ": 転送先 : " + Web("/index.html")))
            << name << ": the status line names where the page ended";
    }
    // Only a URL that moved for good is offered a new address, and only as far as it did.
    EXPECT_EQ(store::ReadMovedUrl(moved), Web("/index.html"));
    EXPECT_EQ(store::ReadMovedUrl(permanent), Web("/index.html"));
    EXPECT_EQ(store::ReadMovedUrl(chain), "");
    EXPECT_EQ(store::ReadMovedUrl(relative), "");
    EXPECT_EQ(store::ReadMovedUrl(see_other), "");
    // The page's URL itself never changes.
    store::PageSettings settings;
    store::ReadPageSettings(moved, settings);
    EXPECT_EQ(settings.url, Web("/moved"));
}

TEST_F(NetworkCheck, LoopsTooManyHopsAndOtherSchemesEndInAnErrorNamingTheAddress) {
    std::string loop = AddPage("Loop", Web("/loop-a"));
    std::string many = AddPage("Many", Web("/many0"));
    std::string ftp = AddPage("Ftp", Web("/to-ftp"));
    Check();
    EXPECT_EQ(ErrorOf(observer_, "Loop"),
              "リダイレクトがループしています (" + Web("/loop-a") + ")");
    EXPECT_EQ(ErrorOf(observer_, "Many"), "リダイレクトが多すぎます (" + Web("/many6") + ")");
    EXPECT_EQ(ErrorOf(observer_, "Ftp"),
              "リダイレクト先が http でも https でもありません (ftp://127.0.0.1/file)");
    for (const std::string& page : {loop, many, ftp}) {
        EXPECT_EQ(store::ReadResultCode(page), store::RESULT_ERROR) << page;
        EXPECT_FALSE(velnora::test::Exists(page + "/log1.txt")) << page;
        EXPECT_FALSE(velnora::test::Exists(page + "/htmltmp.txt")) << page;
    }
}

TEST_F(NetworkCheck, WithoutFollowingARedirectIsAnHttpErrorAsBefore) {
    settings_.follow_redirects = 0;
    std::string moved = AddPage("Moved", Web("/moved"));
    Check("Moved");
    EXPECT_EQ(ErrorOf(observer_, "Moved"), "HTTPエラー (HTTP/1.1 301 Moved Permanently)");
    EXPECT_EQ(store::ReadMovedUrl(moved), "");
}

// The Basic credentials nginx takes below /private/.
store::PageSettings WithPassword(std::string_view password = "secret") {
    store::PageSettings page;
    page.auth_type = 1;
    page.auth_id = "user";
    page.auth_pass = ScramblePassword(password);
    return page;
}

TEST_F(NetworkCheck, CredentialsFollowOnlyToTheSameHostAndPort) {
    store::PageSettings with_password = WithPassword();
    std::string same = AddPage("Same", Web("/auth-same"), with_password);
    std::string other = AddPage("Other", Web("/auth-other"), with_password);
    Check();
    EXPECT_EQ(Read(same + "/log1.txt"), "\r\nmembers only");
    // localhost is another host name, though it is the same server: no credentials go there.
    EXPECT_EQ(ErrorOf(observer_, "Other"), "HTTPエラー (HTTP/1.1 401 Unauthorized)");
}

TEST_F(NetworkCheck, AHopToHttpsHasTheSameCertificateChecks) {
    std::string page = AddPage("Secure", Web("/to-tls"));
    Check();
    EXPECT_EQ(Read(page + "/log1.txt"), "\r\nfirst line\r\nsecond line");
    ::setenv("SSL_CERT_FILE", "/nonexistent/ca.pem", 1);
    ::setenv("SSL_CERT_DIR", "/nonexistent", 1);
    observer_ = RecordingObserver();
    Check();
    ::unsetenv("SSL_CERT_DIR");
    EXPECT_NE(ErrorOf(observer_, "Secure").find("SSL/TLS接続失敗 ("), std::string::npos);
}

// The stored response without its Last-Modified line: only the entity tag can tell the server
// what the page has.
void DropLastModified(const std::string& page) {
    std::string stored = velnora::test::ReadBytes(page + "/html.txt");
    std::size_t line = stored.find("Last-Modified: ");
    ASSERT_NE(line, std::string::npos);
    stored.erase(line, stored.find("\r\n", line) + 2 - line);
    velnora::test::WriteBytes(page + "/html.txt", stored);
}

TEST_F(NetworkCheck, EntityTagsRoundTrip) {
    std::string page = AddPage("Tagged", Web("/index.html"));
    Check("Tagged");
    std::string stored = Read(page + "/html.txt");
    ASSERT_NE(stored.find("ETag: W/\""), std::string::npos) << stored.substr(0, 400);
    DropLastModified(page);
    std::string kept = Read(page + "/html.txt");

    Check("Tagged");
    EXPECT_TRUE(observer_.Has("status Tagged: 最終更新日に変化なし")) << "If-None-Match alone";
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_NOT_MODIFIED);
    EXPECT_EQ(Read(page + "/html.txt"), kept);

    // A page that changed has another tag: it comes whole.
    {
        std::ofstream(servers_->path() + "/www/index.html")
            << "<html><body><p>first line</p><p>tagged line</p></body></html>\n";
        fs::last_write_time(servers_->path() + "/www/index.html",
                            fs::file_time_type::clock::now() + std::chrono::hours(3));
    }
    Check("Tagged");
    std::ofstream(servers_->path() + "/www/index.html") << kPageHtml;
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_UPDATED);
    EXPECT_NE(Read(page + "/html.txt").find("ETag: "), std::string::npos);

    // A server that sends no tag: nothing to match, the response is stored without one.
    std::string untagged = AddPage("Untagged", Web("/untagged/page.html"));
    Check("Untagged");
    EXPECT_EQ(Read(untagged + "/html.txt").find("ETag"), std::string::npos);
    Check("Untagged");
    EXPECT_EQ(store::ReadResultCode(untagged), store::RESULT_NOT_MODIFIED)
        << "If-Modified-Since as always";
}

TEST_F(NetworkCheck, RedirectsAndEntityTagsThroughTheProxy) {
    settings_.use_proxy = 1;
    settings_.proxy_url = "127.0.0.1";
    settings_.proxy_port = proxy_->port();
    std::string chain = AddPage("Chain", Web("/hop1"));
    std::string tagged = AddPage("Tagged", Web("/index.html"));
    std::string loop = AddPage("Loop", Web("/loop-a"));
    Check();
    DropLastModified(tagged);
    EXPECT_EQ(Read(chain + "/log1.txt"), "\r\nfirst line\r\nsecond line");
    EXPECT_TRUE(observer_.Has("status Chain: 転送先 : " + Web("/index.html")));
    EXPECT_EQ(ErrorOf(observer_, "Loop"),
              "リダイレクトがループしています (" + Web("/loop-a") + ")");
    Check("Tagged");
    EXPECT_EQ(store::ReadResultCode(tagged), store::RESULT_NOT_MODIFIED);
}

TEST_F(NetworkCheck, BasicAuthentication) {
    std::string good = AddPage("Good", Web("/private/page.html"), WithPassword());
    store::PageSettings wrong = WithPassword("wrong");
    std::string bad = AddPage("Bad", Web("/private/page.html"), wrong);
    Check();
    EXPECT_EQ(Read(good + "/log1.txt"), "\r\nmembers only");
    EXPECT_TRUE(observer_.Has("error Bad: HTTPエラー (HTTP/1.1 401 Unauthorized)"));
    EXPECT_EQ(store::ReadResultCode(bad), store::RESULT_ERROR);
}

TEST_F(NetworkCheck, TlsWithTheSystemTrustStoreAndNameCheck) {
    std::string by_name = AddPage(
        "ByName", "https://localhost:" + std::to_string(nginx_->tls_port()) + "/index.html");
    std::string by_address = AddPage(
        "ByAddress", "https://127.0.0.1:" + std::to_string(nginx_->tls_port()) + "/index.html");
    Check();
    EXPECT_EQ(Read(by_name + "/log1.txt"), "\r\nfirst line\r\nsecond line");
    EXPECT_EQ(Read(by_address + "/log1.txt"), "\r\nfirst line\r\nsecond line");
}

TEST_F(NetworkCheck, AnUntrustedCertificateFailsWithoutRetry) {
    ::setenv("SSL_CERT_FILE", "/nonexistent/ca.pem", 1);
    ::setenv("SSL_CERT_DIR", "/nonexistent", 1);
    std::string page =
        AddPage("Secure", "https://localhost:" + std::to_string(nginx_->tls_port()) + "/");
    EXPECT_EQ(store::WriteResultCode(page, store::RESULT_NO_CHANGE), 0);
    Check("Secure");
    ::unsetenv("SSL_CERT_DIR");
    ASSERT_EQ(observer_.Count("error Secure: SSL/TLS接続失敗 ("), 1);
    std::string line;
    for (const std::string& event : observer_.events) {
        if (event.starts_with("error Secure")) {
            line = event;
        }
    }
    EXPECT_NE(line.find("certificate"), std::string::npos) << "the reason is given: " << line;
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_ERROR);
}

TEST_F(NetworkCheck, ThroughTheProxyPlainAndTunnelled) {
    settings_.use_proxy = 1;
    settings_.proxy_url = "127.0.0.1";
    settings_.proxy_port = proxy_->port();
    std::string plain = AddPage("Plain", Web("/index.html"));
    std::string tunnelled = AddPage(
        "Tunnel", "https://localhost:" + std::to_string(nginx_->tls_port()) + "/index.html");
    store::PageSettings direct;
    direct.noproxy = 1;
    std::string bypass = AddPage("Direct", Web("/index.html"), direct);
    Check();
    for (const std::string& page : {plain, tunnelled, bypass}) {
        EXPECT_EQ(Read(page + "/log1.txt"), "\r\nfirst line\r\nsecond line") << page;
    }
}

TEST_F(NetworkCheck, RefusedConnectionIsRetriedThenGivenUp) {
    std::string page =
        AddPage("Closed", "http://127.0.0.1:" + std::to_string(velnora::test::FreePort()) + "/");
    velnora::test::WriteBytes(page + "/log1.txt", "kept\r\n");
    velnora::test::WriteBytes(page + "/index.txt", "1");
    EXPECT_EQ(store::WriteResultCode(page, store::RESULT_UPDATED), 0);
    Check("Closed");
    EXPECT_TRUE(observer_.Has("error Closed: ｿｹｯﾄｲﾍﾞﾝﾄ通知ｴﾗｰ"));
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_UPDATED) << "the previous result stays";
    EXPECT_EQ(Read(page + "/log1.txt"), "kept\r\n") << "and so do the logs";
}

TEST_F(NetworkCheck, AResetInTheBodyIsAnErrorNotAResponse) {
    std::string page =
        AddPage("Reset", "http://127.0.0.1:" + std::to_string(faults_->port()) + "/reset");
    Check("Reset");
    EXPECT_TRUE(observer_.Has("error Reset: ｿｹｯﾄｲﾍﾞﾝﾄ通知ｴﾗｰ"));
    EXPECT_FALSE(velnora::test::Exists(page + "/log1.txt")) << "nothing was processed";
}

TEST_F(NetworkCheck, SilenceTimesOut) {
    AddPage("Silent", "http://127.0.0.1:" + std::to_string(faults_->port()) + "/silent");
    settings_.retry = 0;
    Check("Silent");
    EXPECT_TRUE(observer_.Has("error Silent: タイムアウト発生"));
}

TEST_F(NetworkCheck, GarbageStatusLineIsAnHttpError) {
    std::string page =
        AddPage("Garbage", "http://127.0.0.1:" + std::to_string(faults_->port()) + "/garbage");
    Check("Garbage");
    EXPECT_TRUE(observer_.Has("error Garbage: HTTPエラー (garbage line)"));
    EXPECT_FALSE(velnora::test::Exists(page + "/html.txt"));
}

TEST_F(NetworkCheck, AnEndlessBodyIsStoppedAtFiftyMegabytes) {
    settings_.timeout = 60;
    std::string page =
        AddPage("Endless", "http://127.0.0.1:" + std::to_string(faults_->port()) + "/endless");
    Check("Endless");
    EXPECT_TRUE(observer_.Has("error Endless: 受信データが50MBを超えたため中止しました"));
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_ERROR);
    EXPECT_FALSE(velnora::test::Exists(page + "/htmltmp.txt")) << "the 50 MB are not left behind";
}

TEST_F(NetworkCheck, AResponseCutShortIsAReceiveErrorNeverALog) {
    for (const char* path : {"/short", "/halfgzip"}) {
        SCOPED_TRACE(path);
        observer_ = RecordingObserver();
        std::string page =
            AddPage("Cut", "http://127.0.0.1:" + std::to_string(faults_->port()) + path);
        Check("Cut");
        EXPECT_EQ(stats_.run_pages(), 2) << "fetched again once (RETRY 1)";
        stats_ = TrafficStats();
        EXPECT_TRUE(observer_.Has("error Cut: 受信データが途中で切れました"));
        EXPECT_FALSE(velnora::test::Exists(page + "/log1.txt"));
        EXPECT_FALSE(velnora::test::Exists(page + "/htmltmp.txt"));
    }
}

TEST_F(NetworkCheck, AConnectRefusedAtOnceIsNotRetried) {
    // The system refuses a TCP connect to the broadcast address at once.
    std::string page = AddPage("Broadcast", "http://255.255.255.255/");
    Check("Broadcast");
    EXPECT_EQ(observer_.Count("error Broadcast"), 1);
    EXPECT_TRUE(observer_.Has("error Broadcast: サーバへの接続失敗"));
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_ERROR);
}

}  // namespace
}  // namespace velnora::fetch

namespace velnora::fetch {
namespace {

// velnora-cli check prints what the result pane shows, then the completion text.
TEST_F(NetworkCheck, CommandLineCheckPrintsThePane) {
    std::string page = AddPage("Site", Web("/index.html"));
    ::setenv("VELNORA_HOME", home_.path().c_str(), 1);
    velnora::test::WriteBytes(home_ / "velnora.ini",
                              "[CONFIG]\r\nHEADER=== %link; ==\r\nFINISH_MESSAGE=0\r\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::Run({"check", "Site"}, out, err), cli::kExitDone) << err.str();
    EXPECT_EQ(out.str(),
              "■Site <" + Web("/index.html") + "> : 初期化しました。\n更新はありません\n");

    std::ofstream(servers_->path() + "/www/index.html")
        << "<html><body><p>first line</p><p>a <a href=\"/n.html\">new</a> line</p></body></html>";
    fs::last_write_time(servers_->path() + "/www/index.html",
                        fs::file_time_type::clock::now() + std::chrono::hours(2));
    out.str("");
    ASSERT_EQ(cli::Run({"check"}, out, err), cli::kExitDone) << err.str();
    std::ofstream(servers_->path() + "/www/index.html") << kPageHtml;
    EXPECT_EQ(out.str(), "== Site <" + Web("/index.html") + "> ==\na new <" + Web("/n.html") +
                             "> line\n\n1 件の更新がありました\n");
    out.str("");
    ASSERT_EQ(cli::Run({"list"}, out, err), cli::kExitDone);
    EXPECT_EQ(out.str(), "data/\n  Site  [3 updated]  " + Web("/index.html") + "\n");

    // An HTTP error is an error line: the check's answer is negative.
    AddPage("Gone", Web("/missing.html"));
    out.str("");
    EXPECT_EQ(cli::Run({"check", "Gone"}, out, err), cli::kExitNegative);
    EXPECT_NE(out.str().find("HTTPエラー (HTTP/1.1 404 Not Found)"), std::string::npos);
    ::unsetenv("VELNORA_HOME");
}

// velnora-cli check --json and --notify-command: the pages' records on standard output alone,
// and the updated pages on the command's standard input.
TEST_F(NetworkCheck, CommandLineJsonLinesAndNotifyCommand) {
    AddPage("News.grp/Site", Web("/index.html"));
    AddPage("Gone", Web("/missing.html"));
    ::setenv("VELNORA_HOME", home_.path().c_str(), 1);
    velnora::test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\n");
    std::string notified = home_ / "notified.txt";
    std::string command = "cat > " + notified + "; echo said-on-stdout; exit 3";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::Run({"check", "--json", "--notify-command", command}, out, err),
              cli::kExitNegative);
    EXPECT_EQ(out.str(),
              "{\"name\":\"Site\",\"path\":\"News/Site\",\"url\":\"" + Web("/index.html") +
                  "\",\"code\":1,\"result\":\"first_check\",\"lines\":[],\"error\":null}\n"
                  "{\"name\":\"Gone\",\"path\":\"Gone\",\"url\":\"" +
                  Web("/missing.html") +
                  "\",\"code\":4,\"result\":\"error\",\"lines\":[],\"error\":"
                  "\"HTTPエラー (HTTP/1.1 404 Not Found)\"}\n")
        << "in the order of the tree, folders first";
    EXPECT_FALSE(velnora::test::Exists(notified)) << "no updates: the command does not run";

    std::ofstream(servers_->path() + "/www/index.html")
        << "<html><body><p>first line</p><p>a \"new\" <a href=\"/n.html\">line</a></p>"
           "<p>and another</p></body></html>";
    fs::last_write_time(servers_->path() + "/www/index.html",
                        fs::file_time_type::clock::now() + std::chrono::hours(4));
    out.str("");
    err.str("");
    EXPECT_EQ(cli::Run({"check", "--json", "--notify-command=" + command, "News"}, out, err),
              cli::kExitDone);
    std::ofstream(servers_->path() + "/www/index.html") << kPageHtml;
    EXPECT_EQ(out.str(), "{\"name\":\"Site\",\"path\":\"News/Site\",\"url\":\"" +
                             Web("/index.html") +
                             "\",\"code\":3,\"result\":\"updated\",\"lines\":["
                             "\"a \\\"new\\\" line <" +
                             Web("/n.html") + ">\",\"and another\"],\"error\":null}\n")
        << "standard output holds the JSON lines alone";
    EXPECT_EQ(Read(notified), "News/Site\t" + Web("/index.html") + "\t2\n");
    ::unsetenv("VELNORA_HOME");
}

}  // namespace
}  // namespace velnora::fetch
