// Following redirects: where the next hop goes, when the chain ends in an error, what the page
// moved to for good, and where the page's credentials may go.

#include "fetch/redirect.h"

#include <gtest/gtest.h>

#include "fetch/response_head.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

TEST(RedirectHops, LocationsResolveAgainstTheAddressTheyCameFrom) {
    struct Row {
        const char* from;
        const char* location;
        const char* to;
    } rows[] = {
        {"http://a.example/dir/page.html", "other.html", "http://a.example/dir/other.html"},
        {"http://a.example/dir/page.html", "/top", "http://a.example/top"},
        {"http://a.example/dir/page.html", "../up?q=1", "http://a.example/up?q=1"},
        {"http://a.example/dir/", "//b.example/x", "http://b.example/x"},
        {"http://a.example/", "https://a.example/", "https://a.example/"},
        {"https://a.example:8443/x", "?page=2", "https://a.example:8443/x?page=2"},
        {"http://a.example/", "/with space", "http://a.example/with%20space"},
    };
    for (const Row& row : rows) {
        RedirectTrail trail;
        trail.Begin(row.from);
        Hop hop = NextHop(trail, 302, row.location);
        EXPECT_EQ(hop.result, HopResult::kFollow) << row.location;
        EXPECT_EQ(hop.address, row.to);
        EXPECT_EQ(trail.address(), row.to);
        EXPECT_EQ(trail.hops(), 1);
    }
}

TEST(RedirectHops, ChainsEndAfterFiveHopsOnALoopAndOutsideHttp) {
    RedirectTrail trail;
    trail.Begin("http://a.example/0");
    for (int i = 1; i <= kMaxRedirects; ++i) {
        ASSERT_EQ(NextHop(trail, 302, "/" + std::to_string(i)).result, HopResult::kFollow);
    }
    Hop sixth = NextHop(trail, 302, "/6");
    EXPECT_EQ(sixth.result, HopResult::kTooMany);
    EXPECT_EQ(sixth.address, "http://a.example/6") << "the error names the address";
    EXPECT_EQ(trail.hops(), kMaxRedirects) << "a refused hop is not taken";

    struct Row {
        const char* location;
        HopResult result;
    } rows[] = {
        {"/0", HopResult::kLoop},  // back to the page's own URL
        {"http://a.example/1", HopResult::kLoop},
        {"ftp://a.example/file", HopResult::kNotHttp},
        {"mailto:someone@example.com", HopResult::kNotHttp},
        {"javascript:alert(1)", HopResult::kNotHttp},
        {"http://a.example:99999/", HopResult::kBadAddress},
        {"http:///nohost", HopResult::kBadAddress},
    };
    for (const Row& row : rows) {
        RedirectTrail short_trail;
        short_trail.Begin("http://a.example/0");
        NextHop(short_trail, 302, "/1");
        NextHop(short_trail, 302, "/2");
        EXPECT_EQ(NextHop(short_trail, 302, row.location).result, row.result) << row.location;
    }
}

TEST(RedirectHops, OnlyLeadingPermanentHopsMoveThePage) {
    struct Row {
        std::vector<int> statuses;
        const char* moved_to;
    } rows[] = {
        {{301}, "http://a.example/1"},
        {{308, 301}, "http://a.example/2"},
        {{301, 302, 301}, "http://a.example/1"},  // moved for good only as far as hop 1
        {{302, 301}, ""},                         // the URL itself did not move for good
        {{307}, ""},
        {{303}, ""},
    };
    for (const Row& row : rows) {
        RedirectTrail trail;
        trail.Begin("http://a.example/0");
        int n = 0;
        for (int status : row.statuses) {
            NextHop(trail, status, "/" + std::to_string(++n));
        }
        EXPECT_EQ(trail.moved_to, row.moved_to) << row.statuses.size();
    }
}

TEST(RedirectHops, CredentialsOnlyToTheSameHostAndPortAndNeverAfterADowngrade) {
    struct Row {
        const char* origin;
        std::vector<const char*> hops;
        bool sends;
    } rows[] = {
        {"http://a.example/", {}, true},
        {"http://a.example/", {"/private/"}, true},
        {"http://a.example/", {"http://A.EXAMPLE:80/x"}, true},
        {"http://a.example/", {"http://b.example/"}, false},
        {"http://a.example/", {"http://a.example:8080/"}, false},
        {"http://a.example/", {"https://a.example/"}, false},  // another port (443)
        {"https://a.example/", {"https://a.example/x"}, true},
        {"https://a.example/", {"http://a.example:443/x"}, false},  // from https to http
        // Back on the page's host and port, but after the move to http.
        {"https://a.example/", {"http://a.example/", "https://a.example/y"}, false},
        {"http://a.example/", {"http://b.example/", "http://a.example/z"}, true},
    };
    for (const Row& row : rows) {
        RedirectTrail trail;
        trail.Begin(row.origin);
        for (const char* location : row.hops) {
            ASSERT_EQ(NextHop(trail, 302, location).result, HopResult::kFollow) << location;
        }
        EXPECT_EQ(SendsCredentials(trail), row.sends) << row.origin << " -> " << trail.address();
    }
}

TEST(ResponseHead, StatusAndFieldsOfTheHeaderBlockOnly) {
    test::TempDir dir;
    std::string file = dir / "htmltmp.txt";
    test::WriteBytes(file,
                     "HTTP/1.1 301 Moved Permanently\r\nServer: nginx\r\n"
                     "location:   https://b.example/new  \r\nContent-Length: 5\r\n\r\n"
                     "Location: http://body.example/\r\n");
    std::string head = ReadResponseHead(file);
    EXPECT_EQ(HeadStatus(head), 301);
    EXPECT_EQ(HeadField(head, "Location"), "https://b.example/new");
    EXPECT_EQ(HeadField(head, "ETag"), std::nullopt);
    EXPECT_EQ(head.find("body.example"), std::string::npos) << "the body is not read";

    // A head that never ends is read up to its limit.
    test::WriteBytes(file, "HTTP/1.1 302 Found\r\n" + std::string(200000, 'x'));
    EXPECT_EQ(ReadResponseHead(file).size(), kResponseHeadLimit);
    EXPECT_EQ(ReadResponseHead(dir / "missing"), "");
    EXPECT_EQ(HeadStatus("garbage"), 0);
}

}  // namespace
}  // namespace velnora::fetch
