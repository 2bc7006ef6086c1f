#pragma once

// The link history: every link the user opens from the result pane, one line each, in a daily
// HTML file "history/history-YYYY-MM-DD.html" of the program home. A link found inside a page's
// block is followed by that page's link in brackets, so each line names where it was found.
//
// Each file is always a whole document: an entry goes in before the closing line. A file that
// does not end with the program's own closing line (edited by hand, cut short) keeps everything
// it holds; the entry and a new closing line follow it.

#include <ctime>
#include <string>
#include <string_view>

#include "results/document.h"

namespace velnora::html {

// The history file of the day (`now`, local time) in the program home (ending in a separator).
std::string HistoryFilePath(std::string_view home_directory, const std::tm& now);

// Adds the document's link (an index into document.Links(); not a settings link) to the day's
// file, creating the directory and the file when missing. False, with the reason in *error,
// when it could not be recorded; the file is then as it was.
[[nodiscard]] bool AppendLinkToHistory(std::string_view home_directory,
                                       const results::ResultDocument& document, std::size_t link,
                                       const std::tm& now, std::string* error = nullptr);

}  // namespace velnora::html
