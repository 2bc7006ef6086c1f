#pragma once

// File-system operations on Shift_JIS paths (see file_names.h). Failures return false (or
// nothing) and, where the caller shows them, the system's error text in *error.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::files {

bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);
bool IsRegularFile(std::string_view path);
std::optional<std::uint64_t> FileSize(std::string_view path);
std::optional<std::time_t> ModificationTime(std::string_view path);

// Creates one directory; fails when it exists already.
bool MakeDirectory(std::string_view path, std::string* error = nullptr);
// Creates a directory and any missing parents; succeeds when it exists.
bool MakeDirectories(std::string_view path, std::string* error = nullptr);

// Removes a file; false when there was none or it could not be removed.
bool RemoveFile(std::string_view path);

// Renames a file or directory. Fails when the target exists, as the moves of the tree expect.
bool MovePath(std::string_view from, std::string_view to, std::string* error = nullptr);

// Renames a file over an existing one in a single step.
bool ReplaceFile(std::string_view from, std::string_view to, std::string* error = nullptr);

struct DirectoryEntry {
    std::string name;  // Shift_JIS
    bool is_directory = false;
};

// The entries of a directory in the order the file system returns them, "." and ".." left out.
// Entries whose names have no Shift_JIS form are left out too: the program could not name them.
std::vector<DirectoryEntry> ListDirectory(std::string_view path);

// Reads a whole file as bytes.
bool ReadWholeFile(std::string_view path, std::string& bytes, std::string* error = nullptr);

// Writes a whole file so that it is never left half written: the bytes go to a temporary file
// beside it, which is then renamed over the old one (a symbolic link in its place is replaced,
// never written through). The new file has the given permissions, less the process's umask.
bool WriteFileAtomically(std::string_view path, std::string_view bytes,
                         std::string* error = nullptr, unsigned permissions = 0666);

// The system's text for an errno value, in Shift_JIS: the system writes it in the locale's
// encoding (UTF-8 under a Japanese desktop), which is converted here, where it enters the
// program.
std::string SystemErrorText(int error_number);

// A text of the system (in the locale's encoding) as Shift_JIS; what Shift_JIS cannot hold
// becomes "?".
std::string FromLocaleText(std::string_view text);

}  // namespace velnora::files
