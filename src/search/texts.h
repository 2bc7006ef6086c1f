#pragma once

// The past-log search's own texts, in Shift_JIS.

#include <string_view>

namespace velnora::search {

// 検索中 " (then the page's name and "...): the status bar before each page.
inline constexpr std::string_view kSearchingPrefix = "\x8C\x9F\x8D\xF5\x92\x86 \"";

// 検索完了: the status bar once the search has ended, stopped or not.
inline constexpr std::string_view kSearchDone = "\x8C\x9F\x8D\xF5\x8A\xAE\x97\xB9";

// 「 the search text 」は見つかりませんでした。: the pane's only line when nothing was found.
inline constexpr std::string_view kNotFoundOpening = "\x81u";
inline constexpr std::string_view kNotFoundClosing =
    "\x81v\x82\xCD\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD"
    "\x81"
    "B";

}  // namespace velnora::search
