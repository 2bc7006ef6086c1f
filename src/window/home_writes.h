#pragma once

// The window's writes to the program home, each made with the home's write lock held for the
// time of the write, never for the window's lifetime: a command-line check runs while the
// window sits idle. When another program holds the lock, the window names it in the status bar
// and waits, trying again on a timer:
//   - Run queues the write (a check, saving on closing) and the window goes on meanwhile;
//   - Hold waits in place (the OK of a sheet, a delete, clearing past logs): the window keeps
//     painting and its timers run, and the user's input waits with the write.
// A check holds the lock until it ends (Retain, then Release when it stops).

#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "files/write_lock.h"

namespace velnora::window {

class HomeWrites {
  public:
    enum class Outcome : int {
        kDone = 0,     // the write has run
        kWaiting = 1,  // it runs once the other program lets go
        kRefused = 2,  // the lock file cannot be used: nothing is written (the status says why)
    };

    // show_status: the status bar's text (Shift_JIS).
    HomeWrites(std::string home_directory, std::function<void(std::string_view)> show_status);
    HomeWrites(const HomeWrites&) = delete;
    HomeWrites& operator=(const HomeWrites&) = delete;

    Outcome Run(std::function<void()> write);
    // Takes the lock for a write that follows at once, waiting for it; false when it cannot be
    // used. Every true is followed by one Drop.
    bool Hold();
    void Drop();
    // Keeps the lock after the write that runs now has returned, until Release.
    void Retain() { ++holds_; }
    void Release() { Drop(); }

    bool waiting() const { return !queue_.empty(); }

  private:
    // Takes the lock (or counts one more hold of it); false, with the status told, when it is
    // held elsewhere or cannot be used.
    bool TryHold(files::WriteLock::Result* result);
    void RunWaiting();

    files::WriteLock lock_;
    std::function<void(std::string_view)> show_status_;
    int holds_ = 0;
    std::deque<std::function<void()>> queue_;
    QTimer retry_;
};

}  // namespace velnora::window
