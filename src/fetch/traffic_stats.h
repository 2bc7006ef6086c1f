#pragma once

// Traffic statistics: bytes received, pages received completely and time spent in checks, for
// the current day and for the current run of the program. The day's counters survive a restart
// on the same day through section [STATISTICS] of velnora.ini.
//
// Several programs may count at once (the window and a command-line check): saving adds what
// this program counted since it last loaded or saved to what the file holds for the day, so
// that no program's counts overwrite another's. The caller holds the home's write lock.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace velnora::fetch {

class TrafficStats {
  public:
    using Clock = std::function<std::time_t()>;

    // The clock gives seconds since 1970; dates are compared in local time.
    explicit TrafficStats(Clock clock = [] { return std::time(nullptr); });

    // At start-up: the day counters continue when LAST_TIME is today, else start from 0.
    void LoadStatistics(std::string_view settings_path);
    // When the main window closes and after a command-line check. A day that has ended since
    // the counters were last known to be today's is rolled over first. False, with the reason,
    // when the file could not be read or written (the counters are then kept to be saved later).
    [[nodiscard]] bool SaveStatistics(std::string_view settings_path, std::string* error = nullptr);

    void BeginCheckStatistics();
    void EndCheckStatistics();
    void CountReceivedBytes(std::uint32_t n);
    void CountReceivedPage();

    std::uint32_t day_bytes() const { return day_bytes_; }
    int day_pages() const { return day_pages_; }
    int day_seconds() const { return day_seconds_; }
    std::uint32_t run_bytes() const { return run_bytes_; }
    int run_pages() const { return run_pages_; }
    int run_seconds() const { return run_seconds_; }

  private:
    static bool SameLocalDate(std::time_t a, std::time_t b);
    void StartNewDay();

    Clock clock_;
    std::uint32_t day_bytes_ = 0;
    int day_pages_ = 0;
    int day_seconds_ = 0;
    std::uint32_t run_bytes_ = 0;
    int run_pages_ = 0;
    int run_seconds_ = 0;
    std::time_t last_time_ = 0;
    std::time_t check_start_ = 0;
    // The part of the day counters that the file held when this program last loaded or saved
    // them; the rest is this program's own since then.
    std::uint32_t filed_bytes_ = 0;
    int filed_pages_ = 0;
    int filed_seconds_ = 0;
};

}  // namespace velnora::fetch
