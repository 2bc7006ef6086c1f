#pragma once

// "リロード" and "全てリロード": a page's or a folder's stored results shown again, no fetch.

#include <string>
#include <string_view>

#include "fetch/check_observer.h"
#include "store/page_tree.h"

namespace velnora::fetch {

// For a page, its newest n_reload update texts; for a folder or the root, every page the check's
// walk yields (disabled ones left out): its latest update text when all is set, else what its
// result code says.
void ShowStoredResults(const store::PageTree& tree, store::ItemId selected, bool all, int n_reload,
                       CheckObserver& observer);

// A status bar text naming the page being worked on: the prefix (読み込み中 " and the like), the
// name cut to 100 bytes, and "...
std::string PageProgressText(std::string_view prefix, std::string_view page_name);

}  // namespace velnora::fetch
