#pragma once

// What a careless user or a hostile copy can leave where the program expects a file: helpers
// that put such things in place for a test.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace velnora::test {

// A FIFO at the path: opening it for reading waits for a writer, for writing fails or waits.
inline bool MakeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

inline bool MakeSymlink(const std::string& target, const std::string& path) {
    std::error_code ec;
    std::filesystem::create_symlink(target, path, ec);
    return !ec;
}

// The id of a process that has ended, as a killed writer's temporary files name it.
inline pid_t EndedProcessId() {
    pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace velnora::test
