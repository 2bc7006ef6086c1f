#include "fetch/request.h"

#include <gtest/gtest.h>

#include "fetch/base64.h"
#include "fetch/password.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

// The fixed part of every request, between the request line and the Host line.
constexpr std::string_view kAcceptToUserAgent =
    "Accept: */*\r\n"
    "Accept-Language: ja\r\n"
    "User-Agent: Velnora/0.42 (Windows)\r\n";
constexpr std::string_view kEncodingAndClose =
    "Accept-Encoding: gzip\r\n"
    "Connection: close\r\n";

std::string Request(std::string_view target, std::string_view host, std::string_view more = "") {
    return "GET " + std::string(target) + " HTTP/1.1\r\n" + std::string(kAcceptToUserAgent) +
           "Host: " + std::string(host) + "\r\n" + std::string(kEncodingAndClose) +
           std::string(more) + "\r\n";
}

UrlParts Split(std::string_view url) {
    std::optional<UrlParts> parts = SplitUrl(url);
    EXPECT_TRUE(parts.has_value()) << url;
    return parts.value_or(UrlParts{});
}

LastModified Since(std::string value) {
    return LastModified{true, std::move(value)};
}

store::PageSettings Auth(std::string id, std::string_view password) {
    store::PageSettings page;
    page.auth_type = 1;
    page.auth_id = std::move(id);
    page.auth_pass = ScramblePassword(password);
    return page;
}

constexpr std::string_view kDate = "Tue, 15 Nov 1994 12:45:26 GMT";

// --- UsesProxy ------------------------------------------------------------------------------

TEST(UsesProxy, OnlyWithUseProxyAProxyHostAndNoPageOptOut) {
    EXPECT_TRUE(UsesProxy(1, "proxy.example.com", 0));
    EXPECT_TRUE(UsesProxy(2, "10.0.0.1", 0)) << "any non-zero USE_PROXY";
    EXPECT_FALSE(UsesProxy(0, "proxy.example.com", 0)) << "USE_PROXY off";
    EXPECT_FALSE(UsesProxy(1, "", 0)) << "PROXY_URL empty";
    EXPECT_FALSE(UsesProxy(1, "proxy.example.com", 1)) << "the page's NOPROXY set";
}

// --- ComposeRequest ---------------------------------------------------------------------------

TEST(ComposeRequest, DirectRequestHasThePathAndTheHostAlone) {
    store::PageSettings page;
    EXPECT_EQ(ComposeRequest(Split("http://example.com"), false, {}, page),
              Request("/", "example.com"));
    EXPECT_EQ(ComposeRequest(Split("http://Example.com/a?q=1#frag"), false, {}, page),
              Request("/a?q=1#frag", "Example.com"));
    EXPECT_EQ(ComposeRequest(Split("http://user:pw@example.com:80/x"), false, {}, page),
              Request("/x", "example.com"));
    EXPECT_EQ(ComposeRequest(Split("ftp://files.example.com/pub/"), false, {}, page),
              Request("/pub/", "files.example.com"));
}

TEST(ComposeRequest, BytesThatCannotStandInTheRequestLineGoOutAsPercentEscapes) {
    store::PageSettings page;
    struct Row {
        std::string url;
        bool through_proxy;
        std::string target;
    };
    const Row rows[] = {
        {"http://example.com/a b", false, "/a%20b"},
        {"http://example.com/a\tb\x7F", false, "/a%09b%7F"},
        {"http://example.com/\x01?\x1B[2J", false, "/%01?%1B[2J"},
        {test::Sjis("http://example.com/検索?語=テスト"), false,
         "/%8C%9F%8D%F5?%8C%EA=%83e%83X%83g"},
        {"http://example.com/%41%20ok?a=%ZZ&b=~!*'();:@&=+$,/#f", false,
         "/%41%20ok?a=%ZZ&b=~!*'();:@&=+$,/#f"},
        {"http://example.com/a b", true, "http://example.com/a%20b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        UrlParts parts = Split(row.url);
        std::string request = ComposeRequest(parts, row.through_proxy, {}, page);
        EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET " + row.target + " HTTP/1.1");
        EXPECT_EQ(parts.url, row.url) << "the URL itself is not changed";
    }
}

TEST(ComposeRequest, HostLineCarriesAPortOtherThanTheSchemesDefault) {
    store::PageSettings page;
    EXPECT_EQ(ComposeRequest(Split("http://example.com:8080/"), false, {}, page),
              Request("/", "example.com:8080"));
    EXPECT_EQ(ComposeRequest(Split("https://example.com:8443/"), false, {}, page),
              Request("/", "example.com:8443"));
    EXPECT_EQ(ComposeRequest(Split("https://example.com:80/"), false, {}, page),
              Request("/", "example.com:80"));
    EXPECT_EQ(ComposeRequest(Split("https://example.com:443/"), false, {}, page),
              Request("/", "example.com"));
    EXPECT_EQ(ComposeRequest(Split("ftp://example.com:21/"), false, {}, page),
              Request("/", "example.com"));
    EXPECT_EQ(ComposeRequest(Split("http://[::1]:8080/"), false, {}, page),
              Request("/", "[::1]:8080"));
    EXPECT_EQ(ComposeRequest(Split("http://[::1]/"), false, {}, page), Request("/", "[::1]"));
}

TEST(ComposeRequest, PlainHttpThroughTheProxyAsksForTheUrlAsStored) {
    store::PageSettings page;
    // Port, user information and fragment all stay in the request line.
    std::string url = "http://user:pw@Example.com:8080/a?b=1#c";
    EXPECT_EQ(ComposeRequest(Split(url), true, {}, page),
              Request(url, "Example.com:8080", "Pragma: no-cache\r\n"));
    std::string sjis = test::Sjis("http://example.com/検索");
    EXPECT_EQ(ComposeRequest(Split(sjis), true, {}, page),
              Request("http://example.com/%8C%9F%8D%F5", "example.com", "Pragma: no-cache\r\n"));
    EXPECT_EQ(ComposeRequest(Split("ftp://files.example.com/pub/"), true, {}, page),
              Request("ftp://files.example.com/pub/", "files.example.com", "Pragma: no-cache\r\n"));
}

TEST(ComposeRequest, DirectWithIfModifiedSinceAndAuthorization) {
    store::PageSettings page = Auth("user", "secret");
    EXPECT_EQ(
        ComposeRequest(Split("http://example.com/news/"), false, Since(std::string(kDate)), page),
        Request("/news/", "example.com",
                "If-Modified-Since: Tue, 15 Nov 1994 12:45:26 GMT\r\n"
                "Authorization: Basic dXNlcjpzZWNyZXQ=\r\n"));
}

TEST(ComposeRequest, ProxyWithIfModifiedSinceAndAuthorization) {
    store::PageSettings page = Auth("user", "secret");
    EXPECT_EQ(
        ComposeRequest(Split("http://example.com/news/"), true, Since(std::string(kDate)), page),
        Request("http://example.com/news/", "example.com",
                "Pragma: no-cache\r\n"
                "If-Modified-Since: Tue, 15 Nov 1994 12:45:26 GMT\r\n"
                "Authorization: Basic dXNlcjpzZWNyZXQ=\r\n"));
}

TEST(ComposeRequest, HttpsDirectAndThroughATunnelSendTheDirectForm) {
    store::PageSettings page = Auth("user", "secret");
    const std::string expected = Request("/news/?id=3", "example.com",
                                         "If-Modified-Since: Tue, 15 Nov 1994 12:45:26 GMT\r\n"
                                         "Authorization: Basic dXNlcjpzZWNyZXQ=\r\n");
    UrlParts parts = Split("https://example.com/news/?id=3");
    EXPECT_EQ(ComposeRequest(parts, false, Since(std::string(kDate)), page), expected);
    EXPECT_EQ(ComposeRequest(parts, true, Since(std::string(kDate)), page), expected)
        << "inside the tunnel: path, no Pragma";
    EXPECT_EQ(ComposeConnectRequest(parts),
              "CONNECT example.com:443 HTTP/1.1\r\n"
              "Host: example.com:443\r\n"
              "User-Agent: Velnora/0.42 (Windows)\r\n"
              "\r\n");
}

TEST(ComposeRequest, ConnectRequestAlwaysNamesThePort) {
    EXPECT_EQ(ComposeConnectRequest(Split("https://Example.com:8443/x")),
              "CONNECT Example.com:8443 HTTP/1.1\r\nHost: Example.com:8443\r\n"
              "User-Agent: Velnora/0.42 (Windows)\r\n\r\n");
    EXPECT_EQ(ComposeConnectRequest(Split("https://[2001:db8::1]/")),
              "CONNECT [2001:db8::1]:443 HTTP/1.1\r\nHost: [2001:db8::1]:443\r\n"
              "User-Agent: Velnora/0.42 (Windows)\r\n\r\n");
}

TEST(ComposeRequest, IfModifiedSinceOnlyWhenFlaggedAndOnOneLine) {
    store::PageSettings page;
    UrlParts parts = Split("http://h/");
    EXPECT_EQ(ComposeRequest(parts, false, LastModified{false, std::string(kDate)}, page),
              Request("/", "h"));
    EXPECT_EQ(ComposeRequest(parts, false, Since("x\r\nX-Injected: 1"), page),
              Request("/", "h", "If-Modified-Since: x\r\n"));
    EXPECT_EQ(ComposeRequest(parts, false, Since(std::string(1500, 'd')), page),
              Request("/", "h", "If-Modified-Since: " + std::string(999, 'd') + "\r\n"));
}

TEST(ComposeRequest, AuthorizationLineFollowsAuthTypeAlone) {
    UrlParts parts = Split("http://h/");
    store::PageSettings page;
    page.auth_id = "user";
    page.auth_pass = ScramblePassword("secret");
    EXPECT_EQ(ComposeRequest(parts, false, {}, page), Request("/", "h")) << "AUTH_TYPE 0";

    // Empty ID and empty password send the Base64 form of ":".
    store::PageSettings empty;
    empty.auth_type = 1;
    EXPECT_EQ(ComposeRequest(parts, false, {}, empty),
              Request("/", "h", "Authorization: Basic Og==\r\n"));

    // Shift_JIS bytes are encoded as they are.
    EXPECT_EQ(ComposeRequest(parts, false, {}, Auth("taro", test::Sjis("パス"))),
              Request("/", "h", "Authorization: Basic dGFybzqDcINY\r\n"));
}

TEST(ComposeRequest, CredentialsKeepToTheFieldLimits) {
    UrlParts parts = Split("http://h/");
    // AUTH_ID is cut to 64 bytes, the stored password to 192 characters (72 password bytes):
    // a block added beyond the field does not reach the line.
    store::PageSettings page = Auth(std::string(80, 'a'), std::string(72, 'p'));
    ASSERT_EQ(page.auth_pass.size(), 192u);
    page.auth_pass += ScramblePassword("zzzz");
    ASSERT_EQ(UnscramblePassword(page.auth_pass), std::string(72, 'p') + "zzzz");
    std::string credentials = std::string(64, 'a') + ":" + std::string(72, 'p');
    EXPECT_EQ(ComposeRequest(parts, false, {}, page),
              Request("/", "h", "Authorization: Basic " + EncodeBase64(credentials) + "\r\n"));

    // A stored password that is not Base64 still sends a line.
    page.auth_pass = "!!not base64!!";
    std::string request = ComposeRequest(parts, false, {}, page);
    EXPECT_NE(request.find("\r\nAuthorization: Basic "), std::string::npos);
    EXPECT_EQ(request.substr(request.size() - 4), "\r\n\r\n");
}

// --- LoadLastModified -------------------------------------------------------------------------

class LoadLastModifiedTest : public ::testing::Test {
  protected:
    void Store(std::string_view bytes) { test::WriteBytes(dir_ / "html.txt", bytes); }
    LastModified Load() { return LoadLastModified(1, 0, dir_.path()); }

    test::TempDir dir_;
};

TEST_F(LoadLastModifiedTest, TakesTheValueInAnyLetterCaseWithoutTheSpacesAfterTheColon) {
    const char* const rows[] = {
        "Last-Modified: Tue, 15 Nov 1994 12:45:26 GMT\r\n",
        "last-modified:Tue, 15 Nov 1994 12:45:26 GMT\r\n",
        "LAST-MODIFIED:      Tue, 15 Nov 1994 12:45:26 GMT\r\n",
        "Last-Modified: Tue, 15 Nov 1994 12:45:26 GMT\n",  // bare line feeds
    };
    for (const char* line : rows) {
        SCOPED_TRACE(line);
        Store(std::string("HTTP/1.1 200 OK\r\nServer: x\r\n") + line + "Content-Length: 0\r\n\r\n");
        LastModified last = Load();
        EXPECT_TRUE(last.send);
        EXPECT_EQ(last.value, kDate);
    }
    Store("HTTP/1.1 200 OK\r\nLast-Modified: Tue, 15 Nov 1994  \r\n\r\n");
    EXPECT_EQ(Load().value, "Tue, 15 Nov 1994  ") << "trailing spaces are kept";
}

TEST_F(LoadLastModifiedTest, NothingIsSentWhenSwitchedOffOrNotFound) {
    Store("HTTP/1.1 200 OK\r\nLast-Modified: Tue, 15 Nov 1994 12:45:26 GMT\r\n\r\n");
    EXPECT_FALSE(LoadLastModified(0, 0, dir_.path()).send) << "USE_HEAD 0";
    EXPECT_FALSE(LoadLastModified(1, 1, dir_.path()).send) << "DONT_USE_HEAD set";
    EXPECT_FALSE(LoadLastModified(1, 0, dir_ / "missing").send) << "no html.txt";

    Store("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\nLast-Modified: in the body\r\n");
    EXPECT_FALSE(Load().send) << "after the blank line";

    // Only spaces: no value, and the search ends there.
    Store("HTTP/1.1 200 OK\r\nLast-Modified:   \r\nLast-Modified: later\r\n\r\n");
    LastModified last = Load();
    EXPECT_FALSE(last.send);
    EXPECT_EQ(last.value, "");

    Store("");
    EXPECT_FALSE(Load().send) << "empty file";
    Store("Last-Modified");
    EXPECT_FALSE(Load().send) << "shorter than the name";
}

TEST_F(LoadLastModifiedTest, ReadsAtMost100PiecesOf99Bytes) {
    const std::string header = "X-Filler: 1\r\n";
    const std::string last_modified = "Last-Modified: " + std::string(kDate) + "\r\n";
    std::string head = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 98; ++i) {
        head += header;
    }
    Store(head + last_modified + "\r\n");  // the 100th line
    EXPECT_TRUE(Load().send);
    Store(head + header + last_modified + "\r\n");  // the 101st line
    EXPECT_FALSE(Load().send);

    // A header of 250 bytes is three pieces.
    std::string long_head = "HTTP/1.1 200 OK\r\nX-Long: " + std::string(240, 'v') + "\r\n";
    for (int i = 0; i < 95; ++i) {
        long_head += header;
    }
    Store(long_head + last_modified + "\r\n");  // pieces 1 + 3 + 95 + 1 = 100
    EXPECT_TRUE(Load().send);
    Store(long_head + header + last_modified + "\r\n");  // 101
    EXPECT_FALSE(Load().send);
}

TEST_F(LoadLastModifiedTest, ValueEndsWithItsPiece) {
    // 15 + 84 bytes fill a piece: the value is the 84 bytes, without the line end that
    // follows in the next piece.
    Store("HTTP/1.1 200 OK\r\nLast-Modified: " + std::string(84, 'v') + "\r\n\r\n");
    EXPECT_EQ(Load().value, std::string(84, 'v'));
    Store("HTTP/1.1 200 OK\r\nLast-Modified: " + std::string(83, 'v') + "\r\n\r\n");
    EXPECT_EQ(Load().value, std::string(83, 'v'));
    Store("HTTP/1.1 200 OK\r\nLast-Modified: " + std::string(300, 'v') + "\r\n\r\n");
    EXPECT_EQ(Load().value, std::string(84, 'v'));
}

TEST_F(LoadLastModifiedTest, GarbageGivesAValueWithoutLineBreaksOrZeroBytes) {
    Store(std::string("Last-Modified: a\rb\r\n\r\n"));
    EXPECT_EQ(Load().value, "a") << "cut at a lone CR";
    Store(std::string("Last-Modified: a\0b\r\n\r\n", 22));
    EXPECT_EQ(Load().value, "a") << "cut at a zero byte";

    std::string noise;
    for (int i = 0; i < 200000; ++i) {
        noise.push_back(static_cast<char>((i * 7919 + 13) % 251 + 1));
    }
    Store(noise);
    LastModified last = Load();
    EXPECT_EQ(last.value.find_first_of(std::string_view("\r\n\0", 3)), std::string::npos);
    EXPECT_LE(last.value.size(), 85u);
}

TEST_F(LoadLastModifiedTest, PageDirectoryTooLongForThePathGivesNoValue) {
    Store("HTTP/1.1 200 OK\r\nLast-Modified: x\r\n\r\n");
    EXPECT_FALSE(LoadLastModified(1, 0, std::string(252, 'd')).send);
}

}  // namespace
}  // namespace velnora::fetch
