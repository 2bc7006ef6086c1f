#pragma once

// Clearing past logs: the button of the property sheets that removes the stored past logs and
// update texts of a page, or of every page below a folder or the root, keeping each page's
// newest ones, its result and its last response.

#include "store/page_tree.h"
#include "store/records.h"
#include "window/window_services.h"

namespace velnora::window {

// Asks first; then clears the record's page, or walks the tree below the record's folder or
// root (folders first, then pages, as the tree shows them) and clears every page, with the
// page's name in the status bar.
void ClearPastLogs(const store::ItemRecord& record, const store::PageTree& tree,
                   WindowServices& services);

}  // namespace velnora::window
