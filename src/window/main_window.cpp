#include "window/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "desktop/desktop.h"
#include "desktop/qt_text.h"
#include "files/file_system.h"
#include "pane/result_pane.h"
#include "results/link_targets.h"
#include "settings/settings_views.h"
#include "sheets/dialog_sheet_launcher.h"
#include "store/unread_marks.h"
#include "text/bounded_string.h"
#include "window/clear_past_logs.h"
#include "window/commands.h"
#include "window/data_watcher.h"
#include "window/export_commands.h"
#include "window/import_commands.h"
#include "window/item_moves.h"
#include "window/link_drops.h"
#include "window/message_box.h"
#include "window/page_tree_model.h"
#include "window/page_tree_view.h"
#include "window/search_commands.h"
#include "window/settings_file_texts.h"
#include "window/stored_results_run.h"
#include "window/toolbar_keys.h"
#include "window/tree_operations.h"
#include "window/tree_texts.h"
#include "window/update_notice.h"

namespace velnora::window {

namespace {

// "ページの設定を変更します"
constexpr std::string_view kSettingsLinkStatus =
    "\x83\x79\x81\x5b\x83\x57\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x95\xcf\x8d\x58\x82\xb5\x82\xdc"
    "\x82\xb7";

// The characters a check shows as its pages come; what follows is shown at its end.
constexpr std::size_t kLiveCharacters = 20000;

// The status bar is painted at once at most this often (milliseconds).
constexpr qint64 kStatusPaintInterval = 40;

// The progress bar's width in the status bar.
constexpr int kProgressWidth = 220;

// The smallest window: at most this wide (the toolbar's full width decides below it), this
// high.
constexpr int kMinimumWidthLimit = 640;
constexpr int kMinimumHeight = 320;

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
    // The tree is filled once its selection is followed, so that the root selected at start-up
    // becomes the current item as any later selection does.
    operations_->PopulateTree();
    // Pages and folders that another program adds or removes appear in the tree; the tree waits
    // while a check, a label edit or a dialog is under way.
    data_watcher_ = new DataWatcher(
        tree_, [this] { return TreeBusy(); }, this);
    data_watcher_->WatchAll();
    RestorePlacement();
    SetTopmost(topmost_);

    tray_ = new Tray(this);
    ConnectTray();
    notifier_ = new desktop::DesktopNotifier(this);
    ConnectNotifier();
    auto_checks_ =
        std::make_unique<AutoChecks>(tree_, settings_,
                                     AutoChecks::Hooks{
                                         [this] { return !TreeBusy() && !writes_->waiting(); },
                                         [this](std::function<bool(store::ItemId)> due) {
                                             return StartBackgroundCheck(std::move(due));
                                         },
                                     });
    RefreshUnreadCount();
    auto_checks_->Reconsider();
}

MainWindow::~MainWindow() {
    // The reload, the search and the check go first: their workers and posted tasks refer to
    // the tree and the pane.
    auto_checks_.reset();
    reload_.reset();
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

    // The status bar's single text is its message, which it draws itself: a check changes it
    // for every page, and a label would have the status bar laid out anew each time.
    progress_ = new QProgressBar(this);
    progress_->setObjectName("Progress");
    progress_->setMaximumWidth(kProgressWidth);
    progress_->setFormat(QStringLiteral("%v / %m"));
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
    statusBar()->setSizeGripEnabled(true);

    // Small enough for a 1024x600 screen, large enough that every toolbar button and both panes
    // stay usable.
    setMinimumSize(std::min(kMinimumWidthLimit, toolbar_->sizeHint().width() + 8), kMinimumHeight);

    check_observer_ = std::make_unique<WindowCheckObserver>(
        *this, tree_, [this]() -> store::ItemRecord& { return operations_->working_copy(); });
    check_observer_->caret_to_start = [this] { pane_->MoveCaretToStart(); };
    check_observer_->page_error = [this](store::ItemId page, std::optional<std::string> error) {
        tree_view_->tree_model().SetPageError(page, std::move(error));
    };
    check_observer_->page_counted = [this] {
        if (progress_->isVisible()) {
            ShowProgress(++progress_done_, progress_->maximum());
        }
        // Once the pane holds more than a few screens, the rest of a check's results gather out
        // of sight and come in at its end: laying out every page as it comes costs a check of
        // a thousand pages about a third of its time.
        if (check_->running() && !check_->background() && !pane_->IsFillingDetached() &&
            pane_->ShownCharacters() > kLiveCharacters) {
            pane_->BeginDetachedFill();
        }
    };
    check_observer_->check_finished = [this] { pane_->EndDetachedFill(); };
    check_observer_->check_ended = [this](const fetch::CheckSummary&,
                                          const std::vector<store::ItemId>& updated) {
        OnCheckEnded(updated);
    };
    check_observer_->marks_changed = [this] { RefreshUnreadCount(); };
    check_ = std::make_unique<fetch::CheckRun>(tree_, transport_, loop_, *check_observer_, stats_);
    reload_ = std::make_unique<StoredResultsRun>(
        tree_, *check_observer_, [this](int done, int total) { ShowProgress(done, total); },
        [this](bool filling) {
            if (filling) {
                pane_->BeginDetachedFill();
            } else {
                pane_->EndDetachedFill();
            }
        });
    check_->OnStopped([this] {
        if (std::exchange(check_holds_lock_, false)) {
            writes_->Release();
        }
        // The pages' last checks changed: the schedule is read again.
        if (auto_checks_) {
            auto_checks_->CheckEnded();
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
    // The toolbar's buttons take part in the window's Tab order: Tab goes on to the tree,
    // Shift+Tab back to the pane.
    toolbar_keys_ = new ToolbarKeys(
        toolbar_, [this] { tree_view_->setFocus(Qt::TabFocusReason); },
        [this] { pane_->setFocus(Qt::BacktabFocusReason); });
    search_ =
        std::make_unique<SearchCommands>(*this, *pane_, tree_, [this] { return SelectedItem(); });
    export_ = std::make_unique<ExportCommands>(*this, *this, document_, tree_, home_.directory,
                                               [this] { return SelectedItem(); });
    imports_ = std::make_unique<ImportCommands>(tree_, *this, [this] {
        operations_->PopulateTree();
        // The new folders are followed too.
        data_watcher_->WatchAll();
    });
    link_drops_ = new LinkDrops(
        this, *this,
        [this](std::optional<std::string> name, std::string url) {
            operations_->NewPage(name, url);
        },
        [this] { return operations_->NewItemDirectory(); });
    ApplyDisplaySettings();
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
    connect(tree_view_, &PageTreeView::SelectionChanged, this, [this](store::ItemId item) {
        operations_->OnItemSelected(item);
        RefreshUnreadCount();  // a page's results shown are read
    });
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
    connect(tree_view_, &PageTreeView::ItemDropped, this,
            [this](store::ItemId item, store::ItemId target) {
                // The move runs once the drag has ended.
                QTimer::singleShot(0, this, [this, item, target] {
                    writes_->Run([this, item, target] {
                        MoveDroppedItem(tree_, *tree_view_, *this, item, target);
                        // A moved folder's directories are followed where they are now.
                        data_watcher_->WatchAll();
                    });
                });
            });
    connect(tree_view_, &PageTreeView::FocusPaneRequested, this,
            [this] { pane_->setFocus(Qt::TabFocusReason); });
    connect(tree_view_, &PageTreeView::DeleteRequested, this, [this] { RunCommand(kMenuDelete); });
    connect(tree_view_, &PageTreeView::FocusToolbarRequested, this,
            [this] { toolbar_keys_->Enter(Qt::BacktabFocusReason); });
}

void MainWindow::ConnectPane() {
    connect(pane_, &pane::ResultPane::linkHovered, this, &MainWindow::OnLinkHovered);
    connect(pane_, &pane::ResultPane::linkActivated, this, &MainWindow::OnLinkActivated);
    connect(pane_, &pane::ResultPane::tabPressed, this,
            [this] { toolbar_keys_->Enter(Qt::TabFocusReason); });
    connect(pane_, &pane::ResultPane::backtabPressed, this,
            [this] { tree_view_->setFocus(Qt::BacktabFocusReason); });
    connect(pane_, &pane::ResultPane::contextMenuWanted, this, [this](const QPoint& global) {
        UpdateEditMenu();
        actions_.edit_menu->exec(global);
    });
}

bool MainWindow::CheckRunning() const {
    // A background check locks no command.
    return (check_->running() && !check_->background()) || reload_->running();
}

bool MainWindow::TreeWalked() const {
    // A background check walks the tree as well.
    return check_->running() || reload_->running();
}

bool MainWindow::TreeBusy() const {
    return TreeWalked() || tree_view_->IsEditingLabel() ||
           QApplication::activeModalWidget() != nullptr;
}

void MainWindow::ShowProgress(int done, int total) {
    if (total <= 0) {
        progress_->hide();
        return;
    }
    // The bar is drawn afresh at most every few milliseconds (and at its ends): drawing it for
    // each of a thousand pages costs a check a noticeable share of its time.
    bool fresh = !progress_->isVisible() || progress_->maximum() != total;
    if (!fresh && done != total && done != 0 && last_progress_paint_.isValid() &&
        last_progress_paint_.elapsed() < kStatusPaintInterval) {
        return;
    }
    last_progress_paint_.start();
    progress_->setRange(0, total);
    progress_->setValue(std::min(done, total));
    progress_->show();
    PaintSoon(progress_);
}

void MainWindow::StartCheck(store::ItemId item) {
    progress_done_ = 0;
    check_observer_->ResetCount();
    ShowProgress(0, CountWalkedPages(tree_, item));
    check_->StartCheck(item, CheckSettingsNow());
    if (!check_->running()) {
        ShowProgress(0, 0);
    }
}

void MainWindow::SetStatusText(std::string_view text) {
    statusBar()->showMessage(desktop::FromSjis(text));
    PaintSoon(statusBar());
}

void MainWindow::PaintSoon(QWidget* widget) {
    // Shown at once even inside a long loop that keeps the event loop waiting, but painted at
    // most every few milliseconds: a check changes the status bar for every page.
    if (!last_status_paint_.isValid() || last_status_paint_.elapsed() >= kStatusPaintInterval) {
        widget->repaint();
        last_status_paint_.start();
    } else {
        widget->update();
    }
}

QString MainWindow::StatusText() const {
    return statusBar()->currentMessage();
}

void MainWindow::ClearPane() {
    document_.Clear();
    hovered_link_ = -1;
}

void MainWindow::OpenAddress(std::string_view address) {
    // "ブラウザを起動できません", "エラー"
    auto cannot_start = [this] {
        ShowMessage(this, tree_texts::kCannotStartBrowser, tree_texts::kErrorCaption,
                    MessageButtons::kOk, MessageIcon::kError);
    };
    if (settings_.use_browser == 0) {
        // The desktop's handler: refused at once, or failing once it has looked for an
        // application.
        if (!desktop::OpenWithSystem(address, this, cannot_start)) {
            cannot_start();
        }
        return;
    }
    switch (desktop::LaunchBrowser(settings_.browser, address)) {
        case desktop::LaunchResult::kNoBrowser:
            ShowMessage(this, tree_texts::kNoBrowser, tree_texts::kErrorCaption,
                        MessageButtons::kOk, MessageIcon::kError);
            break;
        case desktop::LaunchResult::kCannotStart:
            cannot_start();
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
            auto_checks_->Reconsider();
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
    // The stored rectangle is the window's frame: held against the work area, it is wholly
    // on the screen, title bar included.
    placement =
        settings::ClampPlacement(placement, {area.x(), area.y(), area.width(), area.height()});
    placement.cx = std::max(placement.cx, minimumWidth());
    placement.cy = std::max(placement.cy, minimumHeight());
    placement.left =
        std::max(area.left(), std::min(placement.left, area.right() + 1 - placement.cx));
    placement.top = std::max(area.top(), std::min(placement.top, area.bottom() + 1 - placement.cy));
    normal_frame_ = QRect(placement.left, placement.top, placement.cx, placement.cy);
    // Until the frame's size is known the inner area takes the whole rectangle.
    move(normal_frame_.topLeft());
    resize(normal_frame_.size());
    int tree_width = placement.tree_width;
    if (tree_width < 10 || tree_width > placement.cx - 10) {
        tree_width = 150;
    }
    splitter_->setSizes({tree_width, std::max(10, placement.cx - tree_width - 4)});
    maximized_at_start_ = placement.maximized != 0;
    topmost_ = topmost != 0;
    settings_.topmost = topmost;
}

void MainWindow::FitFrame() {
    if (windowHandle() == nullptr ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) != 0) {
        return;
    }
    QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        return;  // not framed yet: the window manager's move will tell
    }
    QRect wanted = normal_frame_;
    frame_fitted_ = true;
    resize(std::max(minimumWidth(), wanted.width() - frame.left() - frame.right()),
           std::max(minimumHeight(), wanted.height() - frame.top() - frame.bottom()));
    move(wanted.topLeft());
    normal_frame_ = wanted;
}

void MainWindow::FitFrameWhenFramed(int tries) {
    // The frame's size is known once the window manager has framed the window. A window manager
    // that frames the window where it already stands moves nothing, so no move event tells
    // when: the frame is looked for a few times, then the moves and resizes take over.
    QTimer::singleShot(tries == kFrameWaitTries ? 0 : kFrameWaitInterval, this, [this, tries] {
        FitFrame();
        if (!frame_fitted_ && tries > 1) {
            FitFrameWhenFramed(tries - 1);
        }
    });
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A window shown maximised first learns its frame when it is restored.
    if (event->type() == QEvent::WindowStateChange && !frame_fitted_ && isVisible()) {
        QTimer::singleShot(0, this, [this] { FitFrame(); });
    }
}

void MainWindow::TrackNormalFrame() {
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) != 0 ||
        !isVisible()) {
        return;
    }
    if (frame_fitted_) {
        normal_frame_ = frameGeometry();
    } else if (windowHandle() != nullptr && !windowHandle()->frameMargins().isNull()) {
        // The window manager has framed the window: its frame takes the stored rectangle.
        QTimer::singleShot(0, this, [this] { FitFrame(); });
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    TrackNormalFrame();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    TrackNormalFrame();
}

bool MainWindow::SavePlacement(std::string* error) {
    settings::WindowPlacement placement;
    placement.left = normal_frame_.x();
    placement.top = normal_frame_.y();
    placement.cx = normal_frame_.width();
    placement.cy = normal_frame_.height();
    placement.tree_width = tree_view_->width();
    placement.maximized = isMaximized() ? 1 : 0;
    return settings::SaveWindowPlacement(settings_path(), placement, topmost_ ? 1 : 0, error);
}

void MainWindow::ReportSettingsUnreadable(std::string_view why) {
    settings_unreadable_ = true;
    std::string text(settings_file_texts::kUnreadable);
    text.append(settings_path()).append(": ").append(why);
    ShowMessage(this, text, "Velnora", MessageButtons::kOk, MessageIcon::kWarning);
}

void MainWindow::SaveSettingsFile(const settings::AppSettings& settings) {
    HomeWriteScope writing(*this);
    std::string error;
    if (writing && !settings::SaveAppSettings(settings_path(), settings, &error)) {
        ReportSettingsNotSaved(error);
    }
}

void MainWindow::ReportSettingsNotSaved(std::string_view why) {
    std::string text(settings_file_texts::kNotSaved);
    text.append(why);
    ShowMessage(this, text, tree_texts::kErrorCaption, MessageButtons::kOk, MessageIcon::kError);
}

void MainWindow::ShowAsStored() {
    if (maximized_at_start_) {
        showMaximized();
    } else {
        show();
        FitFrameWhenFramed(kFrameWaitTries);
    }
    // The arrow keys work in the tree at once.
    tree_view_->setFocus(Qt::OtherFocusReason);
    if (settings_.startup_check != 0) {
        QTimer::singleShot(0, this, [this] { StartCheckWhenFree(tree_.root()); });
    }
}

bool MainWindow::event(QEvent* event) {
    // Menus and buttons have no status tips; hovering them must not clear the status text.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!skip_saving_ && !quitting_ && settings_.keep_in_tray != 0 && Tray::Available() &&
        tray_->icon().isVisible()) {
        // The program keeps running in the tray; its menu brings the window back or ends it.
        QApplication::setQuitOnLastWindowClosed(false);
        hide();
        event->ignore();
        return;
    }
    reload_->Stop();
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
        std::string error;
        bool placed = SavePlacement(&error);
        std::string counters_error;
        bool counted = stats_.SaveStatistics(settings_path(), &counters_error);
        if ((!placed || !counted) && !settings_unreadable_) {
            ReportSettingsNotSaved(placed ? counters_error : error);
        }
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
    if (quitting_ && !isVisible()) {
        // A window hidden in the tray is no last window whose closing ends the program.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
}

bool MainWindow::BeginHomeWrite() {
    return writes_->Hold();
}

void MainWindow::EndHomeWrite() {
    writes_->Drop();
}

void MainWindow::StartCheckWhenFree(store::ItemId item) {
    writes_->Run([this, item] {
        StartCheck(item);
        if (check_->running() && !check_holds_lock_) {
            check_holds_lock_ = true;
            writes_->Retain();
        }
    });
}

bool MainWindow::StartBackgroundCheck(std::function<bool(store::ItemId)> due) {
    if (TreeWalked() || !writes_->TakeIfFree()) {
        return false;
    }
    check_observer_->ResetCount();
    check_->StartBackgroundCheck(tree_.root(), CheckSettingsNow(), std::move(due));
    if (!check_->running()) {
        writes_->Release();
        return false;
    }
    // The check holds the lock until it ends, as a check the user starts does.
    check_holds_lock_ = true;
    return true;
}

void MainWindow::StoreRootInterval(int minutes) {
    settings_.check_interval = minutes;
    SaveSettingsFile(settings_);
    auto_checks_->Reconsider();
}

void MainWindow::RefreshUnreadCount() {
    if (tray_ != nullptr) {
        tray_->SetUnreadPages(store::CountUnreadPages(tree_));
    }
}

void MainWindow::OnCheckEnded(const std::vector<store::ItemId>& updated) {
    RefreshUnreadCount();
    if (updated.empty() || settings_.desktop_notify == 0) {
        return;
    }
    notified_pages_ = updated;
    std::vector<std::string> names;
    for (store::ItemId page : updated) {
        if (const store::PageTree::Node* node = tree_.Find(page)) {
            names.push_back(node->name);
        }
    }
    UpdateNotice notice = ComposeUpdateNotice(names);
    notifier_->Notify(desktop::FromSjis(notice.summary), desktop::FromSjis(notice.body));
}

void MainWindow::SetNotificationBus(const QDBusConnection& bus) {
    delete notifier_;
    notifier_ = new desktop::DesktopNotifier(bus, this);
    ConnectNotifier();
}

void MainWindow::ConnectNotifier() {
    connect(notifier_, &desktop::DesktopNotifier::Activated, this,
            [this] { ShowUpdatedResults(notified_pages_); });
    // Where no notification service answers, the tray says it.
    connect(
        notifier_, &desktop::DesktopNotifier::Undelivered, this,
        [this](const QString& summary, const QString& body) { tray_->ShowMessage(summary, body); });
}

void MainWindow::ConnectTray() {
    connect(tray_, &Tray::OpenRequested, this, &MainWindow::ShowFromTray);
    connect(tray_, &Tray::CheckRequested, this, [this] { StartCheckWhenFree(tree_.root()); });
    connect(tray_, &Tray::PauseToggled, this, [this](bool paused) {
        if (paused) {
            check_->StopBackgroundCheck();
        }
        auto_checks_->SetPaused(paused);
    });
    connect(tray_, &Tray::ExitRequested, this, [this] {
        quitting_ = true;
        close();
    });
    connect(tray_, &Tray::MessageClicked, this, [this] { ShowUpdatedResults(notified_pages_); });
}

void MainWindow::ShowFromTray() {
    QApplication::setQuitOnLastWindowClosed(true);
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::ShowUpdatedResults(const std::vector<store::ItemId>& pages) {
    ShowFromTray();
    if (CheckRunning()) {
        return;  // the user's check owns the pane
    }
    LockCommands(false);
    ClearPane();
    for (store::ItemId page : pages) {
        store::ItemRecord record;
        if (tree_.Find(page) == nullptr || tree_.BuildTreeNode(page, record.node) != 0 ||
            record.node.kind != store::KIND_PAGE) {
            continue;
        }
        display_.ShowResultsAfterCheck(record, 1);
        operations_->working_copy() = record;
        store::ClearUnread(tree_, page);
    }
    LockCommands(true);
    pane_->MoveCaretToStart();
    RefreshUnreadCount();
}

fetch::CheckSettings MainWindow::CheckSettingsNow() const {
    return settings::CheckSettingsFrom(settings_);
}

}  // namespace velnora::window
