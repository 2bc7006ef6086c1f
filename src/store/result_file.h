#pragma once

// The keys of a page's result.ini beside its result code: when its last check began, whether it
// holds updates not yet shown, and the address its URL moved to for good. Each read gives "none"
// for a missing file, a missing key or a path that does not fit; each write returns false when
// the path does not fit or the file could not be written (a result.ini that exists but cannot
// be read is left as it is). These keys say how the page stands and are written again by the
// next check or view: like the result code, they are not flushed to the disk one by one.

#include <cstdint>
#include <string>
#include <string_view>

namespace velnora::store {

// Seconds since 1970-01-01 UTC; 0 when the page was never checked (or the value is no number).
std::int64_t ReadLastCheck(std::string_view page_directory);
[[nodiscard]] bool WriteLastCheck(std::string_view page_directory, std::int64_t seconds);

bool ReadUnreadMark(std::string_view page_directory);
// The mark is stored only while it is set: clearing it removes the key.
[[nodiscard]] bool WriteUnreadMark(std::string_view page_directory, bool unread);

// The address offered on the page sheet; empty when there is none.
std::string ReadMovedUrl(std::string_view page_directory);
// An empty address removes the key.
[[nodiscard]] bool WriteMovedUrl(std::string_view page_directory, std::string_view url);

}  // namespace velnora::store
