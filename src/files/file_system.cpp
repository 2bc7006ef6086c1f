#include "files/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/binary_file.h"
#include "files/file_names.h"
#include "text/cp932.h"

namespace velnora::files {

namespace {

void SetError(std::string* error, std::string_view text) {
    if (error != nullptr) {
        error->assign(text);
    }
}

void SetErrno(std::string* error, int error_number) {
    SetError(error, SystemErrorText(error_number));
}

std::optional<struct stat> Stat(std::string_view path) {
    auto disk = ToDiskName(path);
    struct stat info {};
    if (!disk || ::stat(disk->c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

}  // namespace

std::string FromLocaleText(std::string_view text) {
    bool ascii = true;
    for (char c : text) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    std::string_view codeset = nl_langinfo(CODESET);
    if (ascii || codeset == "UTF-8") {
        return text::Utf8ToShiftJis(text);
    }
    // Another encoding of the locale: through UTF-8, which the program's codec reads.
    iconv_t converter = iconv_open("UTF-8", std::string(codeset).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return text::Utf8ToShiftJis(text);
    }
    std::string in(text);
    std::string out(in.size() * 4 + 4, '\0');
    char* in_pointer = in.data();
    std::size_t in_left = in.size();
    char* out_pointer = out.data();
    std::size_t out_left = out.size();
    std::size_t converted = iconv(converter, &in_pointer, &in_left, &out_pointer, &out_left);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1)) {
        return text::Utf8ToShiftJis(text);
    }
    out.resize(out.size() - out_left);
    return text::Utf8ToShiftJis(out);
}

std::string SystemErrorText(int error_number) {
    return FromLocaleText(std::strerror(error_number));
}

bool PathExists(std::string_view path) {
    return Stat(path).has_value();
}

bool IsSymbolicLink(std::string_view path) {
    auto disk = ToDiskName(path);
    struct stat info {};
    return disk && ::lstat(disk->c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool IsDirectory(std::string_view path) {
    auto info = Stat(path);
    return info && S_ISDIR(info->st_mode);
}

bool IsRegularFile(std::string_view path) {
    auto info = Stat(path);
    return info && S_ISREG(info->st_mode);
}

std::optional<std::uint64_t> FileSize(std::string_view path) {
    auto info = Stat(path);
    if (!info || !S_ISREG(info->st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info->st_size);
}

std::optional<std::time_t> ModificationTime(std::string_view path) {
    auto info = Stat(path);
    if (!info) {
        return std::nullopt;
    }
    return info->st_mtime;
}

std::optional<std::int64_t> ModificationTimeNs(std::string_view path) {
    auto info = Stat(path);
    if (!info) {
        return std::nullopt;
    }
    return std::int64_t{info->st_mtim.tv_sec} * 1000000000 + info->st_mtim.tv_nsec;
}

bool MakeDirectory(std::string_view path, std::string* error) {
    auto disk = ToDiskName(path);
    if (!disk) {
        SetError(error, kUnconvertibleName);
        return false;
    }
    if (::mkdir(disk->c_str(), 0777) != 0) {
        SetErrno(error, errno);
        return false;
    }
    return true;
}

bool MakeDirectories(std::string_view path, std::string* error) {
    if (IsDirectory(path)) {
        return true;
    }
    std::string prefix;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        prefix.assign(path.substr(0, end));
        if (!prefix.empty() && !IsDirectory(prefix) && !MakeDirectory(prefix, error)) {
            return IsDirectory(path);
        }
        start = end + 1;
    }
    return IsDirectory(path);
}

bool RemoveFile(std::string_view path) {
    auto disk = ToDiskName(path);
    return disk && ::unlink(disk->c_str()) == 0;
}

bool RemoveEmptyDirectory(std::string_view path) {
    auto disk = ToDiskName(path);
    return disk && ::rmdir(disk->c_str()) == 0;
}

bool MovePath(std::string_view from, std::string_view to, std::string* error) {
    auto disk_from = ToDiskName(from);
    auto disk_to = ToDiskName(to);
    if (!disk_from || !disk_to) {
        SetError(error, kUnconvertibleName);
        return false;
    }
    if (::renameat2(AT_FDCWD, disk_from->c_str(), AT_FDCWD, disk_to->c_str(), RENAME_NOREPLACE) ==
        0) {
        return true;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace flag: test, then rename.
        struct stat info {};
        if (::lstat(disk_to->c_str(), &info) == 0) {
            SetErrno(error, EEXIST);
            return false;
        }
        if (::rename(disk_from->c_str(), disk_to->c_str()) == 0) {
            return true;
        }
    }
    SetErrno(error, errno);
    return false;
}

bool ReplaceFile(std::string_view from, std::string_view to, std::string* error) {
    auto disk_from = ToDiskName(from);
    auto disk_to = ToDiskName(to);
    if (!disk_from || !disk_to) {
        SetError(error, kUnconvertibleName);
        return false;
    }
    struct stat info {};
    if (::lstat(disk_to->c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        SetError(error, S_ISLNK(info.st_mode) ? kSymbolicLinkText : kNotRegularFileText);
        return false;
    }
    if (::rename(disk_from->c_str(), disk_to->c_str()) != 0) {
        SetErrno(error, errno);
        return false;
    }
    return true;
}

std::vector<DirectoryEntry> ListDirectory(std::string_view path) {
    std::vector<DirectoryEntry> entries;
    auto disk = ToDiskName(path);
    if (!disk) {
        return entries;
    }
    DIR* dir = ::opendir(disk->c_str());
    if (dir == nullptr) {
        return entries;
    }
    while (struct dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        auto converted = FromDiskName(name);
        if (!converted) {
            continue;
        }
        bool is_directory = entry->d_type == DT_DIR;
        bool is_link = entry->d_type == DT_LNK;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
                is_directory = S_ISDIR(info.st_mode);
                is_link = S_ISLNK(info.st_mode);
            }
        }
        entries.push_back({std::move(*converted), is_directory, is_link});
    }
    ::closedir(dir);
    return entries;
}

bool ReadWholeFile(std::string_view path, std::string& bytes, std::string* error,
                   std::uint64_t max_size) {
    bytes.clear();
    InputFile file;
    if (!file.Open(path, error)) {
        return false;
    }
    char block[16384];
    for (;;) {
        std::size_t n = file.Read(block, sizeof block);
        if (n == 0) {
            break;
        }
        if (bytes.size() + n > max_size) {
            bytes.clear();
            SetError(error, "Larger than " + std::to_string(max_size) + " bytes");
            return false;
        }
        bytes.append(block, n);
    }
    if (file.Failed()) {
        SetErrno(error, EIO);
        return false;
    }
    return true;
}

namespace {

// Removes the temporary files that killed writers left of the file.
void RemoveStaleTemporariesOf(std::string_view path) {
    std::size_t separator = path.rfind(kSeparator);
    if (separator == std::string_view::npos) {
        return;
    }
    std::string_view directory = path.substr(0, separator);
    std::string prefix = std::string(path.substr(separator + 1)) + ".tmp";
    for (const DirectoryEntry& entry : ListDirectory(directory)) {
        if (entry.name.starts_with(prefix) && IsStaleTemporary(entry.name)) {
            RemoveFile(std::string(directory) + std::string(kSeparatorText) + entry.name);
        }
    }
}

}  // namespace

bool WriteFileAtomically(std::string_view path, std::string_view bytes, std::string* error,
                         Durability durability, ReplacementRules rules) {
    FileReplacement file;
    bool ok = file.Open(path, nullptr, rules) && file.Write(bytes) && file.Commit(durability);
    if (!ok) {
        SetError(error, file.error());
        return false;
    }
    RemoveStaleTemporariesOf(path);
    return true;
}

std::string TemporaryName(std::string_view path, unsigned sequence) {
    return std::string(path) + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(sequence);
}

bool IsStaleTemporary(std::string_view name) {
    std::size_t mark = name.rfind(".tmp");
    if (mark == std::string_view::npos || mark == 0) {
        return false;
    }
    std::string_view rest = name.substr(mark + 4);
    std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size() ||
        rest.find_first_not_of("0123456789-") != std::string_view::npos ||
        rest.find('-', dash + 1) != std::string_view::npos || dash > 9) {
        return false;
    }
    pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
    // A process that still runs may still be writing it.
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace velnora::files
