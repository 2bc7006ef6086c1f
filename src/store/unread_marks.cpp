#include "store/unread_marks.h"

#include <vector>

#include "store/result_file.h"

namespace velnora::store {

namespace {

// Calls visit(page) for the item when it is a page and for every page below it; descends only
// where enter(node) holds.
template <typename Enter, typename Visit>
void ForPagesBelow(const PageTree& tree, ItemId item, Enter&& enter, Visit&& visit) {
    std::vector<ItemId> pending{item};
    while (!pending.empty()) {
        ItemId current = pending.back();
        pending.pop_back();
        const PageTree::Node* node = tree.Find(current);
        if (node == nullptr || !enter(*node)) {
            continue;
        }
        if (node->kind == KIND_PAGE) {
            visit(current);
        }
        // Reversed, so that pages are visited in the tree's order.
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            pending.push_back(*it);
        }
    }
}

}  // namespace

void MarkUnread(PageTree& tree, ItemId page) {
    TreeNode node;
    if (tree.BuildTreeNode(page, node) == 0 && node.kind == KIND_PAGE) {
        // A mark that cannot be kept on disk still shows until the program ends.
        (void)WriteUnreadMark(node.path, true);
    }
    tree.MarkUpdated(page);
}

void ClearUnread(PageTree& tree, ItemId item) {
    // Only marked items hold marked pages.
    ForPagesBelow(
        tree, item, [](const PageTree::Node& node) { return node.bold; },
        [&](ItemId page) {
            TreeNode node;
            if (tree.BuildTreeNode(page, node) == 0) {
                (void)WriteUnreadMark(node.path, false);
            }
        });
    tree.ClearUpdated(item);
}

void RestoreUnreadMarks(PageTree& tree, ItemId item) {
    std::vector<ItemId> marked;
    ForPagesBelow(
        tree, item, [](const PageTree::Node&) { return true; },
        [&](ItemId page) {
            TreeNode node;
            if (tree.BuildTreeNode(page, node) == 0 && ReadUnreadMark(node.path)) {
                marked.push_back(page);
            }
        });
    for (ItemId page : marked) {
        tree.MarkUpdated(page);
    }
}

int CountUnreadPages(const PageTree& tree) {
    int count = 0;
    ForPagesBelow(
        tree, tree.root(), [](const PageTree::Node& node) { return node.bold; },
        [&](ItemId) { ++count; });
    return count;
}

}  // namespace velnora::store
