// The window between checks, with checks on a schedule: a home of 5,000 pages in 50 folders with
// mixed intervals, every page checked a moment ago, AUTO_CHECK on. The window runs idle for a
// while; what it costs is measured: the process's CPU time, the timer events delivered (to see
// that nothing polls faster than once a second), and how often the schedule's timer woke.
//
//   window_idle_bench [SECONDS]     (default 60; QT_QPA_PLATFORM=offscreen unless set)
//
// The same run with AUTO_CHECK off gives the baseline.

#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>

#include "fetch/traffic_stats.h"
#include "files/file_system.h"
#include "files/program_home.h"
#include "settings/app_settings.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "window/main_window.h"

// The window's icons are compiled into its library.
static void RegisterResources() {
    Q_INIT_RESOURCE(velnora);
}

namespace {

using namespace velnora;

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void MakeHome(const std::string& home) {
    std::time_t now = std::time(nullptr);
    for (int f = 0; f < 50; ++f) {
        std::string folder = home + "/data/f" + std::to_string(f) + ".grp";
        (void)files::MakeDirectories(folder);
        int interval = f % 3 == 0 ? 15 : (f % 3 == 1 ? 60 : 360);
        (void)store::WriteFolderSettings(folder, store::FolderSettings{f % 10 == 9, interval});
        for (int p = 0; p < 100; ++p) {
            std::string page = folder + "/p" + std::to_string(p) + ".dat";
            (void)files::MakeDirectories(page);
            store::PageSettings settings;
            settings.url = "http://127.0.0.1:9/" + std::to_string(f) + "/" + std::to_string(p);
            settings.check_interval =
                p % 10 == 0 ? 30 : (p % 10 == 1 ? 0 : store::keys::kFollowFolder);
            (void)store::WritePageSettings(page, settings);
            (void)store::WriteLastCheck(page, now);
        }
    }
}

// Counts the timer events the application delivers, by receiver.
class TimerCount : public QObject {
  public:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            ++total;
            ++by_receiver[receiver->metaObject()->className()];
        }
        return false;
    }
    int total = 0;
    std::map<std::string, int> by_receiver;
};

void Run(int seconds, bool auto_check, int argc, char** argv) {
    char pattern[] = "/tmp/velnora-idle-XXXXXX";
    std::string home = ::mkdtemp(pattern);
    MakeHome(home);
    std::string ini = home + "/velnora.ini";
    FILE* file = std::fopen(ini.c_str(), "wb");
    std::fprintf(file, "[CONFIG]\r\nAUTO_CHECK=%d\r\nCHECK_INTERVAL=120\r\n", auto_check ? 1 : 0);
    std::fclose(file);
    ::setenv("VELNORA_HOME", home.c_str(), 1);
    {
        QApplication application(argc, argv);
        RegisterResources();
        auto found = files::FindProgramHome();
        settings::AppSettings settings;
        settings::LoadAppSettings(ini, settings);
        fetch::TrafficStats stats;
        window::MainWindow window(*found, settings, stats);
        window.ShowAsStored();
        // Settle: the start-up's own work is not idle time.
        QTimer::singleShot(3000, &application, &QCoreApplication::quit);
        application.exec();

        TimerCount timers;
        application.installEventFilter(&timers);
        int wakeups = window.auto_checks().wakeups();
        double cpu = CpuSeconds();
        QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
        application.exec();
        double used = CpuSeconds() - cpu;
        application.removeEventFilter(&timers);
        std::printf(
            "AUTO_CHECK=%d, idle %d s: CPU %.1f ms (%.4f %%), timer events %d "
            "(%.2f a second, the benchmark's own end included), schedule wakeups %d, "
            "next wake in %d s\n",
            auto_check ? 1 : 0, seconds, used * 1000, used * 100 / seconds, timers.total,
            static_cast<double>(timers.total) / seconds, window.auto_checks().wakeups() - wakeups,
            window.auto_checks().armed() ? window.auto_checks().remaining_ms() / 1000 : -1);
        for (const auto& [receiver, count] : timers.by_receiver) {
            std::printf("    %-24s %d\n", receiver.c_str(), count);
        }
    }
    std::filesystem::remove_all(home);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    Run(seconds, false, argc, argv);
    Run(seconds, true, argc, argv);
    return 0;
}
