#include "window/auto_checks.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "settings/settings_views.h"

namespace velnora::window {

namespace {

// The timer wakes at most this far ahead ...
constexpr std::int64_t kLongestSleepMs = 60 * 1000;
// ... and no sooner than this.
constexpr std::int64_t kShortestSleepMs = 1000;
// After a check the next one waits at least this long.
constexpr qint64 kRestAfterCheckMs = 30 * 1000;
// While a dialog or an edit is open the decision waits this long.
constexpr int kBusyRetryMs = 5 * 1000;
// The schedule is read from the files again at least this often.
constexpr qint64 kRereadMs = 15 * 60 * 1000;

}  // namespace

AutoChecks::AutoChecks(const store::PageTree& tree, const settings::AppSettings& settings,
                       Hooks hooks, const fetch::Clock& clock, QObject* parent)
    : QObject(parent), tree_(tree), settings_(settings), hooks_(std::move(hooks)), clock_(clock) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::VeryCoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &AutoChecks::OnTimer);
}

void AutoChecks::Reconsider() {
    stale_ = true;
    Arm();
}

void AutoChecks::CheckEnded() {
    rest_from_.start();
    Reconsider();
}

void AutoChecks::SetPaused(bool paused) {
    paused_ = paused;
    Arm();
}

void AutoChecks::Refresh() {
    if (!stale_ && tree_.changes() == read_at_changes_ && read_at_.isValid() &&
        read_at_.elapsed() < kRereadMs) {
        return;
    }
    schedule_.Build(tree_, settings_.check_interval);
    stale_ = false;
    read_at_changes_ = tree_.changes();
    read_at_.start();
}

void AutoChecks::Arm() {
    if (settings_.auto_check == 0 || paused_) {
        timer_.stop();  // nothing wakes the window
        return;
    }
    Refresh();
    std::int64_t next = schedule_.NextDue(clock_, settings::ActiveHoursFrom(settings_));
    std::int64_t wait_ms = kLongestSleepMs;
    if (next != fetch::kNever) {
        std::int64_t now = clock_.Now();
        wait_ms = std::clamp<std::int64_t>((next - now) * 1000, kShortestSleepMs, kLongestSleepMs);
    }
    if (rest_from_.isValid() && rest_from_.elapsed() < kRestAfterCheckMs) {
        wait_ms = std::max<std::int64_t>(wait_ms, kRestAfterCheckMs - rest_from_.elapsed());
    }
    timer_.start(static_cast<int>(wait_ms));
}

void AutoChecks::OnTimer() {
    ++wakeups_;
    if (settings_.auto_check == 0 || paused_) {
        return;
    }
    if (hooks_.may_start && !hooks_.may_start()) {
        // A check that runs sets the timer again when it ends; a dialog does not.
        timer_.start(kBusyRetryMs);
        return;
    }
    Refresh();
    std::vector<store::ItemId> due =
        schedule_.DuePages(clock_, settings::ActiveHoursFrom(settings_));
    if (due.empty() || !hooks_.start) {
        Arm();
        return;
    }
    auto pages = std::make_shared<std::unordered_set<store::ItemId>>(due.begin(), due.end());
    if (hooks_.start([pages](store::ItemId item) { return pages->count(item) != 0; })) {
        // The check's end sets the timer again.
        stale_ = true;
        return;
    }
    // Another program writes to the home: the pages stay due and are tried again later.
    timer_.start(static_cast<int>(kLongestSleepMs));
}

}  // namespace velnora::window
