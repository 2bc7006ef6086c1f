#pragma once

// Another process for the tests of the home's write lock: it takes the lock and holds it until
// it is told to let go or is killed.

#include <sys/types.h>

#include <string>

namespace velnora::test {

class LockHolder {
  public:
    // home: the program home, ending in "/". program: how the holder names itself.
    explicit LockHolder(const std::string& home, const std::string& program = "velnora-cli check");
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Whether the process took the lock.
    bool took() const { return took_; }
    pid_t pid() const { return pid_; }
    // "velnora-cli check (PID 1234)", as others name it.
    std::string name() const;
    // Lets go of the lock and ends; waits for the end.
    void Release();
    // Ends at once, without letting go itself.
    void Kill();

  private:
    pid_t pid_ = -1;
    std::string program_;
    int release_ = -1;
    bool took_ = false;
};

}  // namespace velnora::test
