#pragma once

// Checks on a schedule: which pages are due, and when the next one will be. A page (or folder)
// has a check interval in minutes, 0 for "only by hand", or none for "as its folder"; the data
// directory's interval is the program's. A page is due once its interval has passed since its
// last check began, plus a small jitter (at most a tenth of the interval) that keeps pages with
// the same interval from firing at the same second. A page never checked is due at once; a
// page below DISABLE_AUTO_CHECK never. Since the last check counts, a machine that slept
// through several intervals checks each page once when it wakes, not once per interval missed.
// Nothing is due outside the program's active hours.
//
// The functions take the time from a Clock, so that tests can set it.

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "store/page_tree.h"

namespace velnora::fetch {

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t Now() const = 0;
    // Minutes after local midnight (0 to 1439) at the time.
    virtual int MinuteOfDay(std::int64_t seconds) const = 0;
};

// The system's clock and time zone.
const Clock& SystemClock();

inline constexpr int kMinutesPerDay = 24 * 60;
inline constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// The program's active hours: minutes after local midnight, from included, to excluded; equal
// values mean all day, and from after to runs across midnight.
struct ActiveHours {
    int from = 0;
    int to = 0;
};
bool InActiveHours(const ActiveHours& hours, int minute);
// Minutes from the minute to the next start of the active hours (0 inside them).
int MinutesUntilActive(const ActiveHours& hours, int minute);

// The seconds added to a page's interval, between 0 and a tenth of the interval: drawn from the
// seed (the page and its last check), so that it stays the same until the page is checked again.
std::int64_t Jitter(std::uint64_t seed, std::int64_t interval_seconds);

// The interval an item follows: its own, or (kFollowFolder) the one its folder follows.
int EffectiveInterval(int own, int folder);
// The interval the items in a folder (or the root) follow when they have none of their own: that
// of the folder or the nearest one above it that has one, else the program's (root_interval). A
// folder whose group.ini cannot be read is passed over.
int FolderInterval(const store::PageTree& tree, store::ItemId folder, int root_interval);

struct PageSchedule {
    store::ItemId item = 0;
    std::string directory;
    int interval = 0;             // minutes; 0: only by hand
    bool disabled = false;        // the page or a folder above it has DISABLE_AUTO_CHECK
    std::int64_t last_check = 0;  // when its last check began; 0: never
};

// When the page is due: kNever for a disabled page or one checked only by hand; 0 (at once) for
// a page never checked, or one whose last check lies ahead of now (the clock was set back).
std::int64_t DueTime(const PageSchedule& page, std::int64_t now);

// Every page of a tree with its schedule, in the tree's order.
class Schedule {
  public:
    // Reads the intervals, flags and last checks of the tree's pages and folders from their
    // files; root_interval is the program's (the data directory's) interval.
    void Build(const store::PageTree& tree, int root_interval);
    // The same, from records already read (for tests and benchmarks).
    void Assign(std::vector<PageSchedule> pages) { pages_ = std::move(pages); }

    const std::vector<PageSchedule>& pages() const { return pages_; }
    // Whether any page is checked on its own at all.
    bool Scheduled() const;

    // The pages due at the time, in the tree's order; none outside the active hours.
    std::vector<store::ItemId> DuePages(const Clock& clock, const ActiveHours& hours) const;
    // The earliest time at which a page is due (kNever when none ever is), the active hours
    // taken into account.
    std::int64_t NextDue(const Clock& clock, const ActiveHours& hours) const;

  private:
    std::vector<PageSchedule> pages_;
};

}  // namespace velnora::fetch
