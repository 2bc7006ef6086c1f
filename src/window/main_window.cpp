#include "window/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <utility>

#include "desktop/desktop.h"
#include "desktop/qt_text.h"
#include "files/file_system.h"
#include "pane/result_pane.h"
#include "results/link_targets.h"
#include "settings/settings_views.h"
#include "sheets/dialog_sheet_launcher.h"
#include "text/bounded_string.h"
#include "window/clear_past_logs.h"
#include "window/commands.h"
#include "window/export_commands.h"
#include "window/message_box.h"
#include "window/page_tree_view.h"
#include "window/search_commands.h"
#include "window/tree_operations.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

// "ページの設定を変更します"
constexpr std::string_view kSettingsLinkStatus =
    "\x83\x79\x81\x5b\x83\x57\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x95\xcf\x8d\x58\x82\xb5\x82\xdc"
    "\x82\xb7";

}  // namespace

MainWindow::MainWindow(const files::ProgramHome& home, settings::AppSettings& settings,
                       fetch::TrafficStats& stats)
    : home_(home),
      settings_(settings),
      stats_(stats),
      tree_(home.directory),
      display_(document_, this),
      writes_(std::make_unique<HomeWrites>(
          home.directory, [this](std::string_view text) { SetStatusText(text); })) {
    setObjectName("MainWindow");
    setWindowTitle("Velnora");
    setWindowIcon(QIcon(":/icons/velnora.svg"));
    CreateChildren();
    ConnectCommands();
    ConnectTree();
    ConnectPane();
    RestorePlacement();
    SetTopmost(topmost_);
}

MainWindow::~MainWindow() {
    // The check and the search go first: their workers and posted tasks refer to the tree and
    // the pane.
    search_.reset();
    check_.reset();
    operations_.reset();
}

std::string MainWindow::settings_path() const {
    return home_.directory + std::string(settings::kSettingsFileName);
}

void MainWindow::CreateChildren() {
    toolbar_ = addToolBar("toolbar");
    toolbar_->setObjectName("Toolbar");
    toolbar_->setMovable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    // The toolbar takes the focus in the window's Tab order: Tab goes on to the tree, Shift+Tab
    // back to the pane.
    toolbar_->setFocusPolicy(Qt::TabFocus);
    toolbar_->installEventFilter(this);
    actions_ = BuildCommands(this, menuBar(), toolbar_);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("Splitter");
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(4);

    files::MakeDirectories(home_.data_directory);
    tree_view_ = new PageTreeView(tree_, splitter_);
    tree_view_->setObjectName("PageTree");
    tree_view_->setMinimumWidth(10);

    display_.SetSettings(settings::DisplaySettingsFrom(settings_));
    pane_ = new pane::ResultPane(document_, settings::PaneAppearanceFrom(settings_), splitter_);
    pane_->setObjectName("ResultPane");
    pane_->setMinimumWidth(10);
    splitter_->addWidget(tree_view_);
    splitter_->addWidget(pane_);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);

    status_label_ = new QLabel(this);
    status_label_->setObjectName("StatusText");
    status_label_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(status_label_, 1);
    statusBar()->setSizeGripEnabled(true);

    check_observer_ = std::make_unique<WindowCheckObserver>(
        *this, tree_, [this]() -> store::ItemRecord& { return operations_->working_copy(); });
    check_observer_->caret_to_start = [this] { pane_->MoveCaretToStart(); };
    check_ = std::make_unique<fetch::CheckRun>(tree_, transport_, loop_, *check_observer_, stats_);
    check_->OnStopped([this] {
        if (std::exchange(check_holds_lock_, false)) {
            writes_->Release();
        }
    });
    sheets_ = std::make_unique<sheets::DialogSheetLauncher>(
        this, [this](const store::ItemRecord& record) { ClearPastLogs(record, tree_, *this); },
        [this](bool showing) {
            // A sheet comes to the front: the window is not kept on top while it shows.
            if (topmost_) {
                SetTopmostFlag(!showing);
            }
        });
    operations_ = std::make_unique<TreeOperations>(tree_, *tree_view_, *this, *sheets_);
    search_ =
        std::make_unique<SearchCommands>(*this, *pane_, tree_, [this] { return SelectedItem(); });
    export_ = std::make_unique<ExportCommands>(*this, *this, document_, tree_, home_.directory,
                                               [this] { return SelectedItem(); });
    ApplyDisplaySettings();
    operations_->PopulateTree();
}

void MainWindow::ConnectCommands() {
    for (auto& [command, action] : actions_.menu) {
        int id = command;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
    for (auto& [command, action] : actions_.toolbar) {
        int id = command;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
    connect(actions_.edit_menu, &QMenu::aboutToShow, this, [this] { UpdateEditMenu(); });
}

void MainWindow::ConnectTree() {
    connect(tree_view_, &PageTreeView::SelectionChanged, this,
            [this](store::ItemId item) { operations_->OnItemSelected(item); });
    connect(tree_view_, &PageTreeView::OpenRequested, this,
            [this](store::ItemId item) { operations_->OpenItemInBrowser(item); });
    connect(tree_view_, &PageTreeView::ContextMenuRequested, this, [this](QPoint global) {
        if (!CheckRunning()) {
            actions_.item_menu->exec(global);
        }
    });
    connect(tree_view_, &PageTreeView::LabelEdited, this,
            [this](store::ItemId item, const std::string& text) {
                writes_->Run([this, item, text] { operations_->RenameItem(item, text); });
            });
    connect(tree_view_, &PageTreeView::FocusPaneRequested, this,
            [this] { pane_->setFocus(Qt::TabFocusReason); });
    connect(tree_view_, &PageTreeView::FocusToolbarRequested, this,
            [this] { toolbar_->setFocus(Qt::BacktabFocusReason); });
}

void MainWindow::ConnectPane() {
    connect(pane_, &pane::ResultPane::linkHovered, this, &MainWindow::OnLinkHovered);
    connect(pane_, &pane::ResultPane::linkActivated, this, &MainWindow::OnLinkActivated);
    connect(pane_, &pane::ResultPane::tabPressed, this,
            [this] { toolbar_->setFocus(Qt::TabFocusReason); });
    connect(pane_, &pane::ResultPane::backtabPressed, this,
            [this] { tree_view_->setFocus(Qt::BacktabFocusReason); });
    connect(pane_, &pane::ResultPane::contextMenuWanted, this, [this](const QPoint& global) {
        UpdateEditMenu();
        actions_.edit_menu->exec(global);
    });
}

void MainWindow::SetStatusText(std::string_view text) {
    status_label_->setText(desktop::FromSjis(text));
    status_label_->repaint();
}

QString MainWindow::StatusText() const {
    return status_label_->text();
}

void MainWindow::ClearPane() {
    document_.Clear();
    hovered_link_ = -1;
}

void MainWindow::OpenAddress(std::string_view address) {
    if (settings_.use_browser == 0) {
        desktop::OpenWithSystem(address);
        return;
    }
    switch (desktop::LaunchBrowser(settings_.browser, address)) {
        case desktop::LaunchResult::kNoBrowser:
            // "ブラウザが指定されていません", "エラー"
            ShowMessage(this,
                        "\x83\x75\x83\x89\x83\x45\x83\x55\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea"
                        "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1",
                        "\x83\x47\x83\x89\x81\x5b", MessageButtons::kOk, MessageIcon::kError);
            break;
        case desktop::LaunchResult::kCannotStart:
            // "ブラウザを起動できません", "エラー"
            ShowMessage(this,
                        "\x83\x75\x83\x89\x83\x45\x83\x55\x82\xf0\x8b\x4e\x93\xae\x82\xc5\x82\xab"
                        "\x82\xdc\x82\xb9\x82\xf1",
                        "\x83\x47\x83\x89\x81\x5b", MessageButtons::kOk, MessageIcon::kError);
            break;
        case desktop::LaunchResult::kStarted:
        case desktop::LaunchResult::kTooLong:
            break;
    }
}

void MainWindow::OnLinkHovered(int link) {
    if (link < 0 || link == hovered_link_ ||
        static_cast<std::size_t>(link) >= document_.Links().size()) {
        return;
    }
    hovered_link_ = link;
    const std::string& target = document_.Links()[static_cast<std::size_t>(link)].target;
    SetStatusText(results::IsSettingsTarget(target) ? kSettingsLinkStatus : target);
}

void MainWindow::OnLinkActivated(int link) {
    if (link < 0 || static_cast<std::size_t>(link) >= document_.Links().size()) {
        return;
    }
    hovered_link_ = link;
    std::string target = document_.Links()[static_cast<std::size_t>(link)].target;
    if (auto item = results::SettingsTargetItem(target)) {
        if (!CheckRunning()) {
            operations_->EditPropertiesOf(*item);
        }
        return;
    }
    export_->RecordLink(static_cast<std::size_t>(link));
    SetStatusText(tree_texts::OpeningText(target));
    OpenAddress(target);
}

void MainWindow::ApplyDisplaySettings() {
    display_.SetSettings(settings::DisplaySettingsFrom(settings_));
    pane_->ApplyAppearance(settings::PaneAppearanceFrom(settings_));
    tree_view_->SetColors(settings_.color, settings_.back_color);
}

void MainWindow::SetTopmostFlag(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        show();
    }
}

void MainWindow::SetTopmost(bool on) {
    topmost_ = on;
    SetTopmostFlag(on);
    QAction* button = actions_.toolbar.at(kTopmost);
    button->setIcon(QIcon(on ? ":/icons/topmost-on.svg" : ":/icons/topmost-off.svg"));
    button->setToolTip(desktop::FromSjis(on ? kTopmostOnTip : kTopmostOffTip));
}

void MainWindow::RestorePlacement() {
    settings::WindowPlacement placement;
    int topmost = 0;
    settings::LoadWindowPlacement(settings_path(), placement, topmost);
    QRect area = QGuiApplication::primaryScreen() != nullptr
                     ? QGuiApplication::primaryScreen()->availableGeometry()
                     : QRect(0, 0, 1024, 768);
    placement =
        settings::ClampPlacement(placement, {area.x(), area.y(), area.width(), area.height()});
    setGeometry(placement.left, placement.top, placement.cx, placement.cy);
    int tree_width = placement.tree_width;
    if (tree_width < 10 || tree_width > placement.cx - 10) {
        tree_width = 150;
    }
    splitter_->setSizes({tree_width, std::max(10, placement.cx - tree_width - 4)});
    maximized_at_start_ = placement.maximized != 0;
    topmost_ = topmost != 0;
    settings_.topmost = topmost;
}

void MainWindow::SavePlacement() {
    QRect normal = normalGeometry();
    settings::WindowPlacement placement;
    placement.left = normal.x();
    placement.top = normal.y();
    placement.cx = normal.width();
    placement.cy = normal.height();
    placement.tree_width = tree_view_->width();
    placement.maximized = isMaximized() ? 1 : 0;
    settings::SaveWindowPlacement(settings_path(), placement, topmost_ ? 1 : 0);
}

void MainWindow::ShowAsStored() {
    if (maximized_at_start_) {
        showMaximized();
    } else {
        show();
    }
    if (settings_.startup_check != 0) {
        QTimer::singleShot(0, this, [this] { StartCheckWhenFree(tree_.root()); });
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolbar_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            tree_view_->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (key->key() == Qt::Key_Backtab ||
            (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ShiftModifier)) {
            pane_->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (skip_saving_ || saved_for_closing_) {
        event->accept();
        return;
    }
    // A past-log search stops and its dialog closes; the check decides whether to wait.
    search_->Shutdown();
    bool may_close =
        check_->RequestClose([this] { QTimer::singleShot(0, this, [this] { close(); }); });
    if (!may_close) {
        event->ignore();
        return;
    }
    if (closing_waits_) {
        // Asked again while waiting for the home's write lock: the window goes without saving.
        event->accept();
        return;
    }
    HomeWrites::Outcome outcome = writes_->Run([this] {
        SavePlacement();
        stats_.SaveStatistics(settings_path());
        saved_for_closing_ = true;
        if (closing_waits_) {
            QTimer::singleShot(0, this, [this] { close(); });
        }
    });
    if (outcome == HomeWrites::Outcome::kWaiting) {
        closing_waits_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::BeginHomeWrite() {
    return writes_->Hold();
}

void MainWindow::EndHomeWrite() {
    writes_->Drop();
}

void MainWindow::StartCheckWhenFree(store::ItemId item) {
    writes_->Run([this, item, settings = CheckSettingsNow()] {
        check_->StartCheck(item, settings);
        if (check_->running() && !check_holds_lock_) {
            check_holds_lock_ = true;
            writes_->Retain();
        }
    });
}

fetch::CheckSettings MainWindow::CheckSettingsNow() const {
    return settings::CheckSettingsFrom(settings_);
}

}  // namespace velnora::window
