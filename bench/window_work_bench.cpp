// The window's long work, timed on the platform QT_QPA_PLATFORM names (offscreen by default):
//
//   window_work_bench reload HOME   "全てリロード" of the root: the longest time the event loop
//                                   waited for its turn (the window answers input no later),
//                                   and the time until the whole text is shown.
//   window_work_bench check HOME    start-up with a check of every page: the time from start-up
//                                   to the last result in the window.
//
// bench/window_figures.py makes the homes and runs both beside velnora-cli.

#include <stdio.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <string>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "pane/result_pane.h"
#include "settings/app_settings.h"
#include "window/commands.h"
#include "window/main_window.h"
#include "window/stored_results_run.h"

namespace {

using namespace velnora;

// The longest wait of a 5 ms timer while the work runs: how long input would wait at most.
class LoopWatch {
  public:
    LoopWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        timer_.start();
    }
    qint64 longest() const { return longest_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

int Reload(window::MainWindow& window) {
    LoopWatch watch;
    QElapsedTimer clock;
    watch.Start();
    clock.start();
    window.RunCommand(window::kReloadAll);
    while (window.reload().running()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    window.result_pane().viewport()->repaint();
    qint64 shown = clock.elapsed();
    // The text is laid out from the top as the view needs it, the rest after: the event loop is
    // watched until the scroll range has stopped growing.
    QScrollBar* scroll = window.result_pane().verticalScrollBar();
    int range = -1;
    qint64 laid_out = shown;
    for (qint64 still_since = clock.elapsed(); clock.elapsed() - still_since < 1000;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (scroll->maximum() != range) {
            range = scroll->maximum();
            laid_out = clock.elapsed();
            still_since = laid_out;
        }
    }
    printf(
        "reload-all: %zu bytes of text, whole text in the pane after %lld ms (laid out to its "
        "end after %lld ms), event loop waited at most %lld ms\n",
        window.document().Text().size(), static_cast<long long>(shown),
        static_cast<long long>(laid_out), static_cast<long long>(watch.longest()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: window_work_bench reload|check HOME\n");
        return 2;
    }
    std::string mode = argv[1];
    setenv("VELNORA_HOME", argv[2], 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QElapsedTimer since_start;
    since_start.start();
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(velnora);
    auto home = files::FindProgramHome();
    if (!home) {
        return 1;
    }
    std::string settings_path = home->directory + std::string(settings::kSettingsFileName);
    fetch::TrafficStats stats;
    settings::AppSettings settings;
    settings::LoadAppSettings(settings_path, settings);
    settings.startup_check = mode == "check" ? 1 : 0;
    settings.finish_message = 0;
    window::MainWindow window(*home, settings, stats);
    window.ShowAsStored();
    if (mode == "reload") {
        return Reload(window);
    }
    LoopWatch watch;
    watch.Start();
    // The check starts once the event loop runs, and ends when the last page is shown.
    QTimer::singleShot(0, [] {});
    while (!window.check().running()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    while (window.check().running()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    printf(
        "window check: last result after %lld ms from start-up (%s), event loop waited at "
        "most %lld ms\n",
        static_cast<long long>(since_start.elapsed()), window.StatusText().toUtf8().constData(),
        static_cast<long long>(watch.longest()));
    return 0;
}
