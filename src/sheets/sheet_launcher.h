#pragma once

// Opening the property sheets of tree items; the tree operations go through this, so that tests
// can answer a sheet without showing it.

#include "store/records.h"

namespace velnora::sheets {

class SheetLauncher {
  public:
    virtual ~SheetLauncher() = default;
    // Each edits the record in place when the sheet is closed with OK, and returns the sheet's
    // changed flag (false: cancelled or unchanged). inherited_interval: the minutes the item
    // follows when it follows its folder.
    virtual bool ShowPageSheet(store::ItemRecord& record, int inherited_interval) = 0;
    virtual bool ShowFolderSheet(store::ItemRecord& record, int inherited_interval) = 0;
    virtual bool ShowRootSheet(store::ItemRecord& record) = 0;
};

}  // namespace velnora::sheets
