#pragma once

// TreeOperations: what the user does to the page tree: selecting an item, opening a page in the
// browser, new folders and pages, deleting, renaming, the property sheets. Every operation
// changes the disk first and the tree second. It keeps the current item (the selected item's
// record) and the working copy (the record the result pane, the sheets and the commands read),
// the selection flag and the guard that keeps a second new page from starting while the sheet
// of the first is open.
//
// The main window connects the view's signals to it:
//   PageTreeView::SelectionChanged -> OnItemSelected
//   PageTreeView::OpenRequested    -> OpenItemInBrowser
//   PageTreeView::LabelEdited      -> RenameItem
// and runs the commands (new folder, new page, delete, properties) and dropped addresses
// (NewPage with a name and an address) through it. Texts are Shift_JIS.

#include <optional>
#include <string_view>

#include "sheets/sheet_launcher.h"
#include "store/page_tree.h"
#include "store/records.h"
#include "window/page_tree_view.h"
#include "window/window_services.h"

namespace velnora::window {

class TreeOperations {
  public:
    // All four must outlive the operations.
    TreeOperations(store::PageTree& tree, PageTreeView& view, WindowServices& services,
                   sheets::SheetLauncher& sheets);

    // Fills the tree from the data directory, expands the root and selects it. At start-up and
    // after an import.
    void PopulateTree();

    // The selection changed (0: none): the current item and the working copy follow it; a
    // page's stored results are shown.
    void OnItemSelected(store::ItemId item);
    // Opens a page's address in the browser; folders are left to the tree.
    void OpenItemInBrowser(store::ItemId item);
    // A new folder beside the current page or in the current folder, named "新規フォルダ" (or
    // numbered), whose label is then edited.
    void NewFolder();
    // A new page, offered in the page sheet under the name (or "新規ページ"), numbered when
    // taken, and with the address; nothing is made when the sheet is cancelled.
    void NewPage(std::optional<std::string_view> name = std::nullopt,
                 std::optional<std::string_view> url = std::nullopt);
    // After confirmation, moves the current item's directory to the trash and removes the item.
    void DeleteItem();
    // The property sheet of the current item; stores, renames and updates the item's image.
    void EditProperties();
    // The same for any item (a settings link in the result pane); the current item and the
    // working copy are kept.
    void EditPropertiesOf(store::ItemId item);
    // The end of a label edit on the item: renames its directory, then the item; the item's
    // text stays when the directory cannot take the name.
    void RenameItem(store::ItemId item, std::string_view new_name);

    const store::ItemRecord& current_item() const { return current_; }
    // The directory a new item goes into: the current folder's, or the current page's folder's.
    const std::string& NewItemDirectory() const {
        return current_.node.kind == store::KIND_PAGE ? current_.node.parent_directory
                                                      : current_.node.path;
    }
    store::ItemRecord& working_copy() { return working_; }
    const store::ItemRecord& working_copy() const { return working_; }
    // Whether the tree has a selected item.
    bool has_selection() const { return selected_; }

  private:
    // Where new items go: the current page's folder, or the current folder itself.
    bool NewItemPlace(std::string& directory, store::ItemId& parent) const;
    // EditProperties; true when the sheet stored a record.
    bool EditCurrent();
    void ShowSystemError(std::string_view text);
    // The minutes an item in the folder follows when it follows its folder.
    int FolderInterval(store::ItemId folder) const;

    store::PageTree& tree_;
    PageTreeView& view_;
    WindowServices& services_;
    sheets::SheetLauncher& sheets_;
    store::ItemRecord current_;
    store::ItemRecord working_;
    bool selected_ = false;
    bool creating_page_ = false;
};

}  // namespace velnora::window
