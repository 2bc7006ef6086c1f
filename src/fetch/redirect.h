#pragma once

// Following a page's redirects (RFC 9110 section 15.4): a response of 301, 302, 303, 307 or 308
// with a Location is followed by a new request for the address it names, up to kMaxRedirects
// times, each built as the first one. The trail keeps what the rules need to know of the hops
// so far.

#include <string>
#include <string_view>
#include <vector>

#include "fetch/url_split.h"

namespace velnora::fetch {

inline constexpr int kMaxRedirects = 5;

bool IsRedirectStatus(int status);
// 301 and 308: the page's URL moved for good.
bool IsPermanentRedirect(int status);

// The hops of one page's fetch.
struct RedirectTrail {
    // Every address fetched, the page's URL first and the one fetched now last.
    std::vector<std::string> visited;
    // A hop went from https to http: no credentials are sent any more.
    bool downgraded = false;
    // Every hop so far was permanent.
    bool permanent = true;
    // The target of the last of the leading permanent hops: where the page's URL moved for good
    // (empty when the first hop was not permanent, or there was none).
    std::string moved_to;

    // A new fetch of the page at its URL.
    void Begin(std::string_view url);
    const std::string& address() const { return visited.back(); }
    int hops() const { return static_cast<int>(visited.size()) - 1; }
    bool redirected() const { return hops() > 0; }
};

enum class HopResult : int {
    kFollow = 0,      // the address is fetched next; the trail has taken it
    kTooMany = 1,     // kMaxRedirects hops were followed already
    kLoop = 2,        // the address was fetched before in this chain
    kNotHttp = 3,     // the address is neither http nor https
    kBadAddress = 4,  // the address cannot be fetched (too long, no host, a bad port)
};

struct Hop {
    HopResult result = HopResult::kFollow;
    // The Location resolved against the address it came from (RFC 3986 section 5).
    std::string address;
};

// The step after a redirect with the status and Location from the trail's address.
Hop NextHop(RedirectTrail& trail, int status, std::string_view location);

// Whether the request for the trail's address may carry the page's Basic credentials: only to
// the host and port of the page's URL, and never after a hop from https to http.
bool SendsCredentials(const RedirectTrail& trail);

}  // namespace velnora::fetch
