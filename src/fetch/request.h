#pragma once

// What one fetch sends: the choice between a direct connection and the proxy, the
// If-Modified-Since value from the page's last stored response, and the exact bytes of the
// HTTP/1.1 request (RFC 9112).
//
// A fetch goes like this:
//   parts = SplitUrl(page.url)                        (nothing: fail like a failed lookup)
//   proxy = UsesProxy(USE_PROXY, PROXY_URL, page.noproxy)
//   last  = LoadLastModified(USE_HEAD, page.dont_use_head, page directory)
//   connect to PROXY_URL:PROXY_PORT when proxy, else to parts.host:parts.port
//   if parts.tls and proxy: send ComposeConnectRequest(parts), wait for a 2xx answer
//   last.entity_tag = LoadEntityTag(USE_HEAD, page.dont_use_head, page directory)
//   if parts.tls: start TLS (server name parts.host)
//   send ComposeRequest(parts, proxy, last, page)

#include <cstddef>
#include <string>
#include <string_view>

#include "fetch/url_split.h"
#include "store/records.h"

namespace velnora::fetch {

// html.txt is read in pieces of at most this many bytes, each counting as a line ...
inline constexpr std::size_t kHeaderPieceLimit = 99;
// ... and at most this many of them.
inline constexpr int kHeaderPieceCount = 100;
// The If-Modified-Since value holds at most this many bytes; so does the If-None-Match value.
inline constexpr std::size_t kIfModifiedSinceLimit = 999;
// The Basic credentials ("id:password") are built in a buffer of this size: at most 999 bytes.
inline constexpr std::size_t kCredentialsSize = 1000;
// The field sizes (with their terminating zero) that the Authorization line takes AUTH_ID and
// the stored password from.
inline constexpr std::size_t kAuthIdSize = 65;
inline constexpr std::size_t kAuthPassSize = 193;

// The request target as it may stand in the request line (RFC 9112, 3.2): a byte that cannot
// stand there (a control byte, the space, a byte of 0x80 and above) goes out as "%" and its two
// hex digits, so that the server sees the same bytes and the line stays well formed.
std::string RequestTarget(std::string_view target);

// A fetch goes through the proxy exactly when the program's USE_PROXY is non-zero, its
// PROXY_URL is not empty and the page's NOPROXY is 0.
bool UsesProxy(int use_proxy, std::string_view proxy_url, int noproxy);

struct LastModified {
    // The request carries an If-Modified-Since line.
    bool send = false;
    // The Last-Modified value of the page's last stored response, without the spaces after the
    // colon (trailing spaces kept), never holding a CR, LF or zero byte.
    std::string value;
    // The ETag of the page's last stored response, sent as If-None-Match when not empty.
    std::string entity_tag;
};

// The If-Modified-Since value for the next request of a page. Nothing is sent when the
// program's USE_HEAD is 0 or the page's DONT_USE_HEAD is non-zero. Otherwise the page's
// html.txt is read as text in pieces of at most 99 bytes (a longer line gives several pieces,
// each counting as a line), at most 100 of them, up to the first piece that begins with CR or
// LF (the blank line that ends the header block). The first piece whose first 14 bytes are
// "Last-Modified:" in any letter case gives the value: the rest of the piece up to its first CR
// or LF, the spaces after the colon skipped; nothing but spaces gives no value. A missing or
// unreadable html.txt, or a page directory too long for the path, gives no value.
LastModified LoadLastModified(int use_head, int dont_use_head, std::string_view page_directory);

// The ETag of the page's html.txt, for If-None-Match (RFC 9110 section 13.1.2), under the same
// settings as If-Modified-Since: nothing when USE_HEAD is 0 or the page's DONT_USE_HEAD is
// non-zero. The first ETag header of the header block is taken as it stands, blanks around it
// removed; a value longer than kIfModifiedSinceLimit or holding a control byte gives nothing.
std::string LoadEntityTag(int use_head, int dont_use_head, std::string_view page_directory);

// The request for the page, header lines in this order:
//   GET <target> HTTP/1.1, Accept, Accept-Language, User-Agent, Host, Accept-Encoding,
//   Connection, Pragma (plain http or ftp through the proxy only), If-Modified-Since
//   (when last_modified.send), If-None-Match (when last_modified.entity_tag is not empty),
//   Authorization (when page.auth_type is non-zero)
// then an empty line; no body. The target is parts.url, the page's URL as given, for plain http
// or ftp through the proxy; otherwise (direct, and https, which goes through a CONNECT tunnel
// when through_proxy) it is parts.path. Bytes of the target that cannot stand in a request line
// (control bytes, the space, bytes of 0x80 and above) are sent as %XX of the same byte; the
// stored URL is not changed. The Host line carries ":port" when the port is not the scheme's
// default.
//
// The Authorization line is "Basic" with the Base64 form of AUTH_ID (at most 64 bytes), ":" and
// UnscramblePassword(AUTH_PASS) (AUTH_PASS at most 192 characters; an empty one gives an empty
// password). It is sent whenever auth_type is non-zero, also with an empty ID or password.
// Only auth_type, auth_id and auth_pass of the page are read.
//
// For parts made by SplitUrl the request stays under 10,000 bytes.
std::string ComposeRequest(const UrlParts& parts, bool through_proxy,
                           const LastModified& last_modified, const store::PageSettings& page);

// The request that opens a tunnel through the proxy to an https page (RFC 9110 section 9.3.6):
// "CONNECT host:port HTTP/1.1", the Host line "host:port", the User-Agent line and an empty
// line. The port is always written; an IPv6 address stands in brackets.
std::string ComposeConnectRequest(const UrlParts& parts);

}  // namespace velnora::fetch
