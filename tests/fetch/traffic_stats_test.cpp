#include "fetch/traffic_stats.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "ini/ini_file.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

// The dates below are in Asia/Tokyo (UTC+9, no daylight saving): local midnight is 15:00 UTC.
class TokyoTime : public testing::Environment {
  public:
    void SetUp() override {
        ::setenv("TZ", "Asia/Tokyo", 1);
        ::tzset();
    }
};
const testing::Environment* const kTokyo = testing::AddGlobalTestEnvironment(new TokyoTime);

constexpr std::time_t kDay1Noon = 1796698800;                       // 2026-12-08 12:00 JST
constexpr std::time_t kDay1Late = kDay1Noon + 11 * 3600 + 59 * 60;  // 23:59 JST
constexpr std::time_t kDay2Early = kDay1Noon + 12 * 3600 + 60;      // 00:01 JST next day

class FakeClock {
  public:
    std::time_t now = kDay1Noon;
    TrafficStats::Clock clock() {
        return [this] { return now; };
    }
};

TEST(TrafficStats, SameDayRestartContinuesTheDayCounters) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    FakeClock time;
    TrafficStats first(time.clock());
    first.LoadStatistics(file);
    first.BeginCheckStatistics();
    first.CountReceivedBytes(1000);
    first.CountReceivedPage();
    time.now += 75;
    first.EndCheckStatistics();
    EXPECT_EQ(first.day_seconds(), 75);
    EXPECT_EQ(first.run_seconds(), 75);
    ASSERT_TRUE(first.SaveStatistics(file));

    time.now += 3600;
    TrafficStats second(time.clock());
    second.LoadStatistics(file);
    EXPECT_EQ(second.day_bytes(), 1000u);
    EXPECT_EQ(second.day_pages(), 1);
    EXPECT_EQ(second.day_seconds(), 75);
    EXPECT_EQ(second.run_bytes(), 0u);
    EXPECT_EQ(second.run_pages(), 0);
}

TEST(TrafficStats, RestartOnALaterDayStartsFromZero) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    FakeClock time;
    time.now = kDay1Late;
    TrafficStats first(time.clock());
    first.LoadStatistics(file);
    first.CountReceivedBytes(5);
    ASSERT_TRUE(first.SaveStatistics(file));
    time.now = kDay2Early;
    TrafficStats second(time.clock());
    second.LoadStatistics(file);
    EXPECT_EQ(second.day_bytes(), 0u);
}

TEST(TrafficStats, ACheckAfterMidnightResetsOnlyTheDayCounters) {
    test::TempDir dir;
    FakeClock time;
    time.now = kDay1Late;
    TrafficStats stats(time.clock());
    stats.LoadStatistics(dir / "velnora.ini");
    stats.BeginCheckStatistics();
    stats.CountReceivedBytes(300);
    stats.CountReceivedPage();
    time.now += 120;  // the check runs across midnight and counts for the day it started
    stats.EndCheckStatistics();
    EXPECT_EQ(stats.day_bytes(), 300u);
    time.now = kDay2Early + 600;
    stats.BeginCheckStatistics();
    EXPECT_EQ(stats.day_bytes(), 0u);
    EXPECT_EQ(stats.day_pages(), 0);
    EXPECT_EQ(stats.day_seconds(), 0);
    EXPECT_EQ(stats.run_bytes(), 300u);
    EXPECT_EQ(stats.run_pages(), 1);
    EXPECT_EQ(stats.run_seconds(), 120);
}

TEST(TrafficStats, SavedKeysAndWrappingByteCounter) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    FakeClock time;
    TrafficStats stats(time.clock());
    stats.LoadStatistics(file);
    stats.CountReceivedBytes(4294967295u);
    stats.CountReceivedBytes(2);
    EXPECT_EQ(stats.day_bytes(), 1u) << "32-bit counters wrap";
    stats.CountReceivedBytes(4000000000u);
    ASSERT_TRUE(stats.SaveStatistics(file));
    EXPECT_EQ(test::ReadBytes(file),
              "[STATISTICS]\r\nLAST_TIME=" + std::to_string(kDay1Noon) +
                  "\r\nTRX_TIME=0\r\nNUM_SITES=0\r\nRX_DATA_BYTES=4000000001\r\n");
    TrafficStats again(time.clock());
    again.LoadStatistics(file);
    EXPECT_EQ(again.day_bytes(), 4000000001u);
}

// Two programs on one home, the window and a command-line check, each saving its own counts.
TEST(TrafficStats, SavingAddsToWhatAnotherProgramSavedMeanwhile) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    FakeClock time;
    TrafficStats earlier(time.clock());
    earlier.LoadStatistics(file);
    earlier.CountReceivedPage();
    ASSERT_TRUE(earlier.SaveStatistics(file));

    TrafficStats window(time.clock());
    window.LoadStatistics(file);
    TrafficStats command_line(time.clock());
    command_line.LoadStatistics(file);
    for (int i = 0; i < 5; ++i) {
        command_line.CountReceivedPage();
    }
    command_line.CountReceivedBytes(500);
    ASSERT_TRUE(command_line.SaveStatistics(file));
    window.CountReceivedPage();
    window.CountReceivedBytes(7);
    ASSERT_TRUE(window.SaveStatistics(file));
    EXPECT_EQ(window.day_pages(), 7) << "1 before, 5 of the command line, 1 of the window";
    EXPECT_EQ(window.day_bytes(), 507u);
    // Saving again adds nothing twice.
    ASSERT_TRUE(window.SaveStatistics(file));
    TrafficStats reader(time.clock());
    reader.LoadStatistics(file);
    EXPECT_EQ(reader.day_pages(), 7);
    EXPECT_EQ(reader.day_bytes(), 507u);
}

TEST(TrafficStats, ADayThatEndedWhileOpenIsNotSavedAsToday) {
    struct Row {
        const char* what;
        bool other_saved_today;
        int pages_after;
    };
    const Row rows[] = {
        {"nothing saved today", false, 0},
        {"another program saved today's counts", true, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        std::string file = dir / "velnora.ini";
        FakeClock time;
        time.now = kDay1Late;
        TrafficStats window(time.clock());
        window.LoadStatistics(file);
        window.BeginCheckStatistics();
        for (int i = 0; i < 10; ++i) {
            window.CountReceivedPage();
        }
        window.EndCheckStatistics();
        time.now = kDay2Early;
        if (row.other_saved_today) {
            TrafficStats other(time.clock());
            other.LoadStatistics(file);
            for (int i = 0; i < 4; ++i) {
                other.CountReceivedPage();
            }
            ASSERT_TRUE(other.SaveStatistics(file));
        }
        ASSERT_TRUE(window.SaveStatistics(file));
        TrafficStats next(time.clock());
        next.LoadStatistics(file);
        EXPECT_EQ(next.day_pages(), row.pages_after);
        EXPECT_EQ(window.run_pages(), 10) << "the run's counters stay";
    }
}

}  // namespace
}  // namespace velnora::fetch
