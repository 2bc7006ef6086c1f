#pragma once

// What a link, an address or a link file dragged from another program gives: an address and,
// when the drag names one, a title. Linux browsers and file managers offer these formats:
//   - text/x-moz-url: the address, a line feed and the title, in UTF-16 (a link from Firefox,
//     and from Chromium);
//   - _NETSCAPE_URL: the same in UTF-8;
//   - text/uri-list: addresses one a line, comments after "#" (links, and files from a file
//     manager as file: addresses);
//   - text/plain (or its UTF-8 forms): the text itself (a selected address, a link from
//     Chromium).
// They are taken in that order. A local link file (".url", ".desktop") gives the address it
// holds and the title of its file name; any other file gives nothing.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velnora::imports {

// The MIME types read, in the order they are taken.
extern const std::vector<std::string_view> kDropFormats;

enum class DropResult {
    kLink,     // an address (and perhaps a title)
    kNothing,  // nothing that gives an address: a file, an empty text
    kTooLong,  // the address is longer than an address may be (2,100 bytes)
};

struct DroppedLink {
    DropResult result = DropResult::kNothing;
    std::string address;               // Shift_JIS, as a page keeps it
    std::optional<std::string> title;  // UTF-8; nothing when the drag names no title
};

// The bytes of a drop by MIME type, and the address held by a local link file (nothing when it
// cannot be read).
struct DropContent {
    std::vector<std::pair<std::string, std::string>> formats;
    std::function<std::optional<std::string>(std::string_view disk_path)> read_link_file;

    const std::string* Find(std::string_view mime) const;
};

DroppedLink ReadDrop(const DropContent& content);

}  // namespace velnora::imports
