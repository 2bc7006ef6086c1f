#pragma once

// The past-log search's results in the result pane: a block per page with hits (its header line
// without date and time, then the lines found, rendered as the pane renders update text), or the
// line saying the text was not found. Only the text part of a display batch is used: the view
// is left where it is while the hits arrive.

#include <string>
#include <string_view>
#include <vector>

#include "results/display.h"
#include "store/records.h"

namespace velnora::search {

void ShowPageHits(results::ResultDisplay& display, const store::ItemRecord& page,
                  const std::vector<std::string>& lines);

// 「text」は見つかりませんでした。 and a line feed.
void ShowNotFound(results::ResultDocument& document, std::string_view search_text);

}  // namespace velnora::search
