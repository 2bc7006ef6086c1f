#include "files/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "files/file_names.h"
#include "files/file_system.h"

namespace velnora::files {

namespace {

void SetError(std::string* error, std::string_view text) {
    if (error != nullptr) {
        error->assign(text);
    }
}

// Why a name that exists cannot be opened as a file; empty when it is a regular file.
std::string_view NotAFile(const struct stat& info) {
    if (S_ISLNK(info.st_mode)) {
        return kSymbolicLinkText;
    }
    return S_ISREG(info.st_mode) ? std::string_view() : kNotRegularFileText;
}

// The reason for a failed open of a file: with O_NOFOLLOW a link gives ELOOP; a directory
// opened for writing gives EISDIR, a FIFO without a reader ENXIO.
std::string OpenFailure(int error_number, bool follow) {
    if (error_number == ELOOP && !follow) {
        return std::string(kSymbolicLinkText);
    }
    if (error_number == EISDIR || error_number == ENXIO) {
        return std::string(kNotRegularFileText);
    }
    return SystemErrorText(error_number);
}

// Opens a regular file. O_NONBLOCK keeps the open of a FIFO from waiting for its other end; it
// means nothing for a regular file, so it stays set. Anything but a regular file is refused
// before a byte is read or written.
int OpenRegular(std::string_view path, int flags, std::string* error) {
    auto disk = ToDiskName(path);
    if (!disk) {
        SetError(error, kUnconvertibleName);
        return -1;
    }
    int fd = ::open(disk->c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        SetError(error, OpenFailure(errno, (flags & O_NOFOLLOW) == 0));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        SetError(error, kNotRegularFileText);
        return -1;
    }
    return fd;
}

std::string DirectoryOf(const std::string& disk_path) {
    std::size_t slash = disk_path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : disk_path.substr(0, slash);
}

// Flushes the directory entry of a file just renamed into place.
bool SyncDirectoryOf(const std::string& disk_path) {
    int fd = ::open(DirectoryOf(disk_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

InputFile::~InputFile() {
    Close();
}

bool InputFile::Open(std::string_view path, std::string* error) {
    Close();
    failed_ = false;
    fd_ = OpenRegular(path, O_RDONLY, error);
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
    (void)Close();
}

bool OutputFile::Open(std::string_view path, Mode mode, std::string* error) {
    (void)Close();
    error_.clear();
    int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | (mode == Mode::kAppend ? O_APPEND : O_TRUNC);
    fd_ = OpenRegular(path, flags, &error_);
    SetError(error, error_);
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
    if (fd_ < 0) {
        return false;
    }
    if (!WriteAll(fd_, bytes)) {
        error_ = SystemErrorText(errno);
        return false;
    }
    return true;
}

bool OutputFile::Close() {
    if (fd_ < 0) {
        return true;
    }
    bool ok = ::close(fd_) == 0;
    if (!ok) {
        error_ = SystemErrorText(errno);
    }
    fd_ = -1;
    return ok;
}

FileReplacement::~FileReplacement() {
    Abandon();
}

bool FileReplacement::Fail(std::string_view what) {
    if (error_.empty()) {
        error_.assign(what);
    }
    return false;
}

bool FileReplacement::Open(std::string_view path, std::string* error, ReplacementRules rules) {
    static std::atomic<unsigned> sequence{0};
    Abandon();
    error_.clear();
    auto disk = ToDiskName(path);
    if (!disk) {
        Fail(kUnconvertibleName);
        SetError(error, error_);
        return false;
    }
    target_ = std::move(*disk);
    // Refused before any work is done when the old name is no regular file.
    struct stat old {};
    bool exists = ::lstat(target_.c_str(), &old) == 0;
    bool replaced_link = exists && S_ISLNK(old.st_mode) && rules.replaces_link;
    if (exists && !replaced_link && !NotAFile(old).empty()) {
        Fail(NotAFile(old));
        SetError(error, error_);
        return false;
    }
    const bool keeps = rules.permissions == kKeepPermissions;
    temporary_ = TemporaryName(target_, sequence.fetch_add(1));
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 static_cast<mode_t>(keeps ? 0666 : rules.permissions));
    if (fd_ < 0) {
        Fail(SystemErrorText(errno));
        temporary_.clear();
        SetError(error, error_);
        return false;
    }
    if (keeps && exists && !replaced_link) {
        ::fchmod(fd_, old.st_mode & 07777);
    }
    return true;
}

bool FileReplacement::Write(std::string_view bytes) {
    if (fd_ < 0) {
        return Fail(SystemErrorText(EBADF));
    }
    if (!error_.empty()) {
        return false;
    }
    return WriteAll(fd_, bytes) || Fail(SystemErrorText(errno));
}

bool FileReplacement::Commit(Durability durability) {
    if (fd_ < 0) {
        return Fail(SystemErrorText(EBADF));
    }
    bool ok = error_.empty();
    if (ok && durability == Durability::kSynced && ::fsync(fd_) != 0) {
        ok = Fail(SystemErrorText(errno));
    }
    if (::close(fd_) != 0 && ok) {
        ok = Fail(SystemErrorText(errno));
    }
    fd_ = -1;
    // A link that took the old file's place meanwhile is replaced by the rename, never written
    // through.
    if (ok && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ok = Fail(SystemErrorText(errno));
    }
    if (!ok) {
        Abandon();
        return false;
    }
    temporary_.clear();
    if (durability == Durability::kSynced && !SyncDirectoryOf(target_)) {
        return Fail(SystemErrorText(errno));
    }
    return true;
}

void FileReplacement::Abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace velnora::files
