#pragma once

// "結果をﾌﾞﾗｳｻﾞで開く": the update texts of a page, or the latest one of every updated page
// under a folder, as one HTML document the browser opens ("velnora-temp.html" in the program
// home).
//
// The document is built from the parsed update lines, never from their raw bytes: the links and
// images the extraction kept are written again as <a href> and <img src alt> (web and FTP
// addresses only), other text is decoded as the pane decodes it and then escaped, and an AS_TEXT
// page is written entirely as text. So a page's own markup cannot run in the user's browser,
// and each block reads as the pane shows the same update text.

#include <ctime>
#include <string>
#include <string_view>

#include "results/display_settings.h"
#include "results/pane_appearance.h"
#include "results/status_sink.h"
#include "store/page_tree.h"
#include "store/records.h"

namespace velnora::html {

// The browser file of the program home (ending in a separator).
std::string BrowserFilePath(std::string_view home_directory);

// Appends the page's update texts, `count` of them going back round the log ring from the
// current one (at most once round): for each that exists, a block "<hr><h2>" page link "</h2>"
// and "<p>" its lines "</p>". The page's settings are read from its site.ini.
void AppendPageBlocks(std::string& html, store::ItemRecord page, int count,
                      const results::DisplaySettings& display);

// The whole document for the item: a page's N_RELOAD update texts, or for a folder or the root
// the latest update text of every page that the check's walk yields and whose last check found
// an update. The status sink (none when null) shows 読み込み中 "name"... for each page.
std::string BrowserFileHtml(const store::PageTree& tree, store::ItemId item,
                            const results::DisplaySettings& display,
                            const results::PaneAppearance& appearance, const std::tm& now,
                            results::StatusSink* status = nullptr);

}  // namespace velnora::html
