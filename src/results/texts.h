#pragma once

// The result pane's own texts, in Shift_JIS.

#include <string_view>

namespace velnora::results {

inline constexpr std::string_view kLineMark = "\x81\xa1";          // ■
inline constexpr std::string_view kSettingsLinkText = "\x81\xa4";  // ▽
inline constexpr std::string_view kStatusSeparator = " : ";
// " --- エラー : "
inline constexpr std::string_view kErrorSeparator = " --- \x83\x47\x83\x89\x81\x5b : ";

// "\n【！】違いが大きすぎます。( ", the page link, " )\n": an update text longer than the
// line limit.
inline constexpr std::string_view kTooLongOpening =
    "\n\x81\x79\x81\x49\x81\x7a\x88\xe1\x82\xa2\x82\xaa\x91\xe5\x82\xab\x82\xb7\x82\xac\x82\xdc"
    "\x82\xb7\x81\x42( ";
inline constexpr std::string_view kTooLongClosing = " )\n";

// "表示中(" the line count "行)...": the status bar while a long text is shown.
inline constexpr std::string_view kShowingLinesOpening = "\x95\x5c\x8e\xa6\x92\x86(";
inline constexpr std::string_view kShowingLinesClosing = "\x8d\x73)...";

// "[画像:" the name "]", or "[画像]" for an image without a name.
inline constexpr std::string_view kImageOpening = "[\x89\xe6\x91\x9c:";
inline constexpr std::string_view kImageClosing = "]";
inline constexpr std::string_view kImageWithoutName = "[\x89\xe6\x91\x9c]";

}  // namespace velnora::results
