#pragma once

// PageTreeView: the page tree pane. It shows the tree through its own PageTreeModel and turns
// the user's actions into signals that the main window hands to the tree operations: the
// selection, a double click on an item's icon or label, a context-menu request over an item
// (selected first; from the keyboard, the selected item's menu at the item), the end of a label
// edit, Delete, and Tab and Shift+Tab, which leave the tree for the result pane and the toolbar.
// Label editing starts with F2, with a click on the selected item's label, or when the
// operations ask for it; the editor takes only what Shift_JIS can hold, and the edited text never
// reaches the model: the operations rename the directory and the item.
// Items are dragged with the view's own drag and drop (the drop indicator, scrolling near the
// edges, Esc to cancel); a drop only reports where the item was dropped, the operations move it.

#include <QPoint>
#include <QPointer>
#include <QTreeView>
#include <optional>
#include <string>

#include "settings/app_settings.h"
#include "store/page_tree.h"

namespace velnora::window {

class PageTreeModel;
class TreeItemDelegate;

class PageTreeView : public QTreeView {
    Q_OBJECT

  public:
    // Shows the tree, following it until the view goes.
    explicit PageTreeView(store::PageTree& tree, QWidget* parent = nullptr);
    ~PageTreeView() override;

    PageTreeModel& tree_model() { return *model_; }

    // The selected item, 0 for none.
    store::ItemId SelectedItem() const;
    // Selects the item and makes it visible (its folders are expanded); 0 empties the selection.
    // Emits SelectionChanged when the selection changes. A label edit under way ends first, so
    // that its LabelEdited still concerns the selected item.
    void SelectItem(store::ItemId item);
    void ExpandItem(store::ItemId item);
    // Starts editing the item's label; its end comes as LabelEdited (not when cancelled).
    void EditItemLabel(store::ItemId item);
    // Ends a label edit under way as Enter would.
    void FinishLabelEdit();
    bool IsEditingLabel() const { return state() == QAbstractItemView::EditingState; }
    // The text and background colours of the settings (0x00BBGGRR).
    void SetColors(settings::ColorRef text, settings::ColorRef background);

    // Whether a point of the viewport lies on the item's icon or label.
    bool HitsIconOrLabel(const QModelIndex& index, QPoint position) const;
    // Where the item's label is drawn, in viewport coordinates (as wide as its text).
    QRect LabelRect(const QModelIndex& index) const;

  signals:
    // The selection changed to the item, or to none (0).
    void SelectionChanged(store::ItemId item);
    // A double click on an item's icon or label.
    void OpenRequested(store::ItemId item);
    // The context menu over an item, which is selected already; the position is global.
    void ContextMenuRequested(QPoint global_position);
    // A label edit ended with this text (Shift_JIS); the item's text is still the old one.
    void LabelEdited(store::ItemId item, const std::string& text);
    // An item was dropped on another (a drop between two items counts as one on the item under
    // the cursor). A drop on the item itself or beside every item only selects it again.
    void ItemDropped(store::ItemId item, store::ItemId target);
    void FocusPaneRequested();     // Tab
    void FocusToolbarRequested();  // Shift+Tab
    void DeleteRequested();        // Delete

  protected:
    bool event(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void startDrag(Qt::DropActions supported) override;
    void dropEvent(QDropEvent* event) override;

  private:
    friend class TreeItemDelegate;
    void RecordEdit(store::ItemId item, const QString& text);
    void ReportSelection();
    // The selected item's context menu, at its label.
    void ContextMenuForSelection();
    QRect IconRect(const QModelIndex& index) const;

    PageTreeModel* model_;
    TreeItemDelegate* delegate_;
    QPointer<QWidget> editor_;
    store::ItemId last_selected_ = 0;
    // A label edit committed by the delegate, reported once its editor is closed.
    std::optional<std::pair<store::ItemId, std::string>> pending_edit_;
};

}  // namespace velnora::window
