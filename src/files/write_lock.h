#pragma once

// The program home's write lock: one program at a time writes page files and settings. Every
// command that writes takes it for the time of its write (a check for the whole check); the
// window takes it for each of its writes, not for its lifetime. Read-only commands take none.
//
// The lock is a lock file of its own in the home (not the window's single-instance lock),
// opened without following a symbolic link and locked with flock: the system releases it when
// the holder ends, however it ends. While held, the file names the holder ("<pid> <program>"),
// so that a program that finds it taken can say who holds it.

#include <string>
#include <string_view>

namespace velnora::files {

inline constexpr std::string_view kWriteLockFileName = ".velnora-write.lock";

class WriteLock {
  public:
    enum class Result : int {
        kTaken = 0,   // this object holds the lock
        kHeld = 1,    // another program holds it; holder() names it
        kFailed = 2,  // the lock file cannot be used; error() says why
    };

    // home_directory: the program home (Shift_JIS, ending in the separator). program: how other
    // programs name this one while it holds the lock ("velnora-cli check").
    WriteLock(std::string home_directory, std::string program);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    // Takes the lock when it is free; never waits.
    [[nodiscard]] Result TryAcquire();
    // Takes the lock, waiting for as long as another program holds it.
    [[nodiscard]] Result Acquire();
    void Release();

    bool held() const { return held_; }
    // After kHeld: the holder, as "velnora-cli check (PID 1234)".
    const std::string& holder() const { return holder_; }
    // After kFailed: the system's reason.
    const std::string& error() const { return error_; }

  private:
    Result Take(bool wait);
    bool OpenFile();
    void CloseFile();

    std::string path_;
    std::string program_;
    int fd_ = -1;
    bool held_ = false;
    std::string holder_;
    std::string error_;
};

}  // namespace velnora::files
