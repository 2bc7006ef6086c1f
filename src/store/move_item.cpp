#include "store/move_item.h"

#include <vector>

#include "files/file_names.h"
#include "files/file_system.h"
#include "store/item_directory.h"
#include "text/bounded_string.h"

namespace velnora::store {

namespace {

// Whether the directory `inner` is `outer` or lies below it. A plain byte prefix is not enough:
// the folder "A" is not below the folder "A.grp2" whose path happens to begin with its own.
bool IsSameOrBelow(const std::string& inner, const std::string& outer) {
    return inner.compare(0, outer.size(), outer) == 0 &&
           (inner.size() == outer.size() || inner[outer.size()] == files::kSeparator);
}

// The length of the longest path below the item's directory, less the directory itself: what
// the deepest descendant adds to it ("/B.grp/Site.dat").
std::size_t DeepestBelow(const PageTree& tree, ItemId item) {
    std::size_t deepest = 0;
    std::vector<std::pair<ItemId, std::size_t>> pending{{item, 0}};
    while (!pending.empty()) {
        auto [next, length] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, length);
        for (ItemId child = tree.FirstChild(next); child != 0; child = tree.NextSibling(child)) {
            const PageTree::Node* node = tree.Find(child);
            // A separator, the name and its four-byte suffix.
            pending.emplace_back(child, length + 1 + node->name.size() + 4);
        }
    }
    return deepest;
}

}  // namespace

MoveOutcome MoveTreeItem(PageTree& tree, ItemId source, ItemId target) {
    MoveOutcome outcome;
    TreeNode from;
    TreeNode to;
    if (tree.BuildTreeNode(source, from) != 0 || tree.BuildTreeNode(target, to) != 0) {
        return outcome;
    }
    if (from.kind == KIND_ROOT) {
        outcome.result = MoveResult::kRoot;
        return outcome;
    }
    if (from.kind == KIND_FOLDER && to.kind != KIND_PAGE && IsSameOrBelow(to.path, from.path)) {
        outcome.result = MoveResult::kIntoItself;
        return outcome;
    }
    bool beside = to.kind == KIND_PAGE;
    const std::string& destination = beside ? to.parent_directory : to.path;
    ItemId new_parent = beside ? tree.Parent(target) : target;
    if (destination == from.parent_directory) {
        outcome.result = MoveResult::kAlreadyThere;
        outcome.new_parent = new_parent;
        return outcome;
    }
    auto new_path = ItemDirectory(destination, from.name, from.kind);
    // Every directory below a moved folder must still fit, or it would drop out of the tree
    // when the tree is read again.
    if (!new_path || new_path->size() + DeepestBelow(tree, source) >= text::kPathSize) {
        outcome.result = MoveResult::kTooLong;
        return outcome;
    }
    if (!files::MovePath(from.path, *new_path, &outcome.error)) {
        outcome.result = MoveResult::kFailed;
        return outcome;
    }
    tree.Move(source, new_parent);
    outcome.result = MoveResult::kMoved;
    outcome.new_parent = new_parent;
    return outcome;
}

}  // namespace velnora::store
