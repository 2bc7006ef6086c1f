#pragma once

// "ﾛｸﾞをHTML保存": the whole result pane as one HTML document, for the user to keep or send.

#include <ctime>
#include <string>

#include "results/document.h"
#include "results/pane_appearance.h"

namespace velnora::html {

// The document: the head (written at `now`, local time), the pane's text with its links
// (document_html.h: images as their texts, settings links left out), and the closing lines.
std::string SavedLogHtml(const results::ResultDocument& document,
                         const results::PaneAppearance& appearance, const std::tm& now);

// The name proposed for it: "YYYYMMDD-hhmmss.html" from the local date and time.
std::string DefaultSavedLogName(const std::tm& now);

}  // namespace velnora::html
