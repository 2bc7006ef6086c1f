#pragma once

// The end of dragging an item in the tree: the item moves (store/move_item.h) and the target is
// selected. A folder dropped on itself or below itself stays without a word; a path that would
// be too long and a move the file system refuses are told in a message box.

#include "store/page_tree.h"
#include "window/page_tree_view.h"
#include "window/window_services.h"

namespace velnora::window {

void MoveDroppedItem(store::PageTree& tree, PageTreeView& view, WindowServices& services,
                     store::ItemId item, store::ItemId target);

}  // namespace velnora::window
