#include "fetch/redirect.h"

#include <algorithm>

#include "processing/url_resolver.h"
#include "text/shift_jis.h"

namespace velnora::fetch {

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool IsPermanentRedirect(int status) {
    return status == 301 || status == 308;
}

void RedirectTrail::Begin(std::string_view url) {
    visited.assign(1, std::string(url));
    downgraded = false;
    permanent = true;
    moved_to.clear();
}

Hop NextHop(RedirectTrail& trail, int status, std::string_view location) {
    Hop hop;
    hop.address = processing::AbsoluteAddress(location, trail.address());
    if (!text::StartsWithNoCase(hop.address, "http://") &&
        !text::StartsWithNoCase(hop.address, "https://")) {
        hop.result = HopResult::kNotHttp;
        return hop;
    }
    auto parts = SplitUrl(hop.address);
    if (!parts) {
        hop.result = HopResult::kBadAddress;
        return hop;
    }
    if (std::find(trail.visited.begin(), trail.visited.end(), hop.address) != trail.visited.end()) {
        hop.result = HopResult::kLoop;
        return hop;
    }
    if (trail.hops() >= kMaxRedirects) {
        hop.result = HopResult::kTooMany;
        return hop;
    }
    auto from = SplitUrl(trail.address());
    if (from && from->tls && !parts->tls) {
        trail.downgraded = true;
    }
    if (trail.permanent && IsPermanentRedirect(status)) {
        trail.moved_to = hop.address;
    } else {
        trail.permanent = false;
    }
    trail.visited.push_back(hop.address);
    hop.result = HopResult::kFollow;
    return hop;
}

bool SendsCredentials(const RedirectTrail& trail) {
    if (!trail.redirected()) {
        return true;
    }
    if (trail.downgraded) {
        return false;
    }
    auto origin = SplitUrl(trail.visited.front());
    auto now = SplitUrl(trail.address());
    return origin && now && origin->port == now->port && text::EqualNoCase(origin->host, now->host);
}

}  // namespace velnora::fetch
