#include "fetch/request.h"

#include <algorithm>

#include "fetch/base64.h"
#include "fetch/password.h"
#include "fetch/response_head.h"
#include "files/text_file.h"
#include "store/page_files.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"
#include "text/version.h"

namespace velnora::fetch {

namespace {

constexpr std::string_view kLastModifiedName = "Last-Modified:";
constexpr std::string_view kCrLf = "\r\n";

// The Host line's value: the host, and ":port" when the port is not the scheme's default.
std::string HostLineValue(const UrlParts& parts) {
    std::string value = HostForHeader(parts);
    if (!parts.default_port) {
        value += ':';
        value += std::to_string(parts.port);
    }
    return value;
}

// A header value as it may stand on one line: up to the first CR, LF or zero byte, cut to
// limit bytes.
std::string_view OneLine(std::string_view value, std::size_t limit) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    return value.substr(0, text::CharacterBoundary(value, limit));
}

}  // namespace

std::string RequestTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (char c : target) {
        auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

bool UsesProxy(int use_proxy, std::string_view proxy_url, int noproxy) {
    return use_proxy != 0 && !proxy_url.empty() && noproxy == 0;
}

LastModified LoadLastModified(int use_head, int dont_use_head, std::string_view page_directory) {
    LastModified result;
    if (use_head == 0 || dont_use_head != 0) {
        return result;
    }
    std::optional<std::string> path = store::PagePath(page_directory, store::kResponseFile);
    files::TextReader reader;
    if (!path || !reader.Open(*path)) {
        return result;
    }
    std::string piece;
    for (int n = 0; n < kHeaderPieceCount && reader.ReadLine(piece, kHeaderPieceLimit + 1); ++n) {
        if (piece.front() == '\r' || piece.front() == '\n') {
            break;
        }
        if (piece.size() < kLastModifiedName.size() ||
            !text::EqualNoCase(std::string_view(piece).substr(0, kLastModifiedName.size()),
                               kLastModifiedName)) {
            continue;
        }
        std::string_view value = std::string_view(piece).substr(kLastModifiedName.size());
        // The value ends at CR and LF, and where the stored text holds a zero byte.
        value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
        std::size_t start = value.find_first_not_of(' ');
        if (start != std::string_view::npos) {
            result.value = std::string(value.substr(start));
            result.send = true;
        }
        break;
    }
    return result;
}

std::string LoadEntityTag(int use_head, int dont_use_head, std::string_view page_directory) {
    if (use_head == 0 || dont_use_head != 0) {
        return {};
    }
    std::optional<std::string> path = store::PagePath(page_directory, store::kResponseFile);
    if (!path) {
        return {};
    }
    std::optional<std::string> tag = HeadField(ReadResponseHead(*path), "ETag");
    if (!tag || tag->size() > kIfModifiedSinceLimit ||
        std::any_of(tag->begin(), tag->end(), [](char c) {
            auto b = static_cast<unsigned char>(c);
            return b < 0x20 || b == 0x7F;
        })) {
        return {};
    }
    return *tag;
}

std::string ComposeRequest(const UrlParts& parts, bool through_proxy,
                           const LastModified& last_modified, const store::PageSettings& page) {
    // Plain http (and ftp) through the proxy asks the proxy for the absolute URL; https through
    // the proxy runs inside a CONNECT tunnel and so asks the server itself, as a direct
    // connection does.
    bool proxy_form = through_proxy && !parts.tls;
    std::string request;
    request.reserve(512 + parts.url.size() + parts.path.size() + parts.host.size());
    request += "GET ";
    request += RequestTarget(proxy_form ? parts.url : parts.path);
    request +=
        " HTTP/1.1\r\n"
        "Accept: */*\r\n"
        "Accept-Language: ja\r\n"
        "User-Agent: ";
    request += text::kUserAgent;
    request += "\r\nHost: ";
    request += HostLineValue(parts);
    request +=
        "\r\n"
        "Accept-Encoding: gzip\r\n"
        "Connection: close\r\n";
    if (proxy_form) {
        request += "Pragma: no-cache\r\n";
    }

    if (last_modified.send) {
        std::string_view value = OneLine(last_modified.value, kIfModifiedSinceLimit);
        if (!value.empty()) {
            request += "If-Modified-Since: ";
            request += value;
            request += kCrLf;
        }
    }
    if (!last_modified.entity_tag.empty()) {
        request += "If-None-Match: ";
        request += OneLine(last_modified.entity_tag, kIfModifiedSinceLimit);
        request += kCrLf;
    }

    if (page.auth_type != 0) {
        std::string stored = text::CutToBuffer(page.auth_pass, kAuthPassSize);
        std::string password = stored.empty() ? std::string() : UnscramblePassword(stored);
        // A part that does not fit the credentials buffer is left out; with the field limits
        // (64 + 1 + 72 bytes) every part fits.
        std::string credentials;
        text::BoundedAppend(credentials, kCredentialsSize,
                            text::CutToBuffer(page.auth_id, kAuthIdSize));
        text::BoundedAppend(credentials, kCredentialsSize, ":");
        text::BoundedAppend(credentials, kCredentialsSize, password);
        request += "Authorization: Basic ";
        request += EncodeBase64(credentials);
        request += kCrLf;
    }

    request += kCrLf;
    return request;
}

std::string ComposeConnectRequest(const UrlParts& parts) {
    std::string authority = HostForHeader(parts) + ":" + std::to_string(parts.port);
    std::string request = "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority;
    request += "\r\nUser-Agent: ";
    request += text::kUserAgent;
    request += "\r\n\r\n";
    return request;
}

}  // namespace velnora::fetch
