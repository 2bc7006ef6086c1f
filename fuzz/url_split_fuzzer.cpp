// Any stored URL through the splitter and into a request: no crash, no read or write outside
// the URL, parts within their bounds, and a request whose lines cannot be broken or added to:
// the request line's target holds only bytes that may stand there.
//
// Input: one byte of flags (bit 0: through the proxy), then the URL.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fetch/request.h"
#include "fetch/url_split.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string_view> Lines(std::string_view request) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= request.size();) {
        std::size_t end = request.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(request.substr(start));
            break;
        }
        lines.push_back(request.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    bool through_proxy = (data[0] & 1) != 0;
    std::string_view url(reinterpret_cast<const char*>(data + 1), size - 1);
    std::optional<velnora::fetch::UrlParts> parts = velnora::fetch::SplitUrl(url);
    if (!parts) {
        return 0;
    }
    Require(parts->url == url);
    Require(!parts->host.empty() && parts->host.size() <= velnora::fetch::kUrlComponentLimit);
    Require(!parts->path.empty() && parts->path.front() == '/');
    Require(parts->path.size() <= 2 * velnora::fetch::kUrlComponentLimit + 1);
    Require(parts->port >= 1);
    Require(parts->ipv6 ? parts->ip_literal : true);

    velnora::store::PageSettings page;
    std::string request = velnora::fetch::ComposeRequest(*parts, through_proxy, {}, page);
    Require(request.size() < 10000);
    std::vector<std::string_view> lines = Lines(request);
    // Request line, Accept, Accept-Language, User-Agent, Host, Accept-Encoding, Connection,
    // Pragma through the proxy for plain http, then the empty line that ends the request.
    std::size_t headers = through_proxy && !parts->tls ? 8 : 7;
    Require(lines.size() == headers + 2 && lines[headers].empty() && lines[headers + 1].empty());
    for (std::string_view line : lines) {
        Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    }
    std::string_view request_line = lines[0];
    Require(request_line.starts_with("GET ") && request_line.ends_with(" HTTP/1.1"));
    std::string_view target = request_line.substr(4, request_line.size() - 4 - 9);
    for (char c : target) {
        auto b = static_cast<unsigned char>(c);
        Require(b > 0x20 && b < 0x7F);
    }
    velnora::fetch::ComposeConnectRequest(*parts);
    return 0;
}
