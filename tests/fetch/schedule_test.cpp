// Checks on a schedule with a clock the test sets: due times, jitter, active hours across
// midnight, catching up after a gap, intervals inherited from folders, and the defaults that
// schedule nothing.

#include "fetch/schedule.h"

#include <gtest/gtest.h>

#include <set>

#include "store/page_tree.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "support/temp_dir.h"

namespace velnora::fetch {
namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
// 2024-05-01 00:00 UTC; the test clock's local time is UTC.
constexpr std::int64_t kMidnight = 1714521600;

class TestClock : public Clock {
  public:
    std::int64_t now = kMidnight + 12 * kHour;
    std::int64_t Now() const override { return now; }
    int MinuteOfDay(std::int64_t seconds) const override {
        return static_cast<int>((seconds / kMinute) % kMinutesPerDay);
    }
};

PageSchedule Page(store::ItemId item, int interval, std::int64_t last, bool disabled = false) {
    return PageSchedule{item, "/home/data/p" + std::to_string(item) + ".dat", interval, disabled,
                        last};
}

TEST(ActiveHours, WithinAcrossMidnightAndAllDay) {
    struct Row {
        ActiveHours hours;
        int minute;
        bool active;
        int until;
    } rows[] = {
        {{0, 0}, 0, true, 0},             // equal: all day
        {{600, 600}, 599, true, 0},       //
        {{540, 1080}, 539, false, 1},     // 9:00-18:00
        {{540, 1080}, 540, true, 0},      // from is included
        {{540, 1080}, 1079, true, 0},     //
        {{540, 1080}, 1080, false, 900},  // to is excluded; 15 hours to 9:00
        {{1320, 360}, 1320, true, 0},     // 22:00-6:00, across midnight
        {{1320, 360}, 1439, true, 0},     //
        {{1320, 360}, 0, true, 0},        //
        {{1320, 360}, 359, true, 0},      //
        {{1320, 360}, 360, false, 960},   //
        {{1320, 360}, 1319, false, 1},    //
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.hours.from << "-" << row.hours.to << " at " << row.minute);
        EXPECT_EQ(InActiveHours(row.hours, row.minute), row.active);
        EXPECT_EQ(MinutesUntilActive(row.hours, row.minute), row.until);
    }
}

TEST(DueTime, IntervalsLastChecksAndFlags) {
    std::int64_t now = kMidnight;
    EXPECT_EQ(DueTime(Page(1, 0, 0), now), kNever) << "only by hand, even if never checked";
    EXPECT_EQ(DueTime(Page(1, 30, 0), now), 0) << "never checked: due at once";
    EXPECT_EQ(DueTime(Page(1, 30, 0, true), now), kNever) << "DISABLE_AUTO_CHECK";
    EXPECT_EQ(DueTime(Page(1, 30, now + kHour), now), 0)
        << "a last check ahead: the clock went back";
    std::int64_t last = now - 10 * kMinute;
    std::int64_t due = DueTime(Page(1, 30, last), now);
    EXPECT_GE(due, last + 30 * kMinute);
    EXPECT_LE(due, last + 33 * kMinute) << "at most a tenth of the interval later";
    EXPECT_EQ(DueTime(Page(1, 30, last), now), due) << "the jitter stays until the next check";
}

TEST(DueTime, JitterStaysWithinATenthAndSpreadsPages) {
    for (std::int64_t interval : {0, 9, 60, 3600, 86400}) {
        for (std::uint64_t seed = 0; seed < 1000; ++seed) {
            std::int64_t jitter = Jitter(seed * 0x9e3779b97f4a7c15ULL, interval);
            ASSERT_GE(jitter, 0);
            ASSERT_LE(jitter, interval / 10) << interval;
        }
    }
    // A hundred pages checked at the same second with the same interval come due at many
    // different seconds.
    std::set<std::int64_t> due;
    for (store::ItemId item = 1; item <= 100; ++item) {
        due.insert(DueTime(Page(item, 60, kMidnight), kMidnight));
    }
    EXPECT_GT(due.size(), 80u);
}

TEST(Schedule, DuePagesAtTheClocksTimeInTreeOrder) {
    TestClock clock;
    Schedule schedule;
    schedule.Assign({Page(1, 60, clock.now - 2 * kHour), Page(2, 60, clock.now - 5 * kMinute),
                     Page(3, 0, 0), Page(4, 15, 0), Page(5, 15, 0, true)});
    EXPECT_TRUE(schedule.Scheduled());
    EXPECT_EQ(schedule.DuePages(clock, {}), (std::vector<store::ItemId>{1, 4}));
    EXPECT_EQ(schedule.NextDue(clock, {}), clock.now);
    // Nothing is due outside the active hours (12:00 is outside 22:00-6:00); the next due
    // time is the start of the hours.
    ActiveHours night{22 * 60, 6 * 60};
    EXPECT_TRUE(schedule.DuePages(clock, night).empty());
    EXPECT_EQ(schedule.NextDue(clock, night), kMidnight + 22 * kHour);
    clock.now = kMidnight + 23 * kHour;
    EXPECT_EQ(schedule.DuePages(clock, night), (std::vector<store::ItemId>{1, 2, 4}));
}

TEST(Schedule, ASleepOfManyIntervalsCatchesUpOnce) {
    TestClock clock;
    std::int64_t last = clock.now;
    Schedule schedule;
    schedule.Assign({Page(1, 30, last)});
    EXPECT_TRUE(schedule.DuePages(clock, {}).empty());
    std::int64_t next = schedule.NextDue(clock, {});
    EXPECT_GE(next, last + 30 * kMinute);
    // The machine sleeps for ten hours: twenty intervals missed.
    clock.now = last + 10 * kHour;
    EXPECT_EQ(schedule.DuePages(clock, {}), std::vector<store::ItemId>{1});
    // Checked once on waking: not due again until a whole interval has passed.
    schedule.Assign({Page(1, 30, clock.now)});
    EXPECT_TRUE(schedule.DuePages(clock, {}).empty());
    clock.now += 29 * kMinute;
    EXPECT_TRUE(schedule.DuePages(clock, {}).empty());
    clock.now += 4 * kMinute;
    EXPECT_EQ(schedule.DuePages(clock, {}), std::vector<store::ItemId>{1});
}

// A home on disk: the program's interval, folders and pages with or without their own.
class ScheduleOnDisk : public testing::Test {
  protected:
    std::string Page(const std::string& relative, int interval, int disabled = 0) {
        std::string dir = home_ / ("data/" + relative);
        test::MakeDir(dir);
        store::PageSettings page;
        page.url = "http://example.com/";
        page.check_interval = interval;
        page.disable_auto_check = disabled;
        EXPECT_EQ(store::WritePageSettings(dir, page), 0);
        return dir;
    }
    void Folder(const std::string& relative, int interval, int disabled = 0) {
        test::MakeDir(home_ / ("data/" + relative));
        EXPECT_EQ(store::WriteFolderSettings(home_ / ("data/" + relative),
                                             store::FolderSettings{disabled, interval}),
                  0);
    }
    // Each page's name and effective interval, in the tree's order; disabled ones as "off".
    std::vector<std::string> Intervals(int root_interval) {
        store::PageTree tree(home_.path() + "/");
        store::PopulateTree(tree);
        Schedule schedule;
        schedule.Build(tree, root_interval);
        std::vector<std::string> seen;
        for (const PageSchedule& page : schedule.pages()) {
            std::string name = tree.Find(page.item)->name;
            seen.push_back(name + "=" + (page.disabled ? "off" : std::to_string(page.interval)));
        }
        return seen;
    }
    test::TempDir home_;
};

TEST_F(ScheduleOnDisk, IntervalsComeFromTheNearestItemThatHasOne) {
    int follow = store::keys::kFollowFolder;
    Folder("News.grp", 30);
    Folder("News.grp/Daily.grp", follow);
    Page("News.grp/Daily.grp/a.dat", follow);  // Daily follows News: 30
    Page("News.grp/b.dat", 0);                 // by hand only
    Page("News.grp/c.dat", 5);
    Folder("Quiet.grp", follow, 1);
    Page("Quiet.grp/d.dat", 10);  // under DISABLE_AUTO_CHECK
    Page("e.dat", follow);        // the program's interval
    Page("f.dat", 20, 1);
    EXPECT_EQ(Intervals(120),
              (std::vector<std::string>{"a=30", "b=0", "c=5", "d=off", "e=120", "f=off"}));
    EXPECT_EQ(Intervals(0)[4], "e=0");

    // What the sheets show greyed for an item that follows its folder.
    store::PageTree tree(home_.path() + "/");
    store::PopulateTree(tree);
    auto inherited = [&](const std::string& relative) {
        store::ItemId item = tree.root();
        std::size_t start = 0;
        while (start < relative.size()) {
            std::size_t slash = relative.find('/', start);
            std::string name = relative.substr(start, slash - start);
            store::ItemId child = tree.FirstChild(item);
            while (child != 0 && tree.Find(child)->name != name) {
                child = tree.NextSibling(child);
            }
            item = child;
            start = slash == std::string::npos ? relative.size() : slash + 1;
        }
        return FolderInterval(tree, tree.Parent(item), 120);
    };
    EXPECT_EQ(inherited("News"), 120);
    EXPECT_EQ(inherited("News/Daily"), 30);
    EXPECT_EQ(inherited("News/Daily/a"), 30) << "through a folder that follows";
    EXPECT_EQ(inherited("News/c"), 30);
    EXPECT_EQ(inherited("e"), 120);
}

TEST_F(ScheduleOnDisk, TheDefaultsScheduleNothing) {
    // An existing home, never checked, without any of the new keys.
    Page("a.dat", store::keys::kFollowFolder);
    test::MakeDir(home_ / "data/F.grp/b.dat");
    store::PageTree tree(home_.path() + "/");
    store::PopulateTree(tree);
    Schedule schedule;
    schedule.Build(tree, 0);
    TestClock clock;
    EXPECT_FALSE(schedule.Scheduled());
    EXPECT_TRUE(schedule.DuePages(clock, {}).empty());
    EXPECT_EQ(schedule.NextDue(clock, {}), kNever);
}

TEST_F(ScheduleOnDisk, TheLastCheckIsReadFromResultIni) {
    std::string dir = Page("a.dat", 60);
    ASSERT_TRUE(store::WriteLastCheck(dir, kMidnight));
    store::PageTree tree(home_.path() + "/");
    store::PopulateTree(tree);
    Schedule schedule;
    schedule.Build(tree, 0);
    ASSERT_EQ(schedule.pages().size(), 1u);
    EXPECT_EQ(schedule.pages()[0].last_check, kMidnight);
    TestClock clock;
    clock.now = kMidnight + 59 * kMinute;
    EXPECT_TRUE(schedule.DuePages(clock, {}).empty());
    clock.now = kMidnight + 67 * kMinute;
    EXPECT_EQ(schedule.DuePages(clock, {}).size(), 1u);
}

}  // namespace
}  // namespace velnora::fetch
