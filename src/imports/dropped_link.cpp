#include "imports/dropped_link.h"

#include "fetch/url_split.h"
#include "imports/link_files.h"
#include "imports/text_bytes.h"
#include "imports/web_address.h"
#include "text/bounded_string.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

constexpr std::string_view kMozUrl = "text/x-moz-url";
constexpr std::string_view kNetscapeUrl = "_NETSCAPE_URL";
constexpr std::string_view kUriList = "text/uri-list";
constexpr std::string_view kFileScheme = "file://";

struct Candidate {
    std::string address;  // UTF-8
    std::optional<std::string> title;
};

// "address\ntitle" (the title may be missing), lines ending in LF or CR LF.
Candidate AddressAndTitle(std::string_view text) {
    Candidate candidate;
    std::size_t end = text.find('\n');
    candidate.address = std::string(TrimBlanks(text.substr(0, end)));
    if (end != std::string_view::npos) {
        std::string_view rest = text.substr(end + 1);
        candidate.title = std::string(TrimBlanks(rest.substr(0, rest.find('\n'))));
    }
    return candidate;
}

std::string FirstUri(std::string_view list) {
    while (!list.empty()) {
        std::size_t end = list.find('\n');
        std::string_view line = TrimBlanks(list.substr(0, end));
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
        if (!line.empty() && !line.starts_with('#')) {
            return std::string(line);
        }
    }
    return {};
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(text::AsciiLower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The local path of a file: address ("file:///home/u/a%20b.url"), or nothing when it names
// another host.
std::optional<std::string> LocalPath(std::string_view address) {
    std::string_view rest = address.substr(kFileScheme.size());
    if (rest.starts_with("localhost/")) {
        rest.remove_prefix(std::string_view("localhost").size());
    }
    if (!rest.starts_with('/')) {
        return std::nullopt;
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 &&
            HexValue(rest[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

// The candidate itself, or for a file dropped by its address a link file's address and title;
// nothing for other files.
std::optional<Candidate> FromFile(const DropContent& content, Candidate candidate) {
    std::string_view address = candidate.address;
    std::optional<std::string> path;
    if (text::StartsWithNoCase(address, kFileScheme)) {
        path = LocalPath(address);
    } else if (address.starts_with('/')) {
        path = std::string(address);
    } else {
        return candidate;
    }
    std::string_view name = path ? std::string_view(*path) : std::string_view();
    name = name.substr(name.rfind('/') + 1);
    if (!path || !IsLinkFileName(name) || !content.read_link_file) {
        return std::nullopt;
    }
    auto held = content.read_link_file(*path);
    if (!held) {
        return std::nullopt;
    }
    return Candidate{*held, LinkFileTitle(name)};
}

std::optional<Candidate> FirstCandidate(const DropContent& content) {
    if (const std::string* moz = content.Find(kMozUrl)) {
        std::string text = Utf16AsUtf8(*moz);
        // Some programs end the text with a zero.
        while (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        return AddressAndTitle(text);
    }
    if (const std::string* netscape = content.Find(kNetscapeUrl)) {
        return AddressAndTitle(TextAsUtf8(*netscape));
    }
    if (const std::string* list = content.Find(kUriList)) {
        return Candidate{FirstUri(TextAsUtf8(*list)), std::nullopt};
    }
    for (std::string_view plain : kDropFormats) {
        if (plain.starts_with("text/plain") || plain == "UTF8_STRING") {
            if (const std::string* text = content.Find(plain)) {
                return Candidate{std::string(TrimBlanks(TextAsUtf8(*text))), std::nullopt};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

const std::vector<std::string_view> kDropFormats = {
    kMozUrl, kNetscapeUrl, kUriList, "text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
};

const std::string* DropContent::Find(std::string_view mime) const {
    for (const auto& [format, bytes] : formats) {
        if (format == mime) {
            return &bytes;
        }
    }
    return nullptr;
}

DroppedLink ReadDrop(const DropContent& content) {
    DroppedLink link;
    std::optional<Candidate> candidate = FirstCandidate(content);
    if (candidate) {
        candidate = FromFile(content, std::move(*candidate));
    }
    if (!candidate || candidate->address.empty()) {
        return link;
    }
    // A web address is kept as browsers send it; other text (the user corrects it in the
    // sheet) as Shift_JIS.
    link.address = fetch::HasWebScheme(candidate->address)
                       ? StoredAddress(candidate->address)
                       : text::Utf8ToShiftJis(candidate->address);
    if (link.address.size() >= text::kUrlSize) {
        link.address.clear();
        link.result = DropResult::kTooLong;
        return link;
    }
    link.result = DropResult::kLink;
    link.title = std::move(candidate->title);
    return link;
}

}  // namespace velnora::imports
