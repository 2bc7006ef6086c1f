#pragma once

// The HTML files' own texts and names, in Shift_JIS.

#include <string_view>

namespace velnora::html {

// 更新チェック結果: the title of the saved log and the browser file.
inline constexpr std::string_view kResultsTitle =
    "\x8D"
    "X\x90V\x83`\x83"
    "F\x83"
    "b\x83N\x8C\x8B\x89\xCA";

// Velnora履歴: the title of a link history file.
inline constexpr std::string_view kHistoryTitle = "Velnora\x97\x9A\x97\xF0";

// 【 and 】 around the page a link was found on, in the link history.
inline constexpr std::string_view kPageOpening = "\x81y";
inline constexpr std::string_view kPageClosing = "\x81z";

// The directory of the link history in the program home, and the file the browser opens there.
inline constexpr std::string_view kHistoryDirectory = "history";
inline constexpr std::string_view kBrowserFileName = "velnora-temp.html";

}  // namespace velnora::html
