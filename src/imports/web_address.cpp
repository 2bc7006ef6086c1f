#include "imports/web_address.h"


#include "fetch/request.h"
#include "fetch/url_split.h"

namespace velnora::imports {

namespace {

// U+3000 IDEOGRAPHIC SPACE in UTF-8.
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    for (;;) {
        if (!text.empty() && IsAsciiBlank(text.front())) {
            text.remove_prefix(1);
        } else if (text.starts_with(kIdeographicSpace)) {
            text.remove_prefix(kIdeographicSpace.size());
        } else {
            break;
        }
    }
    for (;;) {
        if (!text.empty() && IsAsciiBlank(text.back())) {
            text.remove_suffix(1);
        } else if (text.ends_with(kIdeographicSpace)) {
            text.remove_suffix(kIdeographicSpace.size());
        } else {
            break;
        }
    }
    return text;
}

bool IsWebAddress(std::string_view address) {
    for (char c : address) {
        auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F) {
            return false;
        }
    }
    return fetch::HasWebScheme(address) && !HostOf(address).empty();
}

std::string HostOf(std::string_view address) {
    std::size_t start = address.find("://");
    if (start == std::string_view::npos) {
        return {};
    }
    std::string_view rest = address.substr(start + 3);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (std::size_t at = rest.rfind('@'); at != std::string_view::npos) {
        rest.remove_prefix(at + 1);
    }
    if (rest.starts_with('[')) {
        // An IPv6 literal keeps its brackets' content, colons and all.
        std::size_t close = rest.find(']');
        return std::string(rest.substr(1, close == std::string_view::npos ? rest.npos : close - 1));
    }
    return std::string(rest.substr(0, rest.find(':')));
}

std::string StoredAddress(std::string_view utf8) {
    // Stored as it will go out in the request line.
    return fetch::RequestTarget(TrimBlanks(utf8));
}

}  // namespace velnora::imports
