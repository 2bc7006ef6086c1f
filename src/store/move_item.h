#pragma once

// Moving a tree item, a page or a folder with everything below it, to another place in the
// tree: its directory is renamed into the destination directory, then the item moves in the
// tree (sorted, its subtree kept and without unread marks). The window's drag and drop and
// `velnora-cli move` both come here.
//
// The destination follows from the target: a page is put beside a target page (in the target's
// folder); into a target folder or the root otherwise.

#include <string>

#include "store/page_tree.h"

namespace velnora::store {

enum class MoveResult {
    kMoved,         // the directory and the item moved
    kAlreadyThere,  // the destination is where the item is already: nothing to do
    kRoot,          // the root does not move
    kIntoItself,    // a folder onto itself or a folder below it: refused
    kNoItem,        // an item is unknown or its directory cannot be named: nothing moved
    kTooLong,       // the item's new directory, or one below it, would not fit in a path
    kFailed,        // the file system refused (a name already taken, a folder into a page
                    // below itself); the error holds the system's text
};

struct MoveOutcome {
    MoveResult result = MoveResult::kNoItem;
    std::string error;      // kFailed: the system's text
    ItemId new_parent = 0;  // kMoved and kAlreadyThere: the item's parent now
};

// MoveItem: moves the source item as the rules above say.
MoveOutcome MoveTreeItem(PageTree& tree, ItemId source, ItemId target);

}  // namespace velnora::store
