#include "support/lock_holder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/write_lock.h"

namespace velnora::test {

LockHolder::LockHolder(const std::string& home, const std::string& program) : program_(program) {
    int to_child[2];
    int from_child[2];
    EXPECT_EQ(::pipe(to_child), 0);
    EXPECT_EQ(::pipe(from_child), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(to_child[1]);
        ::close(from_child[0]);
        files::WriteLock lock(home, program);
        char taken = lock.TryAcquire() == files::WriteLock::Result::kTaken ? 'y' : 'n';
        [[maybe_unused]] ssize_t sent = ::write(from_child[1], &taken, 1);
        char order;
        [[maybe_unused]] ssize_t got = ::read(to_child[0], &order, 1);
        lock.Release();
        ::_exit(0);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    release_ = to_child[1];
    char taken = 'n';
    EXPECT_EQ(::read(from_child[0], &taken, 1), 1);
    ::close(from_child[0]);
    took_ = taken == 'y';
}

LockHolder::~LockHolder() {
    Release();
    ::close(release_);
}

std::string LockHolder::name() const {
    return program_ + " (PID " + std::to_string(pid_) + ")";
}

void LockHolder::Release() {
    if (pid_ > 0) {
        char order = 'x';
        [[maybe_unused]] ssize_t sent = ::write(release_, &order, 1);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

void LockHolder::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace velnora::test
