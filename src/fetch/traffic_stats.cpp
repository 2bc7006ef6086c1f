#include "fetch/traffic_stats.h"

#include <utility>

#include "ini/ini_file.h"

namespace velnora::fetch {

namespace {
constexpr std::string_view kStatistics = "STATISTICS";

// 32-bit counters wrap, as the stored format's do.
int WrappingAdd(int a, long long b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
}  // namespace

TrafficStats::TrafficStats(Clock clock) : clock_(std::move(clock)) {}

bool TrafficStats::SameLocalDate(std::time_t a, std::time_t b) {
    std::tm x{};
    std::tm y{};
    localtime_r(&a, &x);
    localtime_r(&b, &y);
    return x.tm_mday == y.tm_mday && x.tm_mon == y.tm_mon && x.tm_year == y.tm_year;
}

namespace {

struct DayCounters {
    std::uint32_t bytes = 0;
    int pages = 0;
    int seconds = 0;
};

// The day counters the file holds, when its LAST_TIME lies on the same local date as now.
DayCounters FiledToday(const ini::IniFile& ini, std::time_t now,
                       bool (*same_date)(std::time_t, std::time_t)) {
    auto stored = static_cast<std::time_t>(
        static_cast<std::uint32_t>(ini.GetInt(kStatistics, "LAST_TIME", 0)));
    DayCounters counters;
    if (same_date(stored, now)) {
        counters.seconds = ini.GetInt(kStatistics, "TRX_TIME", 0);
        counters.pages = ini.GetInt(kStatistics, "NUM_SITES", 0);
        counters.bytes = static_cast<std::uint32_t>(ini.GetInt(kStatistics, "RX_DATA_BYTES", 0));
    }
    return counters;
}

}  // namespace

void TrafficStats::StartNewDay() {
    day_bytes_ = filed_bytes_ = 0;
    day_pages_ = filed_pages_ = 0;
    day_seconds_ = filed_seconds_ = 0;
}

void TrafficStats::LoadStatistics(std::string_view settings_path) {
    StartNewDay();
    run_bytes_ = 0;
    run_pages_ = run_seconds_ = 0;
    last_time_ = check_start_ = 0;

    ini::IniFile ini;
    ini.Load(settings_path);
    std::time_t now = clock_();
    DayCounters filed = FiledToday(ini, now, &SameLocalDate);
    day_bytes_ = filed_bytes_ = filed.bytes;
    day_pages_ = filed_pages_ = filed.pages;
    day_seconds_ = filed_seconds_ = filed.seconds;
    last_time_ = now;
}

bool TrafficStats::SaveStatistics(std::string_view settings_path, std::string* error) {
    std::time_t now = clock_();
    if (!SameLocalDate(now, last_time_)) {
        // The counters belong to a day that has ended: they are not today's.
        StartNewDay();
        last_time_ = now;
    }
    ini::IniFile ini;
    if (!ini.Load(settings_path, error)) {
        return false;
    }
    // What the file holds for today (another program may have added to it since this one read
    // it), and on top of it what this program counted since.
    DayCounters filed = FiledToday(ini, now, &SameLocalDate);
    DayCounters total;
    total.bytes = filed.bytes + (day_bytes_ - filed_bytes_);
    total.pages = WrappingAdd(filed.pages, static_cast<long long>(day_pages_) - filed_pages_);
    total.seconds =
        WrappingAdd(filed.seconds, static_cast<long long>(day_seconds_) - filed_seconds_);
    ini.SetString(kStatistics, "LAST_TIME", std::to_string(static_cast<long long>(now)));
    ini.SetString(kStatistics, "TRX_TIME", std::to_string(total.seconds));
    ini.SetString(kStatistics, "NUM_SITES", std::to_string(total.pages));
    ini.SetString(kStatistics, "RX_DATA_BYTES", std::to_string(total.bytes));
    if (!ini.Save(settings_path, error)) {
        return false;
    }
    day_bytes_ = filed_bytes_ = total.bytes;
    day_pages_ = filed_pages_ = total.pages;
    day_seconds_ = filed_seconds_ = total.seconds;
    return true;
}

void TrafficStats::BeginCheckStatistics() {
    check_start_ = clock_();
    if (!SameLocalDate(check_start_, last_time_)) {
        StartNewDay();
    }
    last_time_ = check_start_;
}

void TrafficStats::EndCheckStatistics() {
    long long elapsed = static_cast<long long>(clock_() - check_start_);
    if (elapsed < 0) {
        elapsed = 0;  // the clock was set back during the check
    }
    day_seconds_ = WrappingAdd(day_seconds_, elapsed);
    run_seconds_ = WrappingAdd(run_seconds_, elapsed);
}

void TrafficStats::CountReceivedBytes(std::uint32_t n) {
    day_bytes_ += n;
    run_bytes_ += n;
}

void TrafficStats::CountReceivedPage() {
    day_pages_ = WrappingAdd(day_pages_, 1);
    run_pages_ = WrappingAdd(run_pages_, 1);
}

}  // namespace velnora::fetch
