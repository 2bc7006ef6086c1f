#include "files/write_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/lock_holder.h"
#include "support/temp_dir.h"

namespace velnora::files {
namespace {

using test::LockHolder;

TEST(WriteLock, AnotherProcessHoldingItIsNamedUntilItLetsGo) {
    test::TempDir home;
    std::string dir = home.path() + "/";
    {
        LockHolder holder(dir);
        ASSERT_TRUE(holder.took());
        WriteLock lock(dir, "velnora");
        EXPECT_EQ(lock.TryAcquire(), WriteLock::Result::kHeld);
        EXPECT_EQ(lock.holder(), holder.name());
        EXPECT_FALSE(lock.held());
        holder.Release();
        EXPECT_EQ(lock.TryAcquire(), WriteLock::Result::kTaken);
        EXPECT_TRUE(lock.held());
    }
    {
        // A holder that is killed lets go with its end.
        LockHolder holder(dir);
        ASSERT_TRUE(holder.took());
        holder.Kill();
        WriteLock lock(dir, "velnora");
        EXPECT_EQ(lock.TryAcquire(), WriteLock::Result::kTaken);
    }
}

TEST(WriteLock, AcquireWaitsForTheHolder) {
    test::TempDir home;
    std::string dir = home.path() + "/";
    LockHolder holder(dir);
    ASSERT_TRUE(holder.took());
    WriteLock lock(dir, "velnora");
    auto taken = std::async(std::launch::async, [&] { return lock.Acquire(); });
    EXPECT_EQ(taken.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
        << "it waits while the other process holds the lock";
    holder.Release();
    EXPECT_EQ(taken.get(), WriteLock::Result::kTaken);
    // Held here, the lock is refused to the next one in this process as well.
    WriteLock second(dir, "velnora-cli add");
    EXPECT_EQ(second.TryAcquire(), WriteLock::Result::kHeld);
    EXPECT_EQ(second.holder(), "velnora (PID " + std::to_string(::getpid()) + ")");
}

TEST(WriteLock, OnlyARegularFileOfItsOwnIsUsed) {
    struct Row {
        const char* what;
        void (*make)(const std::string& lock_path, const std::string& elsewhere);
    };
    const Row rows[] = {
        {"a symbolic link",
         [](const std::string& lock_path, const std::string& elsewhere) {
             ASSERT_EQ(::symlink(elsewhere.c_str(), lock_path.c_str()), 0);
         }},
        {"a FIFO", [](const std::string& lock_path,
                      const std::string&) { ASSERT_EQ(::mkfifo(lock_path.c_str(), 0600), 0); }},
        {"a directory", [](const std::string& lock_path,
                           const std::string&) { ASSERT_EQ(::mkdir(lock_path.c_str(), 0700), 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir home;
        std::string elsewhere = home / "elsewhere";
        row.make(home / std::string(kWriteLockFileName), elsewhere);
        WriteLock lock(home.path() + "/", "velnora");
        EXPECT_EQ(lock.TryAcquire(), WriteLock::Result::kFailed);
        EXPECT_FALSE(lock.error().empty());
        EXPECT_FALSE(test::Exists(elsewhere)) << "nothing is written through the link";
    }
}

}  // namespace
}  // namespace velnora::files
