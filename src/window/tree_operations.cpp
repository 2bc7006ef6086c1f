#include "window/tree_operations.h"

#include "desktop/desktop.h"
#include "fetch/schedule.h"
#include "store/item_directory.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "store/unread_marks.h"
#include "text/bounded_string.h"
#include "window/message_box.h"
#include "window/tree_texts.h"

namespace velnora::window {

using store::ItemDirectoryResult;
using store::ItemId;

TreeOperations::TreeOperations(store::PageTree& tree, PageTreeView& view, WindowServices& services,
                               sheets::SheetLauncher& sheets)
    : tree_(tree), view_(view), services_(services), sheets_(sheets) {}

void TreeOperations::PopulateTree() {
    store::PopulateTree(tree_);
    store::RestoreUnreadMarks(tree_, tree_.root());
    view_.ExpandItem(tree_.root());
    view_.SelectItem(tree_.root());
}

int TreeOperations::FolderInterval(ItemId folder) const {
    return fetch::FolderInterval(tree_, folder, services_.settings().check_interval);
}

void TreeOperations::ShowSystemError(std::string_view text) {
    // Like the system's own error boxes: no owner window, the information icon.
    ShowMessage(nullptr, text, tree_texts::kSystemErrorCaption, MessageButtons::kOk,
                MessageIcon::kInformation);
}

void TreeOperations::OnItemSelected(ItemId item) {
    if (item == 0) {
        selected_ = false;
        return;
    }
    selected_ = true;
    services_.SetStatusText("");
    if (tree_.BuildTreeNode(item, current_.node) != 0) {
        // Selecting the root runs this again; the root is never selected twice in a row.
        if (item != tree_.root()) {
            view_.SelectItem(tree_.root());
        }
        return;
    }
    // The current item gets its settings only when a sheet stores a record into it.
    if (current_.node.kind == store::KIND_PAGE) {
        services_.LockCommands(false);
        services_.ClearPane();
        working_ = current_;
        services_.display().ShowResultsAfterCheck(working_, services_.settings().n_reload);
        // Its results are shown: the page's updates are read.
        store::ClearUnread(tree_, item);
        services_.LockCommands(true);
    } else {
        working_ = current_;
        store::FolderSettings folder;
        store::ReadFolderSettings(current_.node.path, folder);
        working_.settings.disable_auto_check = folder.disable_auto_check;
        working_.settings.check_interval = folder.check_interval;
    }
    view_.setFocus();
}

void TreeOperations::OpenItemInBrowser(ItemId item) {
    store::TreeNode node;
    if (tree_.BuildTreeNode(item, node) != 0 || node.kind != store::KIND_PAGE) {
        return;
    }
    store::PageSettings settings;
    store::ReadPageSettings(node.path, settings);
    services_.SetStatusText(tree_texts::OpeningText(settings.url));
    const std::string& address = settings.browse_url.empty() ? settings.url : settings.browse_url;
    // A page without any address has nothing to open.
    if (!address.empty()) {
        services_.OpenAddress(address);
    }
}

bool TreeOperations::NewItemPlace(std::string& directory, ItemId& parent) const {
    if (tree_.Find(current_.node.item) == nullptr) {
        return false;
    }
    directory = NewItemDirectory();
    parent = current_.node.kind == store::KIND_PAGE ? tree_.Parent(current_.node.item)
                                                    : current_.node.item;
    return parent != 0;
}

void TreeOperations::NewFolder() {
    std::string directory;
    ItemId parent = 0;
    if (!NewItemPlace(directory, parent)) {
        return;
    }
    // Longer candidates fit no better than shorter ones: no free name that fits ends it.
    auto name = store::FreeItemName(directory, tree_texts::kNewFolderName, store::kFolderSuffix);
    if (!name) {
        return;
    }
    std::string path;
    std::string error;
    switch (store::CreateItemDirectory(directory, *name, store::KIND_FOLDER, path, error)) {
        case ItemDirectoryResult::kDone:
            break;
        case ItemDirectoryResult::kTooLong:
            return;
        case ItemDirectoryResult::kFailed:
            ShowSystemError(error);
            return;
    }
    ItemId item = tree_.AddItem(parent, *name, store::KIND_FOLDER, false);
    view_.SelectItem(item);
    view_.EditItemLabel(item);
}

void TreeOperations::NewPage(std::optional<std::string_view> name,
                             std::optional<std::string_view> url) {
    // A drop that arrives while the sheet of a new page is open is not taken.
    if (creating_page_) {
        return;
    }
    creating_page_ = true;
    struct Release {
        bool& guard;
        ~Release() { guard = false; }
    } release{creating_page_};

    if (!selected_) {
        return;
    }
    std::string directory;
    ItemId parent = 0;
    if (!NewItemPlace(directory, parent)) {
        return;
    }
    // An empty suggestion (a dropped address without a title) is no suggestion.
    if (name && name->empty()) {
        name.reset();
    }
    if (name && name->size() >= text::kPathSize) {
        return;
    }
    auto free_name =
        store::FreeItemName(directory, name ? *name : tree_texts::kNewPageName, store::kPageSuffix);
    if (!free_name) {
        return;
    }
    store::ItemRecord record;
    record.node.kind = store::KIND_PAGE;
    record.node.name = *free_name;
    record.node.parent_directory = directory;
    record.node.path = store::ItemDirectory(directory, *free_name, store::KIND_PAGE).value_or("");
    record.settings.url = url ? text::CutToBuffer(*url, text::kUrlSize) : std::string();
    record.settings.use_old_log = 1;
    // The sheet opens again with what was typed until the directory is made or the user
    // cancels: a refused name loses nothing.
    std::string path;
    // The home's write lock is held from the sheet's OK to the page's last file.
    std::optional<HomeWriteScope> writing;
    for (bool made = false; !made;) {
        writing.reset();
        if (!sheets_.ShowPageSheet(record, FolderInterval(parent))) {
            return;
        }
        writing.emplace(services_);
        if (!*writing) {
            return;
        }
        // The name as it stands now: the user may have changed it in the sheet.
        std::string error;
        switch (store::CreateItemDirectory(directory, record.node.name, store::KIND_PAGE, path,
                                           error)) {
            case ItemDirectoryResult::kDone:
                made = true;
                break;
            case ItemDirectoryResult::kTooLong:
                ShowMessage(services_.window(), tree_texts::kNameTooLong, tree_texts::kErrorCaption,
                            MessageButtons::kOk, MessageIcon::kNone);
                break;
            case ItemDirectoryResult::kFailed:
                ShowSystemError(error);
                break;
        }
    }
    ItemId item = tree_.AddItem(parent, record.node.name, store::KIND_PAGE,
                                record.settings.disable_auto_check != 0);
    if (std::string error; store::WritePageSettings(path, record.settings, &error) != 0) {
        ShowSystemError(error);
    }
    record.node.item = item;
    record.node.path = path;
    current_ = record;
    view_.SelectItem(item);
}

void TreeOperations::DeleteItem() {
    if (!selected_ || current_.node.kind == store::KIND_ROOT ||
        tree_.Find(current_.node.item) == nullptr) {
        return;
    }
    std::string question = current_.node.name;
    question.append(tree_texts::kDeleteQuestionSuffix);
    if (ShowMessage(services_.window(), question, tree_texts::kDeleteCaption,
                    MessageButtons::kYesNoDefaultNo,
                    MessageIcon::kWarning) != MessageAnswer::kYes) {
        return;
    }
    if (current_.node.path.size() >= text::kPathSize) {
        ShowMessage(services_.window(), tree_texts::kPathTooLongToDelete, tree_texts::kErrorCaption,
                    MessageButtons::kOk, MessageIcon::kNone);
        return;
    }
    HomeWriteScope writing(services_);
    if (!writing || tree_.Find(current_.node.item) == nullptr) {
        return;
    }
    ItemId item = current_.node.item;
    tree_.ClearUpdated(item);
    services_.SetStatusText(tree_texts::kDeleting);
    std::string error;
    if (!desktop::MoveToTrash(current_.node.path, &error)) {
        ShowMessage(services_.window(), tree_texts::kDeleteFailed, tree_texts::kDeleteFailedCaption,
                    MessageButtons::kOk, MessageIcon::kError);
        return;
    }
    // The view selects the next item (or the previous one, or the folder), which becomes the
    // current item.
    tree_.Remove(item);
    services_.SetStatusText(tree_texts::kDeleted);
}

bool TreeOperations::EditCurrent() {
    ItemId item = current_.node.item;
    if (tree_.Find(item) == nullptr) {
        return false;
    }
    // The sheet opens on the item's own record, read afresh: the working copy may hold the page
    // a check or a reload showed last.
    store::ItemRecord copy;
    copy.node = current_.node;
    if (current_.node.kind == store::KIND_PAGE) {
        store::ReadPageSettings(current_.node.path, copy.settings);
    } else if (current_.node.kind == store::KIND_FOLDER) {
        store::FolderSettings folder;
        store::ReadFolderSettings(current_.node.path, folder);
        copy.settings.disable_auto_check = folder.disable_auto_check;
        copy.settings.check_interval = folder.check_interval;
    } else {
        copy.settings.check_interval = services_.settings().check_interval;
    }
    switch (current_.node.kind) {
        case store::KIND_PAGE: {
            if (!sheets_.ShowPageSheet(copy, FolderInterval(tree_.Parent(item)))) {
                return false;
            }
            HomeWriteScope writing(services_);
            if (!writing) {
                return false;
            }
            if (std::string error;
                store::WritePageSettings(current_.node.path, copy.settings, &error) != 0) {
                ShowSystemError(error);
            }
            if (copy.node.name.empty()) {
                // An emptied name is no new name: the page keeps its own.
                copy.node.name = current_.node.name;
            } else if (copy.node.name != current_.node.name) {
                std::string new_path;
                std::string error;
                switch (
                    store::RenameItemDirectory(current_.node, copy.node.name, new_path, error)) {
                    case ItemDirectoryResult::kDone:
                        tree_.SetName(item, copy.node.name);
                        tree_.SortSiblings(item);
                        copy.node.path = new_path;
                        break;
                    case ItemDirectoryResult::kTooLong:
                        ShowMessage(services_.window(), tree_texts::kNameTooLong,
                                    tree_texts::kSettingsErrorCaption, MessageButtons::kOk,
                                    MessageIcon::kNone);
                        copy.node.name = current_.node.name;
                        break;
                    case ItemDirectoryResult::kFailed:
                        ShowSystemError(error);
                        copy.node.name = current_.node.name;
                        break;
                }
            }
            tree_.SetDisabled(item, copy.settings.disable_auto_check != 0);
            working_ = copy;
            current_ = copy;
            return true;
        }
        case store::KIND_FOLDER: {
            if (!sheets_.ShowFolderSheet(copy, FolderInterval(tree_.Parent(item)))) {
                return false;
            }
            HomeWriteScope writing(services_);
            if (!writing) {
                return false;
            }
            store::FolderSettings folder;
            folder.disable_auto_check = copy.settings.disable_auto_check;
            folder.check_interval = copy.settings.check_interval;
            if (std::string error;
                store::WriteFolderSettings(current_.node.path, folder, &error) != 0) {
                ShowSystemError(error);
            }
            tree_.SetDisabled(item, folder.disable_auto_check != 0);
            working_ = copy;
            current_ = copy;
            return true;
        }
        default:
            // The root's sheet stores only the data directory's interval, which is the
            // program's.
            if (sheets_.ShowRootSheet(copy)) {
                services_.StoreRootInterval(copy.settings.check_interval);
            }
            return false;
    }
}

void TreeOperations::EditProperties() {
    EditCurrent();
}

void TreeOperations::EditPropertiesOf(ItemId item) {
    store::ItemRecord kept_current = current_;
    store::ItemRecord kept_working = working_;
    if (tree_.BuildTreeNode(item, current_.node) != 0) {
        current_ = kept_current;
        return;
    }
    // The sheet opens on the item's own settings, read afresh by EditCurrent.
    bool stored = EditCurrent();
    // When the sheet stored the selected item's record, its new name, path and settings are
    // what the current item and the working copy must hold from now on.
    if (stored && item == kept_current.node.item) {
        return;
    }
    current_ = kept_current;
    working_ = kept_working;
}

void TreeOperations::RenameItem(ItemId item, std::string_view new_name) {
    HomeWriteScope writing(services_);
    if (!writing) {
        return;
    }
    store::TreeNode node;
    if (tree_.BuildTreeNode(item, node) != 0 || node.kind == store::KIND_ROOT) {
        return;
    }
    std::string new_path;
    std::string error;
    ItemDirectoryResult result = store::RenameItemDirectory(node, new_name, new_path, error);
    switch (result) {
        case ItemDirectoryResult::kDone:
            tree_.SetName(item, new_name);
            break;
        case ItemDirectoryResult::kTooLong:
            return;
        case ItemDirectoryResult::kFailed:
            ShowSystemError(error);
            break;
    }
    if (selected_ && current_.node.item == item) {
        // Selecting the item afresh rebuilds the current item and the working copy.
        view_.SelectItem(0);
        view_.SelectItem(item);
    } else if (result == ItemDirectoryResult::kDone && selected_) {
        // The edit ended as the selection moved on: the selected item may lie inside the
        // renamed folder, so its directory is found again.
        store::TreeNode current;
        if (tree_.BuildTreeNode(current_.node.item, current) == 0) {
            current_.node = current;
            working_.node = current;
        }
    }
    tree_.SortSiblings(item);
}

}  // namespace velnora::window
