#pragma once

// "リロード" and "全てリロード": a page's or a folder's stored results shown again, no fetch.

#include "fetch/check_observer.h"
#include "store/page_tree.h"

namespace velnora::fetch {

// For a page, its newest n_reload update texts; for a folder or the root, every page the check's
// walk yields (disabled ones left out): its latest update text when all is set, else what its
// result code says.
void ShowStoredResults(const store::PageTree& tree, store::ItemId selected, bool all, int n_reload,
                       CheckObserver& observer);

}  // namespace velnora::fetch
