#include "files/write_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "files/binary_file.h"
#include "files/file_names.h"
#include "files/file_system.h"

namespace velnora::files {

namespace {

// The holder's line is short; more than this is not read.
constexpr std::size_t kHolderTextLimit = 256;

// "<pid> <program>" as "<program> (PID <pid>)"; a file that says nothing usable (the holder
// has not written it yet, or it is damaged) names no one.
std::string DescribeHolder(std::string_view text) {
    text = text.substr(0, text.find('\n'));
    std::size_t space = text.find(' ');
    long pid = 0;
    if (space == std::string_view::npos ||
        std::from_chars(text.data(), text.data() + space, pid).ptr != text.data() + space ||
        pid <= 0 || space + 1 >= text.size()) {
        return "another program";
    }
    std::string name(text.substr(space + 1));
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';  // the name goes to a terminal and a status bar
        }
    }
    return name + " (PID " + std::to_string(pid) + ")";
}

}  // namespace

WriteLock::WriteLock(std::string home_directory, std::string program)
    : path_(std::move(home_directory) + std::string(kWriteLockFileName)),
      program_(std::move(program)) {}

WriteLock::~WriteLock() {
    Release();
}

bool WriteLock::OpenFile() {
    auto disk = ToDiskName(path_);
    if (!disk) {
        error_.assign(kUnconvertibleName);
        return false;
    }
    // Never through a symbolic link, and only a regular file: the lock must not write elsewhere
    // nor block on a FIFO.
    fd_ = ::open(disk->c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        error_ = SystemErrorText(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        error_ = "the lock file " + *disk + " is not a regular file";
        CloseFile();
        return false;
    }
    return true;
}

void WriteLock::CloseFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

WriteLock::Result WriteLock::Take(bool wait) {
    if (held_) {
        return Result::kTaken;
    }
    holder_.clear();
    error_.clear();
    if (!OpenFile()) {
        return Result::kFailed;
    }
    for (;;) {
        if (::flock(fd_, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0) {
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EWOULDBLOCK) {
            char text[kHolderTextLimit];
            ssize_t n = ::pread(fd_, text, sizeof text, 0);
            holder_ =
                DescribeHolder(std::string_view(text, n > 0 ? static_cast<std::size_t>(n) : 0));
            CloseFile();
            return Result::kHeld;
        }
        error_ = SystemErrorText(errno);
        CloseFile();
        return Result::kFailed;
    }
    held_ = true;
    // Naming the holder is a courtesy to the others: the lock holds without it (on a full disk).
    std::string line = std::to_string(::getpid()) + " " + program_ + "\n";
    if (::ftruncate(fd_, 0) == 0) {
        [[maybe_unused]] bool named = WriteAll(fd_, line);
    }
    return Result::kTaken;
}

WriteLock::Result WriteLock::TryAcquire() {
    return Take(false);
}

WriteLock::Result WriteLock::Acquire() {
    return Take(true);
}

void WriteLock::Release() {
    if (!held_) {
        return;
    }
    held_ = false;
    // The name goes before the lock, so that nobody is named who no longer holds it.
    [[maybe_unused]] int emptied = ::ftruncate(fd_, 0);
    CloseFile();
}

}  // namespace velnora::files
