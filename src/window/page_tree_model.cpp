#include "window/page_tree_model.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "desktop/qt_text.h"
#include "store/result_texts.h"
#include "store/settings_files.h"

namespace velnora::window {

namespace {

constexpr int kIconSide = 16;
constexpr const char* kDraggedItemType = "application/x-velnora-tree-item";

// The icon set's files, by TreeImage.
constexpr std::array<const char*, 8> kImageFiles = {
    ":/icons/tree-root.svg",
    ":/icons/tree-folder.svg",
    ":/icons/tree-folder-open.svg",
    ":/icons/tree-folder-off.svg",
    ":/icons/tree-folder-off-open.svg",
    ":/icons/tree-page.svg",
    ":/icons/tree-page-selected.svg",
    ":/icons/tree-page-off.svg",
};

// Until the icon set is installed, the style's own icons stand in: a drive for the root, closed
// and open folders, a file; the images of items whose automatic check is off are drawn dimmed.
QPixmap StandInImage(TreeImage image) {
    QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr
                        ? QApplication::style()
                        : nullptr;
    if (style == nullptr) {
        return {};
    }
    QStyle::StandardPixmap standard = QStyle::SP_FileIcon;
    QIcon::Mode mode = QIcon::Normal;
    switch (image) {
        case TreeImage::kRoot:
            standard = QStyle::SP_DriveHDIcon;
            break;
        case TreeImage::kFolder:
            standard = QStyle::SP_DirClosedIcon;
            break;
        case TreeImage::kFolderSelected:
            standard = QStyle::SP_DirOpenIcon;
            break;
        case TreeImage::kFolderOff:
            standard = QStyle::SP_DirClosedIcon;
            mode = QIcon::Disabled;
            break;
        case TreeImage::kFolderOffSelected:
            standard = QStyle::SP_DirOpenIcon;
            mode = QIcon::Disabled;
            break;
        case TreeImage::kPage:
        case TreeImage::kPageSelected:
            break;
        case TreeImage::kPageOff:
            mode = QIcon::Disabled;
            break;
    }
    return style->standardIcon(standard).pixmap(QSize(kIconSide, kIconSide), mode);
}

void AddImage(QIcon& icon, TreeImage image, QIcon::Mode mode) {
    QString file = QString::fromLatin1(kImageFiles[static_cast<std::size_t>(image)]);
    if (QFile::exists(file)) {
        icon.addFile(file, QSize(kIconSide, kIconSide), mode);
        return;
    }
    QPixmap stand_in = StandInImage(image);
    if (!stand_in.isNull()) {
        icon.addPixmap(stand_in, mode);
    }
}

// Where an item's icon is kept in icons_.
std::size_t IconSlot(int kind, bool disabled) {
    switch (kind) {
        case store::KIND_FOLDER:
            return disabled ? 2 : 1;
        case store::KIND_PAGE:
            return disabled ? 4 : 3;
        default:
            return 0;
    }
}

// The icon with a red error mark in its lower right corner, in every mode and size it has.
QIcon WithErrorMark(const QIcon& icon) {
    QIcon marked;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
        QPixmap image = icon.pixmap(QSize(kIconSide, kIconSide), mode);
        if (image.isNull()) {
            image = QPixmap(kIconSide, kIconSide);
            image.fill(Qt::transparent);
        }
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QRectF mark(kIconSide * 0.45, kIconSide * 0.45, kIconSide * 0.55, kIconSide * 0.55);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(QColor(0xD0, 0x20, 0x20));
        painter.drawEllipse(mark);
        painter.setPen(QPen(Qt::white, 1.6));
        QPointF centre = mark.center();
        painter.drawLine(QPointF(centre.x(), mark.top() + 2.2),
                         QPointF(centre.x(), centre.y() + 0.8));
        painter.drawPoint(QPointF(centre.x(), mark.bottom() - 2.0));
        painter.end();
        marked.addPixmap(image, mode);
    }
    return marked;
}

}  // namespace

std::pair<TreeImage, TreeImage> ItemImages(int kind, bool disabled) {
    switch (kind) {
        case store::KIND_FOLDER:
            return disabled ? std::pair{TreeImage::kFolderOff, TreeImage::kFolderOffSelected}
                            : std::pair{TreeImage::kFolder, TreeImage::kFolderSelected};
        case store::KIND_PAGE:
            return disabled ? std::pair{TreeImage::kPageOff, TreeImage::kPageOff}
                            : std::pair{TreeImage::kPage, TreeImage::kPageSelected};
        default:
            return {TreeImage::kRoot, TreeImage::kRoot};
    }
}

PageTreeModel::PageTreeModel(store::PageTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    // One icon per kind and flag, shared by every item: the selected image is the icon's
    // selected mode, which the view uses for the selected item.
    for (int kind : {store::KIND_ROOT, store::KIND_FOLDER, store::KIND_PAGE}) {
        for (bool disabled : {false, true}) {
            auto [image, selected] = ItemImages(kind, disabled);
            QIcon& icon = icons_[IconSlot(kind, disabled)];
            if (icon.isNull()) {
                AddImage(icon, image, QIcon::Normal);
                AddImage(icon, selected, QIcon::Selected);
            }
        }
    }
    error_icons_[0] = WithErrorMark(icons_[IconSlot(store::KIND_PAGE, false)]);
    error_icons_[1] = WithErrorMark(icons_[IconSlot(store::KIND_PAGE, true)]);
    bold_font_.setBold(true);
    Rebuild();
    tree_.SetListener(this);
}

PageTreeModel::~PageTreeModel() {
    if (tree_.listener() == this) {
        tree_.SetListener(nullptr);
    }
}

QIcon PageTreeModel::IconFor(int kind, bool disabled, bool failed) const {
    if (failed && kind == store::KIND_PAGE) {
        return error_icons_[disabled ? 1 : 0];
    }
    return icons_[IconSlot(kind, disabled)];
}

const std::optional<std::string>& PageTreeModel::PageError(store::ItemId page) const {
    auto known = page_errors_.find(page);
    if (known != page_errors_.end()) {
        return known->second;
    }
    std::optional<std::string> error;
    store::TreeNode node;
    if (tree_.BuildTreeNode(page, node) == 0 &&
        store::ReadResultCode(node.path) == store::RESULT_ERROR) {
        error = std::string(store::kErrorResultText);
    }
    return page_errors_.emplace(page, std::move(error)).first->second;
}

void PageTreeModel::SetPageError(store::ItemId page, std::optional<std::string> error) {
    page_errors_[page] = std::move(error);
    OnChanged(page);
}

QModelIndex PageTreeModel::IndexOf(store::ItemId item) const {
    auto it = shape_.find(item);
    if (it == shape_.end()) {
        return {};
    }
    return createIndex(it->second.row, 0, static_cast<quintptr>(item));
}

store::ItemId PageTreeModel::ItemOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<store::ItemId>(index.internalId()) : 0;
}

QModelIndex PageTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    if (!parent.isValid()) {
        return (row == 0 && root_ != 0) ? createIndex(0, 0, static_cast<quintptr>(root_))
                                        : QModelIndex();
    }
    auto it = shape_.find(ItemOf(parent));
    if (it == shape_.end() || static_cast<std::size_t>(row) >= it->second.children.size()) {
        return {};
    }
    return createIndex(row, 0, static_cast<quintptr>(it->second.children[row]));
}

QModelIndex PageTreeModel::parent(const QModelIndex& index) const {
    auto it = shape_.find(ItemOf(index));
    if (it == shape_.end() || it->second.parent == 0) {
        return {};
    }
    return IndexOf(it->second.parent);
}

int PageTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return root_ != 0 ? 1 : 0;
    }
    if (parent.column() != 0) {
        return 0;
    }
    auto it = shape_.find(ItemOf(parent));
    return it == shape_.end() ? 0 : static_cast<int>(it->second.children.size());
}

int PageTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool PageTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant PageTreeModel::data(const QModelIndex& index, int role) const {
    const store::PageTree::Node* node = tree_.Find(ItemOf(index));
    if (node == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return desktop::FromSjis(node->name);
        case Qt::DecorationRole: {
            bool failed = node->kind == store::KIND_PAGE && PageError(node->id).has_value();
            QIcon icon = IconFor(node->kind, node->disabled, failed);
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case Qt::ToolTipRole:
            if (node->kind == store::KIND_PAGE) {
                if (const auto& error = PageError(node->id)) {
                    return desktop::FromSjis(*error);
                }
            }
            return {};
        case kErrorRole:
            return node->kind == store::KIND_PAGE && PageError(node->id).has_value();
        case Qt::FontRole:
            return node->bold ? QVariant(bold_font_) : QVariant();
        case kItemIdRole:
            return QVariant::fromValue<qulonglong>(node->id);
        case kKindRole:
            return node->kind;
        case kImageRole:
            return static_cast<int>(ItemImages(node->kind, node->disabled).first);
        case kSelectedImageRole:
            return static_cast<int>(ItemImages(node->kind, node->disabled).second);
        default:
            return {};
    }
}

Qt::ItemFlags PageTreeModel::flags(const QModelIndex& index) const {
    const store::PageTree::Node* node = tree_.Find(ItemOf(index));
    if (node == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (node->kind != store::KIND_ROOT) {
        // Only the operations start label editing (the view has no edit triggers). The root
        // does not move.
        flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList PageTreeModel::mimeTypes() const {
    return {QString::fromLatin1(kDraggedItemType)};
}

QMimeData* PageTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.size() != 1 || ItemOf(indexes.front()) == 0) {
        return nullptr;
    }
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << static_cast<qint64>(QCoreApplication::applicationPid())
           << static_cast<quint64>(ItemOf(indexes.front()));
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDraggedItemType), bytes);
    return data;
}

store::ItemId PageTreeModel::DraggedItem(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(kDraggedItemType))) {
        return 0;
    }
    QDataStream stream(data->data(QString::fromLatin1(kDraggedItemType)));
    qint64 process = 0;
    quint64 item = 0;
    stream >> process >> item;
    bool ours = stream.status() == QDataStream::Ok && process == QCoreApplication::applicationPid();
    return ours ? static_cast<store::ItemId>(item) : 0;
}

bool PageTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                    const QModelIndex& parent) const {
    return parent.isValid() && tree_.Find(DraggedItem(data)) != nullptr;
}

void PageTreeModel::Rebuild() {
    shape_.clear();
    page_errors_.clear();
    root_ = tree_.root();
    if (root_ == 0 || tree_.Find(root_) == nullptr) {
        root_ = 0;
        return;
    }
    shape_.reserve(tree_.size());
    shape_[root_] = Shape{};
    std::vector<store::ItemId> pending{root_};
    while (!pending.empty()) {
        store::ItemId item = pending.back();
        pending.pop_back();
        const store::PageTree::Node* node = tree_.Find(item);
        Shape& shape = shape_[item];
        shape.children = node->children;
        for (std::size_t row = 0; row < node->children.size(); ++row) {
            Shape& child = shape_[node->children[row]];
            child.parent = item;
            child.row = static_cast<int>(row);
            pending.push_back(node->children[row]);
        }
    }
}

void PageTreeModel::Renumber(store::ItemId parent, std::size_t from) {
    const auto& children = shape_.at(parent).children;
    for (std::size_t row = from; row < children.size(); ++row) {
        shape_.at(children[row]).row = static_cast<int>(row);
    }
}

void PageTreeModel::Forget(store::ItemId item) {
    std::vector<store::ItemId> pending{item};
    while (!pending.empty()) {
        auto it = shape_.find(pending.back());
        pending.pop_back();
        if (it == shape_.end()) {
            continue;
        }
        pending.insert(pending.end(), it->second.children.begin(), it->second.children.end());
        page_errors_.erase(it->first);
        shape_.erase(it);
    }
}

void PageTreeModel::OnReset() {
    beginResetModel();
    Rebuild();
    endResetModel();
}

void PageTreeModel::OnInserted(store::ItemId item) {
    const store::PageTree::Node* node = tree_.Find(item);
    if (node == nullptr || shape_.count(item) != 0) {
        return;
    }
    auto parent_shape = shape_.find(node->parent);
    const store::PageTree::Node* parent = tree_.Find(node->parent);
    if (parent_shape == shape_.end() || parent == nullptr) {
        return;
    }
    // The row among the siblings the view knows of: the item's place in the tree's order, less
    // the siblings not announced yet (a moved subtree is announced item by item).
    auto& known = parent_shape->second.children;
    std::size_t row = 0;
    if (known.size() + 1 == parent->children.size()) {
        row = static_cast<std::size_t>(
            std::find(parent->children.begin(), parent->children.end(), item) -
            parent->children.begin());
    } else {
        for (store::ItemId sibling : parent->children) {
            if (sibling == item) {
                break;
            }
            if (shape_.count(sibling) != 0) {
                ++row;
            }
        }
    }
    row = std::min(row, known.size());
    beginInsertRows(IndexOf(node->parent), static_cast<int>(row), static_cast<int>(row));
    // The map may rehash on insertion: find the parent's shape again afterwards.
    shape_[item] = Shape{node->parent, static_cast<int>(row), {}};
    auto& children = shape_[node->parent].children;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(row), item);
    Renumber(node->parent, row);
    endInsertRows();
}

void PageTreeModel::OnRemoved(store::ItemId item, store::ItemId parent) {
    auto it = shape_.find(item);
    if (it == shape_.end() || it->second.parent != parent) {
        return;
    }
    int row = it->second.row;
    beginRemoveRows(IndexOf(parent), row, row);
    auto& children = shape_[parent].children;
    children.erase(children.begin() + row);
    Forget(item);
    Renumber(parent, static_cast<std::size_t>(row));
    endRemoveRows();
}

void PageTreeModel::OnChanged(store::ItemId item) {
    QModelIndex index = IndexOf(item);
    if (index.isValid()) {
        emit dataChanged(index, index,
                         {Qt::DisplayRole, Qt::EditRole, Qt::DecorationRole, Qt::FontRole,
                          Qt::ToolTipRole, kImageRole, kSelectedImageRole, kErrorRole});
    }
}

void PageTreeModel::OnChildrenReordered(store::ItemId parent) {
    const store::PageTree::Node* node = tree_.Find(parent);
    auto it = shape_.find(parent);
    if (node == nullptr || it == shape_.end()) {
        return;
    }
    QList<QPersistentModelIndex> parents{IndexOf(parent)};
    emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    QModelIndexList before = persistentIndexList();
    std::vector<store::ItemId> order;
    order.reserve(node->children.size());
    for (store::ItemId child : node->children) {
        if (shape_.count(child) != 0) {
            order.push_back(child);
        }
    }
    shape_[parent].children = std::move(order);
    Renumber(parent);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        auto shape = shape_.find(ItemOf(old));
        after.push_back(shape == shape_.end()
                            ? QModelIndex()
                            : createIndex(shape->second.row, old.column(), old.internalId()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

}  // namespace velnora::window
