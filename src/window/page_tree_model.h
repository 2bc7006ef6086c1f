#pragma once

// PageTreeModel: the page tree (store::PageTree) as an item model for the tree view. It follows
// the tree through its listener and keeps only the shape of the tree (each item's parent, row
// and children, by item identifier); names, flags and marks are read from the tree when the view
// asks. The shape is the model's own so that the view sees each change announced before it
// happens, as Qt's models must; the tree has already changed when the listener hears of it.
//
// One column. Each index carries its item identifier; nothing is allocated per item beyond the
// shape, so a tree of tens of thousands of pages is shown at once.
//
// A page whose last check failed carries an error mark over its image and the error as its
// tooltip: read from its result.ini when the view first asks, and told by the check afterwards.

#include <QAbstractItemModel>
#include <QFont>
#include <QIcon>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/page_tree.h"

namespace velnora::window {

// The tree's images, in the order of the icon set.
enum class TreeImage : int {
    kRoot = 0,               // the data directory
    kFolder = 1,             // a folder
    kFolderSelected = 2,     // a folder, selected (drawn open)
    kFolderOff = 3,          // a folder kept out of automatic checks (dimmed)
    kFolderOffSelected = 4,  // the same, selected
    kPage = 5,               // a page
    kPageSelected = 6,       // a page, selected
    kPageOff = 7,            // a page kept out of automatic checks, selected or not
};

// The images of a kind of item with the given automatic-check flag: {image, selected image}.
std::pair<TreeImage, TreeImage> ItemImages(int kind, bool disabled);

class PageTreeModel : public QAbstractItemModel, private store::PageTreeListener {
    Q_OBJECT

  public:
    enum Role : int {
        kItemIdRole = Qt::UserRole,  // store::ItemId as qulonglong
        kKindRole,                   // store::KIND_*
        kImageRole,                  // TreeImage shown when the item is not selected
        kSelectedImageRole,          // TreeImage shown when it is
        kErrorRole,                  // true when the page's last check failed
    };

    // Follows the tree from now on (as its listener) until the model goes.
    explicit PageTreeModel(store::PageTree& tree, QObject* parent = nullptr);
    ~PageTreeModel() override;

    store::PageTree& tree() { return tree_; }
    const store::PageTree& tree() const { return tree_; }

    QModelIndex IndexOf(store::ItemId item) const;

    // The page's last check failed with this text (Shift_JIS), or (nullopt) it did not.
    void SetPageError(store::ItemId page, std::optional<std::string> error);
    static store::ItemId ItemOf(const QModelIndex& index);

    // A dragged item travels as its identifier with this process's, so that an item dragged
    // out of another copy of the program is never taken for one of this tree's.
    static store::ItemId DraggedItem(const QMimeData* data);
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    struct Shape {
        store::ItemId parent = 0;
        int row = 0;
        std::vector<store::ItemId> children;
    };

    void OnReset() override;
    void OnInserted(store::ItemId item) override;
    void OnRemoved(store::ItemId item, store::ItemId parent) override;
    void OnChanged(store::ItemId item) override;
    void OnChildrenReordered(store::ItemId parent) override;

    void Rebuild();
    void Renumber(store::ItemId parent, std::size_t from = 0);
    void Forget(store::ItemId item);
    QIcon IconFor(int kind, bool disabled, bool failed) const;
    // The page's error text, read from its result.ini when not known yet; nullopt when its last
    // check did not fail.
    const std::optional<std::string>& PageError(store::ItemId page) const;

    store::PageTree& tree_;
    std::unordered_map<store::ItemId, Shape> shape_;
    store::ItemId root_ = 0;
    std::array<QIcon, 5> icons_;        // root, folder, folder off, page, page off
    std::array<QIcon, 2> error_icons_;  // page, page off: with the error mark
    mutable std::unordered_map<store::ItemId, std::optional<std::string>> page_errors_;
    QFont bold_font_;
};

}  // namespace velnora::window
