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

void TrafficStats::LoadStatistics(std::string_view settings_path) {
    day_bytes_ = run_bytes_ = 0;
    day_pages_ = day_seconds_ = run_pages_ = run_seconds_ = 0;
    last_time_ = check_start_ = 0;

    ini::IniFile ini;
    ini.Load(settings_path);
    auto stored = static_cast<std::time_t>(
        static_cast<std::uint32_t>(ini.GetInt(kStatistics, "LAST_TIME", 0)));
    std::time_t now = clock_();
    if (SameLocalDate(stored, now)) {
        day_seconds_ = ini.GetInt(kStatistics, "TRX_TIME", 0);
        day_pages_ = ini.GetInt(kStatistics, "NUM_SITES", 0);
        day_bytes_ = static_cast<std::uint32_t>(ini.GetInt(kStatistics, "RX_DATA_BYTES", 0));
    }
    last_time_ = now;
}

bool TrafficStats::SaveStatistics(std::string_view settings_path) {
    ini::IniFile ini;
    if (!ini.Load(settings_path)) {
        return false;
    }
    ini.SetString(kStatistics, "LAST_TIME", std::to_string(static_cast<long long>(clock_())));
    ini.SetString(kStatistics, "TRX_TIME", std::to_string(day_seconds_));
    ini.SetString(kStatistics, "NUM_SITES", std::to_string(day_pages_));
    ini.SetString(kStatistics, "RX_DATA_BYTES", std::to_string(day_bytes_));
    return ini.Save(settings_path);
}

void TrafficStats::BeginCheckStatistics() {
    check_start_ = clock_();
    if (!SameLocalDate(check_start_, last_time_)) {
        day_bytes_ = 0;
        day_pages_ = 0;
        day_seconds_ = 0;
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
