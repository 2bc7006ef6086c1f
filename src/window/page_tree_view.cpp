#include "window/page_tree_view.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "sheets/sheet_controls.h"
#include "text/bounded_string.h"
#include "text/cp932.h"
#include "window/page_tree_model.h"

namespace velnora::window {

// Draws items as usual; keeps label edits away from the model and tells the view instead.
class TreeItemDelegate : public QStyledItemDelegate {
  public:
    explicit TreeItemDelegate(PageTreeView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            // A name is at most 260 bytes of Shift_JIS: what it cannot hold is refused as it is
            // typed, never turned into "?".
            line->setValidator(new sheets::SjisBufferValidator(text::kPathSize, line));
        }
        view_->editor_ = editor;
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        QByteArray property = editor->metaObject()->userProperty().name();
        view_->RecordEdit(PageTreeModel::ItemOf(index), editor->property(property).toString());
    }

    void InitOption(QStyleOptionViewItem& option, const QModelIndex& index) const {
        initStyleOption(&option, index);
    }

  private:
    PageTreeView* view_;
};

PageTreeView::PageTreeView(store::PageTree& tree, QWidget* parent)
    : QTreeView(parent),
      model_(new PageTreeModel(tree, this)),
      delegate_(new TreeItemDelegate(this)) {
    setModel(model_);
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    // Every row is as high as the first, so the view need not measure ten thousand of them.
    setUniformRowHeights(true);
    // The root has no button and no line of its own; the items below it have both.
    setRootIsDecorated(false);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // F2, or a click on the label of the item that is selected already.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAnimated(false);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // Every drop lands on an item, never between two.
    setDragDropOverwriteMode(true);
    setDefaultDropAction(Qt::MoveAction);
    // A rebuilt tree starts without a selection.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { ReportSelection(); });
}

PageTreeView::~PageTreeView() = default;

store::ItemId PageTreeView::SelectedItem() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? 0 : PageTreeModel::ItemOf(selected.front());
}

void PageTreeView::SelectItem(store::ItemId item) {
    FinishLabelEdit();
    if (item == 0) {
        selectionModel()->clearSelection();
        return;
    }
    QModelIndex index = model_->IndexOf(item);
    if (!index.isValid()) {
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void PageTreeView::ExpandItem(store::ItemId item) {
    QModelIndex index = model_->IndexOf(item);
    if (index.isValid()) {
        expand(index);
    }
}

void PageTreeView::EditItemLabel(store::ItemId item) {
    FinishLabelEdit();
    QModelIndex index = model_->IndexOf(item);
    if (index.isValid()) {
        scrollTo(index);
        QTreeView::edit(index);
    }
}

void PageTreeView::FinishLabelEdit() {
    if (state() == QAbstractItemView::EditingState && editor_ != nullptr) {
        QWidget* editor = editor_;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PageTreeView::SetColors(settings::ColorRef text, settings::ColorRef background) {
    auto color = [](settings::ColorRef c) {
        return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>((c >> 16) & 0xFF));
    };
    QPalette colors = palette();
    colors.setColor(QPalette::Base, color(background));
    colors.setColor(QPalette::Text, color(text));
    setPalette(colors);
}

QRect PageTreeView::IconRect(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    delegate_->InitOption(option, index);
    return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

QRect PageTreeView::LabelRect(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    delegate_->InitOption(option, index);
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The text's rectangle reaches the end of the row; the label is as wide as its text.
    int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    int label_width = QFontMetrics(option.font).horizontalAdvance(option.text) + 2 * margin;
    text.setWidth(std::min(text.width(), label_width));
    return text;
}

bool PageTreeView::HitsIconOrLabel(const QModelIndex& index, QPoint position) const {
    if (!index.isValid()) {
        return false;
    }
    return IconRect(index).contains(position) || LabelRect(index).contains(position);
}

bool PageTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A click starts an edit only on the selected item's label, not beside it or on its icon.
    if (trigger == QAbstractItemView::SelectedClicked && event != nullptr &&
        event->type() == QEvent::MouseButtonRelease) {
        QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!LabelRect(index).contains(position)) {
            return false;
        }
    }
    return QTreeView::edit(index, trigger, event);
}

bool PageTreeView::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plain && (key->key() == Qt::Key_Backtab ||
                      (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier)))) {
            emit FocusToolbarRequested();
            return true;
        }
        if (plain && key->key() == Qt::Key_Tab) {
            emit FocusPaneRequested();
            return true;
        }
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            ContextMenuForSelection();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier &&
            state() != QAbstractItemView::EditingState) {
            emit DeleteRequested();
            return true;
        }
    }
    return QTreeView::event(event);
}

void PageTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPoint position = event->position().toPoint();
    QModelIndex index = indexAt(position);
    bool hit = event->button() == Qt::LeftButton && HitsIconOrLabel(index, position);
    store::ItemId item = PageTreeModel::ItemOf(index);
    // Folders open and close as a tree's items do.
    QTreeView::mouseDoubleClickEvent(event);
    if (hit) {
        emit OpenRequested(item);
    }
}

void PageTreeView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // The context-menu key acts on the selected item, wherever the pointer is.
        ContextMenuForSelection();
        return;
    }
    QModelIndex index = indexAt(event->pos());
    if (!index.isValid()) {
        return;
    }
    SelectItem(PageTreeModel::ItemOf(index));
    emit ContextMenuRequested(viewport()->mapToGlobal(event->pos()));
}

void PageTreeView::ContextMenuForSelection() {
    QModelIndex index = model_->IndexOf(SelectedItem());
    if (!index.isValid()) {
        return;
    }
    scrollTo(index);
    emit ContextMenuRequested(viewport()->mapToGlobal(LabelRect(index).bottomLeft()));
}

void PageTreeView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    ReportSelection();
}

void PageTreeView::ReportSelection() {
    store::ItemId item = SelectedItem();
    if (item != last_selected_) {
        last_selected_ = item;
        emit SelectionChanged(item);
    }
}

void PageTreeView::RecordEdit(store::ItemId item, const QString& text) {
    // A text set past the validator with a character Shift_JIS cannot hold renames nothing.
    QByteArray utf8 = text.toUtf8();
    if (auto sjis = text::Utf8ToShiftJisStrict(std::string_view(utf8.constData(), utf8.size()))) {
        pending_edit_.emplace(item, std::move(*sjis));
    }
}

void PageTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab in the editor ends the edit; it does not go on to edit the next item.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem) {
        hint = QAbstractItemDelegate::NoHint;
    }
    QTreeView::closeEditor(editor, hint);
    // The edit is reported once the editor is gone, so that the operations may change the
    // selection and the items freely.
    if (auto edit = std::exchange(pending_edit_, std::nullopt)) {
        emit LabelEdited(edit->first, edit->second);
    }
}

void PageTreeView::startDrag(Qt::DropActions) {
    QModelIndex index = currentIndex();
    if (!index.isValid() || !(model_->flags(index) & Qt::ItemIsDragEnabled)) {
        return;
    }
    QMimeData* data = model_->mimeData({index});
    if (data == nullptr) {
        return;
    }
    // The item as the tree shows it follows the cursor. The drop reports the move; nothing is
    // taken out of the model when the drag ends.
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QRect rect = visualRect(index);
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void PageTreeView::dropEvent(QDropEvent* event) {
    store::ItemId item = PageTreeModel::DraggedItem(event->mimeData());
    if (item == 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // The indicator, the scrolling and the drag state end as when the drag leaves the view.
    QDragLeaveEvent leave;
    QTreeView::dragLeaveEvent(&leave);
    store::ItemId target = PageTreeModel::ItemOf(indexAt(event->position().toPoint()));
    if (target == 0 || target == item) {
        SelectItem(item);
        return;
    }
    emit ItemDropped(item, target);
}

}  // namespace velnora::window
