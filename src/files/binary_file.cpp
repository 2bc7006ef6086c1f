#include "files/binary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "files/file_names.h"
#include "files/file_system.h"

namespace velnora::files {

namespace {

int OpenByName(std::string_view path, int flags, std::string* error) {
    auto disk = ToDiskName(path);
    if (!disk) {
        if (error != nullptr) {
            error->assign(kUnconvertibleName);
        }
        return -1;
    }
    int fd = ::open(disk->c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0 && error != nullptr) {
        *error = SystemErrorText(errno);
    }
    return fd;
}

}  // namespace

InputFile::~InputFile() {
    Close();
}

bool InputFile::Open(std::string_view path, std::string* error) {
    Close();
    failed_ = false;
    fd_ = OpenByName(path, O_RDONLY, error);
    return fd_ >= 0;
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    if (fd_ < 0 || size == 0) {
        return 0;
    }
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            failed_ = true;
            return 0;
        }
    }
}

bool InputFile::Seek(std::uint64_t offset) {
    return fd_ >= 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool InputFile::SeekRelative(std::int64_t delta) {
    return fd_ >= 0 && ::lseek(fd_, static_cast<off_t>(delta), SEEK_CUR) >= 0;
}

void InputFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::Open(std::string_view path, Mode mode, std::string* error) {
    Close();
    int flags = O_WRONLY | O_CREAT | (mode == Mode::kAppend ? O_APPEND : O_TRUNC);
    fd_ = OpenByName(path, flags, error);
    return fd_ >= 0;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    return fd_ >= 0 && WriteAll(fd_, bytes);
}

bool OutputFile::Close() {
    if (fd_ < 0) {
        return true;
    }
    bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

}  // namespace velnora::files
