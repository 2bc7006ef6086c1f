// The window's speed: start-up to a shown window with a tree of 10,000 pages. Runs on the platform
// QT_QPA_PLATFORM names (offscreen by default). The program home is made below $TMPDIR (use a
// RAM-backed one for steady figures).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "settings/app_settings.h"
#include "window/main_window.h"

namespace {

namespace fs = std::filesystem;
using namespace velnora;

// A home with 10,000 pages in 100 folders, each with its site.ini.
fs::path MakeHome(int pages) {
    fs::path home = fs::temp_directory_path() / "velnora-bench-window";
    if (fs::exists(home / "data" / ("f" + std::to_string(pages / 100 - 1) + ".grp"))) {
        return home;
    }
    fs::remove_all(home);
    for (int i = 0; i < pages; ++i) {
        fs::path page = home / "data" / ("f" + std::to_string(i / 100) + ".grp") /
                        ("page " + std::to_string(i) + ".dat");
        fs::create_directories(page);
        std::ofstream(page / "site.ini", std::ios::binary)
            << "[CONFIG]\r\nURL=http://example.com/" << i << "\r\nUSE_OLD_LOG=1\r\n"
            << "DISABLE_AUTO_CHECK=" << (i % 50 == 0 ? 1 : 0) << "\r\n";
    }
    return home;
}

void BM_StartUpWithTenThousandPages(benchmark::State& state) {
    fs::path home = MakeHome(10000);
    ::setenv("VELNORA_HOME", home.c_str(), 1);
    for (auto _ : state) {
        auto found = files::FindProgramHome();
        fetch::TrafficStats stats;
        settings::AppSettings settings;
        std::string path = found->directory + "velnora.ini";
        stats.LoadStatistics(path);
        settings::LoadAppSettings(path, settings);
        window::MainWindow window(*found, settings, stats);
        window.ShowAsStored();
        if (!QTest::qWaitForWindowExposed(&window)) {
            state.SkipWithError("the window was not shown");
        }
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpWithTenThousandPages)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(velnora);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
