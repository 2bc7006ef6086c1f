// The main window's command table, the command lock and the edit menu.

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "desktop/desktop.h"
#include "pane/result_pane.h"
#include "settings/settings_views.h"
#include "sheets/options_sheet.h"
#include "text/version.h"
#include "window/commands.h"
#include "window/export_commands.h"
#include "window/import_commands.h"
#include "window/main_window.h"
#include "window/page_tree_view.h"
#include "window/print_pane.h"
#include "window/search_commands.h"
#include "window/stored_results_run.h"
#include "window/tree_operations.h"

namespace velnora::window {

store::ItemId MainWindow::SelectedItem() const {
    return tree_view_->SelectedItem();
}

bool MainWindow::SelectedIsPage() const {
    const store::PageTree::Node* node = tree_.Find(SelectedItem());
    return node != nullptr && node->kind == store::KIND_PAGE;
}

bool MainWindow::CommandEnabled(int command) const {
    auto it = actions_.toolbar.find(command);
    return it != actions_.toolbar.end() && it->second->isEnabled();
}

void MainWindow::LockCommands(bool enable) {
    tree_view_->setEnabled(enable);
    for (QAction* menu : menuBar()->actions()) {
        menu->setEnabled(enable);
    }
    for (int command : kLockedButtons) {
        actions_.toolbar.at(command)->setEnabled(enable);
    }
    actions_.toolbar.at(kAbortCheck)->setEnabled(!enable);
    actions_.toolbar.at(kShowWholeText)->setEnabled(enable && SelectedIsPage());
    actions_.menu.at(kMenuProperties)->setEnabled(enable);
    actions_.menu.at(kOpenUrlInBrowser)->setEnabled(enable && SelectedIsPage());
    if (enable) {
        // The long work is over: its results are all shown.
        ShowProgress(0, 0);
        pane_->EndDetachedFill();
    }
    pane_->setFocus();
}

void MainWindow::UpdateEditMenu() {
    actions_.menu.at(kCopy)->setEnabled(!pane_->SelectionIsEmpty());
    actions_.menu.at(kCopyUrl)->setEnabled(pane_->LinkTargetAtSelection().has_value());
}

void MainWindow::RunCommand(int command) {
    if (auto gate = GateOf(command); gate && !CommandEnabled(*gate)) {
        return;  // the command's toolbar button is not enabled: nothing happens
    }
    switch (command) {
        case kAbout:
            ShowAbout();
            break;
        case kExit:
            skip_saving_ = true;
            close();
            break;
        case kMenuNewFolder:
        case kNewFolder:
            operations_->NewFolder();
            break;
        case kMenuNewPage:
        case kNewPage:
            operations_->NewPage(std::nullopt, std::nullopt);
            break;
        case kMenuDelete:
        case kDelete:
            operations_->DeleteItem();
            break;
        case kMenuProperties:
        case kProperties:
            operations_->EditProperties();
            // An interval or a flag may have changed.
            auto_checks_->Reconsider();
            RefreshUnreadCount();
            break;
        case kOptions:
            ShowOptions();
            break;
        case kStartCheck:
            StartCheckWhenFree(SelectedItem());
            break;
        case kAbortCheck:
            if (reload_->running()) {
                reload_->Stop();
            } else {
                check_->AbortCheck();
            }
            break;
        case kReload:
        case kReloadAll:
            if (!CheckRunning()) {
                reload_->Start(SelectedItem(), command == kReloadAll, settings_.n_reload);
            }
            break;
        case kShowWholeText:
            if (!CheckRunning()) {
                check_->ShowWholeText(SelectedItem());
            }
            break;
        case kTopmost:
            SetTopmost(!topmost_);
            settings_.topmost = topmost_ ? 1 : 0;
            break;
        case kNextKeyword:
            pane_->NextHighlight();
            break;
        case kFind:
        case kMenuFind:
            search_->Find();
            break;
        case kFindNext:
        case kMenuFindNext:
            search_->FindNext();
            break;
        case kPastLogSearch:
            search_->PastLogSearch();
            break;
        case kSaveHtml:
            export_->SaveLogAsHtml();
            break;
        case kImportFavorites:
            imports_->ImportFavorites();
            break;
        case kImportBookmarks:
            imports_->ImportBookmarks();
            break;
        case kPrint:
            PrintPane();
            break;
        case kResultsInBrowser:
            if (!CheckRunning()) {
                export_->OpenResultsInBrowser();
            }
            break;
        case kCopy:
            pane_->copy();
            break;
        case kSelectAll:
            pane_->selectAll();
            pane_->setFocus();
            break;
        case kOpenUrlInBrowser: {
            const store::ItemRecord& page = operations_->working_copy();
            if (page.node.kind == store::KIND_PAGE) {
                OpenAddress(page.settings.browse_url.empty() ? page.settings.url
                                                             : page.settings.browse_url);
            }
            break;
        }
        case kNextBlock:
            pane_->NextBlock();
            break;
        case kPreviousBlock:
            pane_->PreviousBlock();
            break;
        case kCopyUrl:
            if (auto target = pane_->LinkTargetAtSelection()) {
                desktop::CopyToClipboard(*target);
            }
            break;
        default:
            break;
    }
}

void MainWindow::ShowOptions() {
    sheets::OptionsServices services;
    services.stats = &stats_;
    services.display_changed = [this] {
        LockCommands(false);
        ApplyDisplaySettings();
        LockCommands(true);
    };
    services.save = [this](const settings::AppSettings& settings) { SaveSettingsFile(settings); };
    bool topmost = topmost_;
    if (topmost) {
        SetTopmost(false);  // the sheet comes to the front
    }
    sheets::ShowOptionsSheet(this, settings_, services);
    if (topmost) {
        SetTopmost(true);
    }
    display_.SetSettings(settings::DisplaySettingsFrom(settings_));
    auto_checks_->Reconsider();
}

void MainWindow::PrintPane() {
    PrintJob job{pane_->toPlainText(), pane_->font(), settings_.line_height, windowTitle()};
    // The dialogs come to the front: the window is not kept on top meanwhile.
    if (topmost_) {
        SetTopmostFlag(false);
    }
    PrintWithDialog(this, job);
    if (topmost_) {
        SetTopmostFlag(true);
    }
}

void MainWindow::ShowAbout() {
    QDialog dialog(this);
    dialog.setObjectName("AboutDialog");
    dialog.setWindowTitle(QString::fromUtf16(u"バージョン情報"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* icon = new QLabel(&dialog);
    icon->setPixmap(QIcon(":/icons/velnora.svg").pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(
        QString::fromLatin1(text::kNameAndVersion.data(), text::kNameAndVersion.size()), &dialog);
    version->setObjectName("VersionText");
    version->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(icon);
    layout->addWidget(version);
    layout->addWidget(buttons);
    dialog.exec();
}

}  // namespace velnora::window
