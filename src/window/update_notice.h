#pragma once

// The desktop notification after a check that found updates: the number of pages in the
// summary, and the first few names in the body, then "ほか N 件".

#include <string>
#include <vector>

namespace velnora::window {

// The names a notification lists before "ほか N 件".
inline constexpr std::size_t kNoticeNames = 3;

struct UpdateNotice {
    std::string summary;  // Shift_JIS
    std::string body;     // Shift_JIS
};

UpdateNotice ComposeUpdateNotice(const std::vector<std::string>& page_names);

}  // namespace velnora::window
