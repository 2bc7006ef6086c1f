#pragma once

// AutoChecks: the window's checks on a schedule. While AUTO_CHECK is set and the checks are not
// paused, a single-shot timer wakes when the next page is due (at least a second ahead, at most
// a minute, so that a machine that slept catches up soon after it wakes, and never sooner
// while there is nothing to do); then the pages that are due are handed to a background check.
// The schedule is read from the page files once and read again when the tree has changed, when
// a check has ended, when settings changed, and every quarter of an hour (so that intervals set
// by velnora-cli are seen).

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "fetch/schedule.h"
#include "settings/app_settings.h"
#include "store/page_tree.h"

namespace velnora::window {

class AutoChecks : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        // Whether a background check may start now (no check, no reload, no dialog).
        std::function<bool()> may_start;
        // Starts a background check of the pages the filter lets through; false when it did
        // not start (the home's write lock is held elsewhere, for instance).
        std::function<bool(std::function<bool(store::ItemId)> due)> start;
    };

    // All must outlive the object.
    AutoChecks(const store::PageTree& tree, const settings::AppSettings& settings, Hooks hooks,
               const fetch::Clock& clock = fetch::SystemClock(), QObject* parent = nullptr);

    // The settings, the tree or the pages' settings changed: the schedule is read again before
    // the next decision, and the timer set anew.
    void Reconsider();
    // A check ended: as Reconsider, and the next background check waits a little, so that pages
    // that come due one after another (their jitter spreads them) go into one check.
    void CheckEnded();
    void SetPaused(bool paused);
    bool paused() const { return paused_; }

    // The timer as it stands: whether it runs and in how many milliseconds it wakes.
    bool armed() const { return timer_.isActive(); }
    int remaining_ms() const { return timer_.remainingTime(); }
    // How often the timer has woken (for the idle benchmark and tests).
    int wakeups() const { return wakeups_; }
    // Decides at once, as the timer would.
    void DecideNow() { OnTimer(); }

  private:
    void OnTimer();
    void Arm();
    void Refresh();

    const store::PageTree& tree_;
    const settings::AppSettings& settings_;
    Hooks hooks_;
    const fetch::Clock& clock_;
    QTimer timer_;
    fetch::Schedule schedule_;
    bool stale_ = true;
    std::uint64_t read_at_changes_ = 0;
    QElapsedTimer read_at_;
    QElapsedTimer rest_from_;  // since the last check ended
    bool paused_ = false;
    int wakeups_ = 0;
};

}  // namespace velnora::window
