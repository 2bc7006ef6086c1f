#pragma once

// The main window: the toolbar, the page tree on the left and the result pane on the right, the
// status bar with its single text, the menus, and the commands that drive everything else.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <memory>

#include "desktop/notifications.h"
#include "fetch/check_run.h"
#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "net/qt_event_loop.h"
#include "net/socket_transport.h"
#include "results/display.h"
#include "results/document.h"
#include "results/status_sink.h"
#include "settings/app_settings.h"
#include "settings/window_placement.h"
#include "store/page_tree.h"
#include "window/auto_checks.h"
#include "window/home_writes.h"
#include "window/menus.h"
#include "window/tray.h"
#include "window/window_check_observer.h"
#include "window/window_services.h"

namespace velnora::pane {
class ResultPane;
}
namespace velnora::sheets {
class DialogSheetLauncher;
}

namespace velnora::window {

class ExportCommands;
class ImportCommands;
class LinkDrops;
class PageTreeView;
class DataWatcher;
class StoredResultsRun;
class ToolbarKeys;
class SearchCommands;
class TreeOperations;

class MainWindow : public QMainWindow, public WindowServices, public results::StatusSink {
    Q_OBJECT

  public:
    MainWindow(const files::ProgramHome& home, settings::AppSettings& settings,
               fetch::TrafficStats& stats);
    ~MainWindow() override;

    // Shows the window as the stored placement says (maximised or not) and, when the settings
    // ask for it, starts a check of every page once the event loop runs.
    void ShowAsStored();
    // Tells the user that velnora.ini could not be read (why: the reason): the window works with
    // the default settings and leaves the file as it is. Closing then saves nothing without a
    // word, as the user has been told.
    void ReportSettingsUnreadable(std::string_view why);

    // WindowServices (SetStatusText is also the result display's StatusSink)
    QWidget* window() override { return this; }
    const settings::AppSettings& settings() const override { return settings_; }
    void SetStatusText(std::string_view text) override;
    void LockCommands(bool enable) override;
    bool CheckRunning() const override;
    void ShowProgress(int done, int total) override;
    void ClearPane() override;
    results::ResultDisplay& display() override { return display_; }
    void OpenAddress(std::string_view address) override;
    bool BeginHomeWrite() override;
    void EndHomeWrite() override;
    void StoreRootInterval(int minutes) override;

    // A background check of the pages the filter lets through, when no check runs and the
    // home's write lock is free; false when it did not start.
    bool StartBackgroundCheck(std::function<bool(store::ItemId)> due);
    // Shows the window (from the tray, or hidden) in front.
    void ShowFromTray();
    // Brings the window to the front with the newest results of the pages shown, which are
    // then read.
    void ShowUpdatedResults(const std::vector<store::ItemId>& pages);
    // Desktop notifications go over this bus from now on (tests use a private one).
    void SetNotificationBus(const QDBusConnection& bus);

    // Runs a command as its menu item, toolbar button or accelerator does.
    void RunCommand(int command);
    // True when the command's toolbar button is enabled (and so the command may run).
    bool CommandEnabled(int command) const;
    // The status bar's text, as shown.
    QString StatusText() const;
    bool topmost() const { return topmost_; }

    store::PageTree& tree() { return tree_; }
    PageTreeView& tree_view() { return *tree_view_; }
    pane::ResultPane& result_pane() { return *pane_; }
    results::ResultDocument& document() { return document_; }
    TreeOperations& operations() { return *operations_; }
    fetch::CheckRun& check() { return *check_; }
    StoredResultsRun& reload() { return *reload_; }
    QProgressBar& progress_bar() { return *progress_; }

    AutoChecks& auto_checks() { return *auto_checks_; }
    Tray& tray() { return *tray_; }

    SearchCommands& search() { return *search_; }

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateChildren();
    void ConnectCommands();
    void ConnectTree();
    void ConnectPane();
    void ApplyDisplaySettings();
    void SetTopmost(bool on);
    // The window manager's keep-above flag alone, without changing the TOPMOST setting.
    void SetTopmostFlag(bool on);
    void RestorePlacement();
    // False, with the reason, when velnora.ini could not be written.
    bool SavePlacement(std::string* error);
    // Writes the settings to velnora.ini with the home's write lock held; a failure is shown.
    void SaveSettingsFile(const settings::AppSettings& settings);
    void ReportSettingsNotSaved(std::string_view why);
    // Sizes the inner area so that the window's frame (title bar and borders included) is the
    // stored normal rectangle, once the window manager has told the frame's size.
    void FitFrame();
    // FitFrame once the window is framed, looked for at most `tries` times.
    void FitFrameWhenFramed(int tries);
    static constexpr int kFrameWaitTries = 40;
    static constexpr int kFrameWaitInterval = 50;  // milliseconds
    // Paints a widget of the status bar now, or soon when it was painted a moment ago.
    void PaintSoon(QWidget* widget);
    // Follows the frame's rectangle while the window is neither maximised nor minimised.
    void TrackNormalFrame();
    void UpdateEditMenu();
    void OnLinkHovered(int link);
    void OnLinkActivated(int link);
    void ShowOptions();
    void ShowAbout();
    void PrintPane();
    std::string settings_path() const;
    // A check (also one in the background) or a reload walks the tree.
    bool TreeWalked() const;
    // The tree must not change under the user: it is walked, a label is edited or a dialog is
    // open.
    bool TreeBusy() const;
    fetch::CheckSettings CheckSettingsNow() const;
    // A check of the item, with the progress bar counting its pages.
    void StartCheck(store::ItemId item);
    // Starts a check of the item once the home's write lock is had; the check holds the lock
    // until it ends.
    void StartCheckWhenFree(store::ItemId item);
    store::ItemId SelectedItem() const;
    bool SelectedIsPage() const;
    // A check has ended: the tray's count, and a notification naming the pages it updated.
    void OnCheckEnded(const std::vector<store::ItemId>& updated);
    void RefreshUnreadCount();
    void ConnectNotifier();
    void ConnectTray();

    files::ProgramHome home_;
    settings::AppSettings& settings_;
    fetch::TrafficStats& stats_;
    store::PageTree tree_;
    results::ResultDocument document_;
    results::ResultDisplay display_;

    QToolBar* toolbar_ = nullptr;
    ToolbarKeys* toolbar_keys_ = nullptr;
    QSplitter* splitter_ = nullptr;
    PageTreeView* tree_view_ = nullptr;
    pane::ResultPane* pane_ = nullptr;
    QProgressBar* progress_ = nullptr;
    int progress_done_ = 0;  // pages of the running check that are done
    QElapsedTimer last_status_paint_;
    QElapsedTimer last_progress_paint_;
    CommandActions actions_;

    std::unique_ptr<HomeWrites> writes_;
    bool check_holds_lock_ = false;
    net::QtEventLoop loop_;
    net::SocketTransport transport_;
    std::unique_ptr<WindowCheckObserver> check_observer_;
    std::unique_ptr<fetch::CheckRun> check_;
    std::unique_ptr<StoredResultsRun> reload_;
    std::unique_ptr<sheets::DialogSheetLauncher> sheets_;
    std::unique_ptr<TreeOperations> operations_;
    DataWatcher* data_watcher_ = nullptr;
    std::unique_ptr<SearchCommands> search_;
    std::unique_ptr<ExportCommands> export_;
    std::unique_ptr<AutoChecks> auto_checks_;
    Tray* tray_ = nullptr;
    desktop::DesktopNotifier* notifier_ = nullptr;
    std::vector<store::ItemId> notified_pages_;
    bool quitting_ = false;  // the tray's exit: the program ends, not only the window
    std::unique_ptr<ImportCommands> imports_;
    LinkDrops* link_drops_ = nullptr;

    bool topmost_ = false;
    bool maximized_at_start_ = false;
    // The frame's rectangle in the normal (not maximised) state: stored and restored.
    QRect normal_frame_;
    bool frame_fitted_ = false;
    bool skip_saving_ = false;  // the exit command leaves without saving placement and statistics
    bool saved_for_closing_ = false;    // placement and statistics are saved: the window may go
    bool closing_waits_ = false;        // closing waits for the home's write lock
    bool settings_unreadable_ = false;  // velnora.ini could not be read: nothing is written to it
    int hovered_link_ = -1;
};

}  // namespace velnora::window
