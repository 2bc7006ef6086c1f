#include "fetch/url_split.h"

#include "text/shift_jis.h"

namespace velnora::fetch {

namespace {

constexpr std::string_view kSchemeEnd = "://";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(text::AsciiLower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Four decimal numbers from 0 to 255 joined by dots, without leading zeros (which some
// resolvers read as octal).
bool IsDottedIpv4(std::string_view text) {
    int parts = 0;
    std::size_t start = 0;
    for (;;) {
        std::size_t dot = text.find('.', start);
        std::string_view part = text.substr(
            start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) {
            return false;
        }
        int value = 0;
        for (char c : part) {
            if (!IsDigit(c)) {
                return false;
            }
            value = value * 10 + (c - '0');
        }
        if (value > 255 || ++parts > 4) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return parts == 4;
        }
        start = dot + 1;
    }
}

// Counts the 16-bit groups of a colon-separated run of an IPv6 address (RFC 4291 section 2.2);
// a dotted IPv4 address may end the run where allowed and counts as two groups. False when the
// run is malformed. An empty run has no groups.
bool CountIpv6Groups(std::string_view text, bool allow_ipv4_tail, int& count) {
    count = 0;
    if (text.empty()) {
        return true;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = text.find(':', start);
        std::string_view group = text.substr(
            start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
        if (colon == std::string_view::npos && allow_ipv4_tail &&
            group.find('.') != std::string_view::npos) {
            count += 2;
            return IsDottedIpv4(group);
        }
        if (group.empty() || group.size() > 4) {
            return false;
        }
        for (char c : group) {
            if (!IsHexDigit(c)) {
                return false;
            }
        }
        if (++count > 8) {
            return false;
        }
        if (colon == std::string_view::npos) {
            return true;
        }
        start = colon + 1;
    }
}

// An IPv6 address in text form: eight groups, or fewer around a single "::".
bool IsIpv6Address(std::string_view text) {
    std::size_t gap = text.find("::");
    int head = 0;
    int tail = 0;
    if (gap == std::string_view::npos) {
        return CountIpv6Groups(text, true, tail) && tail == 8;
    }
    std::string_view after = text.substr(gap + 2);
    if (after.find("::") != std::string_view::npos) {
        return false;
    }
    return CountIpv6Groups(text.substr(0, gap), false, head) &&
           CountIpv6Groups(after, true, tail) && head + tail <= 7;
}

// A decimal port from 1 to 65535; nothing otherwise (also for an empty text).
std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 65535) {
            return std::nullopt;
        }
    }
    if (value == 0) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

bool HasWebScheme(std::string_view address) {
    for (std::string_view scheme : {"http://", "https://", "ftp://"}) {
        if (text::StartsWithNoCase(address, scheme)) {
            return true;
        }
    }
    return false;
}

std::optional<UrlParts> SplitUrl(std::string_view url) {
    if (url.size() > kUrlLimit ||
        url.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        return std::nullopt;
    }

    UrlParts parts;
    parts.url = std::string(url);

    // Scheme: everything before the first colon, which must be followed by "//".
    std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || url.substr(colon, kSchemeEnd.size()) != kSchemeEnd) {
        return std::nullopt;
    }
    parts.scheme = LowerAscii(url.substr(0, colon));
    std::uint16_t default_port = 0;
    if (parts.scheme == "http") {
        default_port = kHttpPort;
    } else if (parts.scheme == "https") {
        default_port = kHttpsPort;
        parts.tls = true;
    } else if (parts.scheme == "ftp") {
        default_port = kFtpPort;
    } else {
        return std::nullopt;
    }

    // Authority: up to the first "/", "?" or "#" (none of them can be the second byte of a
    // double-byte character).
    std::size_t authority_start = colon + kSchemeEnd.size();
    std::size_t authority_end = url.find_first_of("/?#", authority_start);
    if (authority_end == std::string_view::npos) {
        authority_end = url.size();
    }
    std::string_view authority = url.substr(authority_start, authority_end - authority_start);

    // User information up to the last "@": checked against the component limit, then dropped.
    std::size_t at = text::FindLastByte(authority, '@');
    if (at != std::string_view::npos) {
        std::string_view user_info = authority.substr(0, at);
        std::size_t separator = user_info.find(':');
        std::string_view user = user_info.substr(0, separator);
        std::string_view password = separator == std::string_view::npos
                                        ? std::string_view()
                                        : user_info.substr(separator + 1);
        if (user.size() > kUrlComponentLimit || password.size() > kUrlComponentLimit) {
            return std::nullopt;
        }
        authority.remove_prefix(at + 1);
    }

    // Host and optional port.
    std::string_view host;
    std::string_view port_text;
    bool has_port = false;
    if (!authority.empty() && authority.front() == '[') {
        std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = authority.substr(1, close - 1);
        std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return std::nullopt;
            }
            has_port = true;
            port_text = rest.substr(1);
        }
        if (!IsIpv6Address(host)) {
            return std::nullopt;
        }
        parts.ipv6 = true;
        parts.ip_literal = true;
    } else {
        std::size_t port_colon = authority.find(':');
        host = authority.substr(0, port_colon);
        if (port_colon != std::string_view::npos) {
            has_port = true;
            port_text = authority.substr(port_colon + 1);
        }
        parts.ip_literal = IsDottedIpv4(host);
    }
    if (host.empty() || host.size() > kUrlComponentLimit) {
        return std::nullopt;
    }
    parts.host = std::string(host);
    parts.port = default_port;
    // An empty port ("http://h:/") is the scheme's default (RFC 3986, 3.2.3).
    if (has_port && !port_text.empty()) {
        std::optional<std::uint16_t> port = ParsePort(port_text);
        if (!port) {
            return std::nullopt;
        }
        parts.port = *port;
    }
    parts.default_port = parts.port == default_port;

    // Path up to the first "?" or "#"; the extra information is the rest, as written.
    std::string_view rest = url.substr(authority_end);
    std::size_t extra_start = rest.find_first_of("?#");
    std::string_view path = rest.substr(0, extra_start);
    std::string_view extra =
        extra_start == std::string_view::npos ? std::string_view() : rest.substr(extra_start);
    if (path.size() > kUrlComponentLimit || extra.size() > kUrlComponentLimit) {
        return std::nullopt;
    }
    parts.path = path.empty() ? std::string("/") : std::string(path);
    parts.path.append(extra);
    return parts;
}

std::string HostForHeader(const UrlParts& parts) {
    if (parts.ipv6) {
        return "[" + parts.host + "]";
    }
    return parts.host;
}

}  // namespace velnora::fetch
