#include "store/page_tree.h"

#include <algorithm>

#include "files/file_names.h"
#include "files/file_system.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"

namespace velnora::store {

int CompareTreeNames(std::string_view a, std::string_view b) {
    int folded = text::CompareNoCase(a, b);
    if (folded != 0) {
        return folded;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

namespace {

// Sibling order: folders before pages, then names.
bool SiblingLess(const PageTree::Node& x, const PageTree::Node& y) {
    if (x.kind != y.kind) {
        return x.kind < y.kind;
    }
    return CompareTreeNames(x.name, y.name) < 0;
}

}  // namespace

PageTree::PageTree(std::string program_directory)
    : program_directory_(std::move(program_directory)) {}

std::string PageTree::data_directory() const {
    return program_directory_ + std::string(kDataDirectoryName);
}

ItemId PageTree::Reset() {
    nodes_.clear();
    root_ = next_id_++;
    Node& root = nodes_[root_];
    root.id = root_;
    root.kind = KIND_ROOT;
    root.name = std::string(kDataDirectoryName);
    if (listener_ != nullptr) {
        listener_->OnReset();
    }
    return root_;
}

const PageTree::Node* PageTree::Find(ItemId item) const {
    auto it = nodes_.find(item);
    return it == nodes_.end() ? nullptr : &it->second;
}

PageTree::Node* PageTree::Get(ItemId item) {
    auto it = nodes_.find(item);
    return it == nodes_.end() ? nullptr : &it->second;
}

ItemId PageTree::AddItem(ItemId parent, std::string_view name, int kind, bool disabled) {
    Node* parent_node = Get(parent);
    if (parent_node == nullptr) {
        return 0;
    }
    ItemId id = next_id_++;
    Node& node = nodes_[id];
    node.id = id;
    node.parent = parent;
    node.kind = kind;
    node.name = std::string(name);
    node.disabled = disabled;
    parent_node = Get(parent);  // the map may have rehashed
    // The children are kept sorted: insert in place (after equal names).
    auto& children = parent_node->children;
    auto at = std::upper_bound(children.begin(), children.end(), id, [&](ItemId a, ItemId b) {
        return SiblingLess(nodes_.at(a), nodes_.at(b));
    });
    children.insert(at, id);
    if (listener_ != nullptr) {
        listener_->OnInserted(id);
    }
    return id;
}

void PageTree::SortSiblings(ItemId item) {
    Node* node = Get(item);
    if (node == nullptr || node->parent == 0) {
        return;
    }
    Node* parent = Get(node->parent);
    std::vector<ItemId> before = parent->children;
    std::stable_sort(parent->children.begin(), parent->children.end(),
                     [&](ItemId a, ItemId b) { return SiblingLess(nodes_.at(a), nodes_.at(b)); });
    if (listener_ != nullptr && before != parent->children) {
        listener_->OnChildrenReordered(parent->id);
    }
}

void PageTree::RemoveRecursive(ItemId item) {
    Node* node = Get(item);
    if (node == nullptr) {
        return;
    }
    std::vector<ItemId> children = node->children;
    for (ItemId child : children) {
        RemoveRecursive(child);
    }
    nodes_.erase(item);
}

void PageTree::Remove(ItemId item) {
    Node* node = Get(item);
    if (node == nullptr || item == root_) {
        return;
    }
    ItemId parent = node->parent;
    Node* parent_node = Get(parent);
    auto& siblings = parent_node->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
    RemoveRecursive(item);
    if (listener_ != nullptr) {
        listener_->OnRemoved(item, parent);
    }
}

void PageTree::SetName(ItemId item, std::string_view name) {
    if (Node* node = Get(item)) {
        node->name = std::string(name);
        if (listener_ != nullptr) {
            listener_->OnChanged(item);
        }
    }
}

void PageTree::SetDisabled(ItemId item, bool disabled) {
    if (Node* node = Get(item); node != nullptr && node->disabled != disabled) {
        node->disabled = disabled;
        if (listener_ != nullptr) {
            listener_->OnChanged(item);
        }
    }
}

void PageTree::Move(ItemId item, ItemId new_parent) {
    Node* node = Get(item);
    Node* target = Get(new_parent);
    if (node == nullptr || target == nullptr || item == root_) {
        return;
    }
    ClearUpdated(item);
    ItemId old_parent = node->parent;
    auto& siblings = Get(old_parent)->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
    if (listener_ != nullptr) {
        listener_->OnRemoved(item, old_parent);
    }
    node = Get(item);
    node->parent = new_parent;
    Get(new_parent)->children.push_back(item);
    if (listener_ != nullptr) {
        // The view inserts the item and then its subtree, level by level.
        std::vector<ItemId> pending{item};
        while (!pending.empty()) {
            ItemId next = pending.back();
            pending.pop_back();
            listener_->OnInserted(next);
            const Node* inserted = Find(next);
            pending.insert(pending.end(), inserted->children.rbegin(), inserted->children.rend());
        }
    }
    SortSiblings(item);
}

void PageTree::MarkUpdated(ItemId item) {
    for (Node* node = Get(item); node != nullptr; node = Get(node->parent)) {
        if (!node->bold) {
            node->bold = true;
            if (listener_ != nullptr) {
                listener_->OnChanged(node->id);
            }
        }
        if (node->parent == 0) {
            break;
        }
    }
}

void PageTree::ClearBoldBelow(ItemId item) {
    Node* node = Get(item);
    if (node == nullptr) {
        return;
    }
    if (node->bold) {
        node->bold = false;
        if (listener_ != nullptr) {
            listener_->OnChanged(item);
        }
    }
    std::vector<ItemId> children = node->children;
    for (ItemId child : children) {
        ClearBoldBelow(child);
    }
}

void PageTree::ClearUpdated(ItemId item) {
    ClearBoldBelow(item);
    ItemId current = item;
    for (;;) {
        const Node* node = Find(current);
        if (node == nullptr || node->parent == 0) {
            return;
        }
        const Node* parent = Find(node->parent);
        for (ItemId sibling : parent->children) {
            if (sibling != current && Find(sibling)->bold) {
                return;  // a marked sibling keeps the level above marked
            }
        }
        Node* writable = Get(parent->id);
        if (writable->bold) {
            writable->bold = false;
            if (listener_ != nullptr) {
                listener_->OnChanged(writable->id);
            }
        }
        current = parent->id;
    }
}

int PageTree::BuildTreeNode(ItemId item, TreeNode& out) const {
    const Node* node = Find(item);
    if (node == nullptr) {
        return -1;
    }
    out.item = item;
    out.kind = node->kind;
    if (text::BoundedCopy(out.name, text::kPathSize, node->name) != 0) {
        return -1;
    }
    if (node->kind == KIND_ROOT) {
        std::string_view program = program_directory_;
        if (!program.empty()) {
            program.remove_suffix(1);
        }
        if (text::BoundedCopy(out.parent_directory, text::kPathSize, program) != 0 ||
            text::BoundedJoin(out.path, text::kPathSize, {program_directory_, node->name}) != 0) {
            return -1;
        }
        return 0;
    }
    // The relative path from the data directory: ancestors' names, folders with ".grp".
    std::vector<const Node*> ancestors;
    for (const Node* up = Find(node->parent); up != nullptr; up = Find(up->parent)) {
        ancestors.push_back(up);
    }
    std::string parent = program_directory_;
    if (parent.size() >= text::kPathSize) {
        return -1;
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        const Node* up = *it;
        if (it != ancestors.rbegin() &&
            text::BoundedAppend(parent, text::kPathSize, files::kSeparatorText) != 0) {
            return -1;
        }
        if (text::BoundedAppend(parent, text::kPathSize, up->name) != 0 ||
            (up->kind == KIND_FOLDER &&
             text::BoundedAppend(parent, text::kPathSize, kFolderSuffix) != 0)) {
            return -1;
        }
    }
    out.parent_directory = parent;
    return text::BoundedJoin(out.path, text::kPathSize,
                             {parent, files::kSeparatorText, node->name,
                              node->kind == KIND_FOLDER ? kFolderSuffix : kPageSuffix});
}

ItemId PageTree::FirstChild(ItemId item) const {
    const Node* node = Find(item);
    return (node == nullptr || node->children.empty()) ? 0 : node->children.front();
}

ItemId PageTree::NextSibling(ItemId item) const {
    const Node* node = Find(item);
    if (node == nullptr || node->parent == 0) {
        return 0;
    }
    const auto& siblings = Find(node->parent)->children;
    // Siblings are sorted: find the item's place by its key, then among equal keys by identity.
    auto it = std::lower_bound(siblings.begin(), siblings.end(), item, [&](ItemId a, ItemId b) {
        return SiblingLess(nodes_.at(a), nodes_.at(b));
    });
    while (it != siblings.end() && *it != item) {
        ++it;
    }
    if (it == siblings.end()) {
        // A renamed item not yet sorted again: look it up one by one.
        it = std::find(siblings.begin(), siblings.end(), item);
    }
    if (it == siblings.end() || ++it == siblings.end()) {
        return 0;
    }
    return *it;
}

ItemId PageTree::Parent(ItemId item) const {
    const Node* node = Find(item);
    return node == nullptr ? 0 : node->parent;
}

namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

std::vector<DirectoryItem> ListDirectoryItems(const std::string& directory) {
    std::vector<DirectoryItem> items;
    auto entries = files::ListDirectory(directory);
    // Pages first, then folders, as the listing of the two patterns gives them; the tree sorts.
    for (std::string_view suffix : {kPageSuffix, kFolderSuffix}) {
        for (const auto& entry : entries) {
            if (!entry.is_directory || !EndsWith(entry.name, suffix)) {
                continue;
            }
            std::string path;
            if (text::BoundedJoin(path, text::kPathSize,
                                  {directory, files::kSeparatorText, entry.name}) != 0) {
                continue;
            }
            items.push_back({entry.name.substr(0, entry.name.size() - 4),
                             suffix == kPageSuffix ? KIND_PAGE : KIND_FOLDER, std::move(path)});
        }
    }
    return items;
}

void FillFromDirectory(PageTree& tree, ItemId parent, const std::string& directory) {
    for (const DirectoryItem& entry : ListDirectoryItems(directory)) {
        bool is_page = entry.kind == KIND_PAGE;
        int flag = ReadAutoCheckFlag(is_page, entry.path);
        ItemId item = tree.AddItem(parent, entry.name, entry.kind, flag != 0);
        if (!is_page) {
            FillFromDirectory(tree, item, entry.path);
        }
    }
}

void PopulateTree(PageTree& tree) {
    // Built without telling the listener item by item; it hears of the new tree once.
    PageTreeListener* listener = tree.listener();
    tree.SetListener(nullptr);
    ItemId root = tree.Reset();
    FillFromDirectory(tree, root, tree.data_directory());
    tree.SetListener(listener);
    if (listener != nullptr) {
        listener->OnReset();
    }
}

}  // namespace velnora::store
