#pragma once

// Splitting a page's URL into what a fetch needs: where to connect and what to ask for.
//
// The URL is Shift_JIS bytes as the user stored it. Nothing is decoded or normalised here: the
// path, query and fragment keep their bytes, blanks and double-byte characters included (the
// request line sends those that cannot stand in it as %XX).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::fetch {

// Each component of a URL (scheme, user name, password, host, path, query and fragment) is
// at most this long; a URL with a longer one is rejected.
inline constexpr std::size_t kUrlComponentLimit = 1000;
// A URL longer than a page's URL field holds (2,100 bytes) is rejected.
inline constexpr std::size_t kUrlLimit = 2100;

inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr std::uint16_t kHttpsPort = 443;
inline constexpr std::uint16_t kFtpPort = 21;

struct UrlParts {
    // The URL exactly as it was split; the request line through the proxy carries it.
    std::string url;
    // "http", "https" or "ftp", in lower case whatever the URL's letter case.
    std::string scheme;
    // The host as written in the URL (letter case kept). An IPv6 literal is held without its
    // brackets, ready for an address parser; the Host and CONNECT lines put them back.
    std::string host;
    // The URL's port, or its scheme's default when it names none.
    std::uint16_t port = kHttpPort;
    // The path ("/" when the URL has none) followed by the query and the fragment exactly as
    // they stand in the URL.
    std::string path;
    // The connection is to be made over TLS (https).
    bool tls = false;
    // The port is the scheme's default (named in the URL or not); the Host line then omits it.
    bool default_port = true;
    // The host is a dotted IPv4 address or a bracketed IPv6 address: no name lookup is needed.
    bool ip_literal = false;
    // The host is an IPv6 address (ip_literal is then true as well).
    bool ipv6 = false;
};

// Splits an absolute http, https or ftp URL of the form
//   scheme "://" [user-info "@"] host [":" port] [path] ["?" query] ["#" fragment]
// An empty port means the scheme's default. Nothing when the URL is rejected: another scheme or
// no "://", an empty host, a port that is not a decimal number from 1 to 65535, a bracketed
// host that is not an IPv6 address, a component longer than kUrlComponentLimit, a URL longer
// than kUrlLimit, or a URL holding a CR, LF or zero byte (it could not stand in a request line).
// ftp URLs are fetched with plain HTTP on port 21 unless they name another port.
std::optional<UrlParts> SplitUrl(std::string_view url);

// Whether the address begins with "http://", "https://" or "ftp://" (letter case ignored): the
// addresses the program fetches and opens.
bool HasWebScheme(std::string_view address);

// The host as the Host and CONNECT lines write it: an IPv6 address in brackets, any other host
// as written.
std::string HostForHeader(const UrlParts& parts);

}  // namespace velnora::fetch
