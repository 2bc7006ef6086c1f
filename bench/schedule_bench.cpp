// Checks on a schedule over a home of 5,000 pages with mixed intervals (folders of 15, 60 and
// 360 minutes, pages of their own, pages only by hand and pages that are switched off):
//
//   BM_DuePages          which pages are due now, from the schedule in memory (goal: under
//                        10 ms); the window decides this at most once a second.
//   BM_NextDue           when the next page is due (the window's timer).
//   BM_ReadSchedule      the schedule read from the pages' files, as the window does at start,
//                        after each check and every quarter of an hour.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "fetch/schedule.h"
#include "files/file_system.h"
#include "store/page_tree.h"
#include "store/result_file.h"
#include "store/settings_files.h"

namespace {

using namespace velnora;

constexpr int kFolders = 50;
constexpr int kPagesPerFolder = 100;

// The home, made once: 50 folders of 100 pages. A third of the folders check every 15
// minutes, a third every hour, the rest every 6 hours; in each folder a tenth of the pages has
// an interval of its own, a tenth is only by hand, and one folder in ten is switched off. Every
// page was checked at some point in the last six hours.
class Home {
  public:
    Home() {
        char pattern[] = "/tmp/velnora-schedule-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        std::time_t now = std::time(nullptr);
        for (int f = 0; f < kFolders; ++f) {
            std::string folder = dir_ + "/data/f" + std::to_string(f) + ".grp";
            files::MakeDirectories(folder);
            int interval = f % 3 == 0 ? 15 : (f % 3 == 1 ? 60 : 360);
            (void)store::WriteFolderSettings(folder, store::FolderSettings{f % 10 == 9, interval});
            for (int p = 0; p < kPagesPerFolder; ++p) {
                std::string page = folder + "/p" + std::to_string(p) + ".dat";
                files::MakeDirectories(page);
                store::PageSettings settings;
                settings.url = "http://example.com/" + std::to_string(f) + "/" + std::to_string(p);
                settings.check_interval =
                    p % 10 == 0 ? 30 : (p % 10 == 1 ? 0 : store::keys::kFollowFolder);
                (void)store::WritePageSettings(page, settings);
                (void)store::WriteResultCode(page, store::RESULT_NO_CHANGE);
                (void)store::WriteLastCheck(page, now - (f * kPagesPerFolder + p) * 4);
            }
        }
        tree_.emplace(dir_ + "/");
        store::PopulateTree(*tree_);
    }
    ~Home() { std::filesystem::remove_all(dir_); }
    const store::PageTree& tree() const { return *tree_; }

  private:
    std::string dir_;
    std::optional<store::PageTree> tree_;
};

const Home& TheHome() {
    static Home home;
    return home;
}

void BM_DuePages(benchmark::State& state) {
    fetch::Schedule schedule;
    schedule.Build(TheHome().tree(), 120);
    std::size_t due = 0;
    for (auto _ : state) {
        due = schedule.DuePages(fetch::SystemClock(), {}).size();
        benchmark::DoNotOptimize(due);
    }
    state.counters["pages"] = static_cast<double>(schedule.pages().size());
    state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_DuePages)->Unit(benchmark::kMillisecond);

void BM_NextDue(benchmark::State& state) {
    fetch::Schedule schedule;
    schedule.Build(TheHome().tree(), 120);
    for (auto _ : state) {
        benchmark::DoNotOptimize(schedule.NextDue(fetch::SystemClock(), {22 * 60, 6 * 60}));
    }
}
BENCHMARK(BM_NextDue)->Unit(benchmark::kMillisecond);

void BM_ReadSchedule(benchmark::State& state) {
    const store::PageTree& tree = TheHome().tree();
    for (auto _ : state) {
        fetch::Schedule schedule;
        schedule.Build(tree, 120);
        benchmark::DoNotOptimize(schedule.pages().size());
    }
}
BENCHMARK(BM_ReadSchedule)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
