#pragma once

// The head of a stored response (its status line and header block), read for what the fetch
// itself needs from it: the status, a redirect's Location, the entity tag.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::fetch {

// At most this much of a response is read for its head.
inline constexpr std::size_t kResponseHeadLimit = 65536;

// The status line and header lines of the response file, up to the empty line that ends them
// (or the limit, or the end of the file); empty when the file cannot be read.
std::string ReadResponseHead(std::string_view path);

// The status code of the head's first line (0 when it is no HTTP status line).
int HeadStatus(std::string_view head);

// The value of the first header of the name (any letter case) in the head, blanks around it
// removed; nothing when there is none. Lines may end in CR LF or LF; the status line is not a
// header.
std::optional<std::string> HeadField(std::string_view head, std::string_view name);

}  // namespace velnora::fetch
