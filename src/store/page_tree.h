#pragma once

// The page tree in memory: one root for the data directory, folders and pages below it, each
// with its name, kind, automatic-check flag and unread mark. It mirrors the directories on disk
// and is rebuilt from them; every operation changes the disk first and the tree second. The
// window's tree view follows it through a listener; the check walks it.
//
// Under every parent the folders come first and the pages after them, each group in
// CompareTreeNames order. Used from one thread (the user-interface thread).

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/records.h"

namespace velnora::store {

// The order of siblings of one kind: Shift_JIS names without regard to ASCII letter case, then
// byte order so that names differing only in case keep a fixed order.
int CompareTreeNames(std::string_view a, std::string_view b);

class PageTreeListener {
  public:
    virtual ~PageTreeListener() = default;
    virtual void OnReset() = 0;                              // everything changed
    virtual void OnInserted(ItemId item) = 0;                // a new item (no children yet)
    virtual void OnRemoved(ItemId item, ItemId parent) = 0;  // an item and its subtree went
    virtual void OnChanged(ItemId item) = 0;                 // name, flag or unread mark
    virtual void OnChildrenReordered(ItemId parent) = 0;
};

class PageTree {
  public:
    struct Node {
        ItemId id = 0;
        ItemId parent = 0;
        int kind = KIND_ROOT;
        std::string name;
        bool disabled = false;  // DISABLE_AUTO_CHECK is set: the dimmed image
        bool bold = false;      // unread updates below
        std::vector<ItemId> children;
    };

    // program_directory ends with the path separator; the data directory is it followed by
    // "data".
    explicit PageTree(std::string program_directory = {});

    void SetListener(PageTreeListener* listener) { listener_ = listener; }
    PageTreeListener* listener() const { return listener_; }
    const std::string& program_directory() const { return program_directory_; }
    std::string data_directory() const;

    // Removes everything and adds the root, named "data".
    ItemId Reset();
    ItemId root() const { return root_; }
    const Node* Find(ItemId item) const;

    // AddTreeItem: a new item under parent, in its sorted place.
    ItemId AddItem(ItemId parent, std::string_view name, int kind, bool disabled);
    // SortSiblings: orders the children of the item's parent.
    void SortSiblings(ItemId item);
    // Removes the item and everything below it.
    void Remove(ItemId item);
    void SetName(ItemId item, std::string_view name);
    void SetDisabled(ItemId item, bool disabled);
    // Moves an item with its subtree under a new parent, sorted, collapsed and without marks.
    void Move(ItemId item, ItemId new_parent);

    // MarkUpdated: the item and every ancestor up to the root get the unread mark.
    void MarkUpdated(ItemId item);
    // ClearUpdated: removes the mark from the item and everything below it, then from each
    // ancestor while no sibling on that level keeps a mark.
    void ClearUpdated(ItemId item);

    // BuildTreeNode: the item's identity with its directory paths. -1 when a path does not fit
    // in a path buffer (the node is then partly filled).
    int BuildTreeNode(ItemId item, TreeNode& node) const;

    ItemId FirstChild(ItemId item) const;
    ItemId NextSibling(ItemId item) const;
    ItemId Parent(ItemId item) const;
    std::size_t size() const { return nodes_.size(); }

  private:
    Node* Get(ItemId item);
    void RemoveRecursive(ItemId item);
    void ClearBoldBelow(ItemId item);

    std::string program_directory_;
    std::unordered_map<ItemId, Node> nodes_;
    ItemId root_ = 0;
    ItemId next_id_ = 1;
    PageTreeListener* listener_ = nullptr;
};

// The items a directory holds: ".dat" directories as pages and ".grp" directories as folders
// (pages first, in the listing's order), named without their suffix; entries whose path does not
// fit in a path buffer are left out.
struct DirectoryItem {
    std::string name;
    int kind = KIND_PAGE;
    std::string path;  // the item's directory
};
std::vector<DirectoryItem> ListDirectoryItems(const std::string& directory);

// Adds the items of a directory under parent, each folder filled from its own directory. A flag
// that cannot be read counts as set.
void FillFromDirectory(PageTree& tree, ItemId parent, const std::string& directory);

// PopulateTree: fills the tree from the data directory under the program directory: ".dat"
// directories are pages, ".grp" directories folders (entered recursively); other entries and
// entries whose path does not fit are left out. A flag that cannot be read counts as set.
void PopulateTree(PageTree& tree);

}  // namespace velnora::store
