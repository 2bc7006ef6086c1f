#pragma once

// What a careless user or a hostile copy can leave where the program expects a file, and a full
// disk: helpers that put such things in place for a test.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace velnora::test {

// Makes writes beyond the given size fail with "File too large", as a full disk makes them fail,
// for the life of the object (the signal the limit raises is ignored meanwhile).
class ScopedFileSizeLimit {
  public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, old_handler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

  private:
    rlimit old_{};
    sighandler_t old_handler_ = SIG_DFL;
};

// A FIFO at the path: opening it for reading waits for a writer, for writing fails or waits.
inline bool MakeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

inline bool MakeSymlink(const std::string& target, const std::string& path) {
    std::error_code ec;
    std::filesystem::create_symlink(target, path, ec);
    return !ec;
}

}  // namespace velnora::test
