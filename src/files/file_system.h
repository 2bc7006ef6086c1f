#pragma once

// File-system operations on Shift_JIS paths (see file_names.h). Failures return false (or
// nothing) and, where the caller shows them, the system's error text in *error.

#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/binary_file.h"

namespace velnora::files {

// Why a name is not taken for a file (also the reasons given for a refused open or replace).
inline constexpr std::string_view kNotRegularFileText = "Not a regular file";
inline constexpr std::string_view kSymbolicLinkText = "Is a symbolic link";

bool PathExists(std::string_view path);
// Whether the name itself is a symbolic link (the link is not followed).
bool IsSymbolicLink(std::string_view path);
bool IsDirectory(std::string_view path);
bool IsRegularFile(std::string_view path);
std::optional<std::uint64_t> FileSize(std::string_view path);
std::optional<std::time_t> ModificationTime(std::string_view path);
// The modification time in nanoseconds since the epoch, for ordering files written moments apart.
std::optional<std::int64_t> ModificationTimeNs(std::string_view path);

// Creates one directory; fails when it exists already.
bool MakeDirectory(std::string_view path, std::string* error = nullptr);
// Creates a directory and any missing parents; succeeds when it exists.
bool MakeDirectories(std::string_view path, std::string* error = nullptr);

// Removes a file; false when there was none or it could not be removed.
bool RemoveFile(std::string_view path);
// Removes a directory that holds nothing; false when it could not be removed.
bool RemoveEmptyDirectory(std::string_view path);

// Renames a file or directory. Fails when the target exists, as the moves of the tree expect.
[[nodiscard]] bool MovePath(std::string_view from, std::string_view to,
                            std::string* error = nullptr);

// Renames a file over an existing one in a single step; the old one is never missing in
// between. Refused when the target name is held by anything but a regular file.
[[nodiscard]] bool ReplaceFile(std::string_view from, std::string_view to,
                               std::string* error = nullptr);

struct DirectoryEntry {
    std::string name;           // Shift_JIS
    bool is_directory = false;  // a directory itself, not a link to one
    bool is_symbolic_link = false;
};

// The entries of a directory in the order the file system returns them, "." and ".." left out.
// Entries whose names have no Shift_JIS form are left out too: the program could not name them.
// Symbolic links are not followed: a link to a directory is no directory here, so a walk of the
// tree never leaves it nor goes round in a circle.
std::vector<DirectoryEntry> ListDirectory(std::string_view path);

// Reads a whole regular file as bytes; refused, with a reason, when it is larger than max_size.
bool ReadWholeFile(std::string_view path, std::string& bytes, std::string* error = nullptr,
                   std::uint64_t max_size = std::numeric_limits<std::uint64_t>::max());

// Writes a whole file so that it is never left half written: the bytes go to a temporary file
// beside it, which is renamed over the old one (flushed to the disk first unless told otherwise),
// by the rules given (see FileReplacement). Temporary files of the same file that killed writers
// left behind are removed afterwards.
[[nodiscard]] bool WriteFileAtomically(std::string_view path, std::string_view bytes,
                                       std::string* error = nullptr,
                                       Durability durability = Durability::kSynced,
                                       ReplacementRules rules = {});

// The temporary files of replacements: the file's own name followed by ".tmp", the writing
// process's id, "-" and a sequence number.
std::string TemporaryName(std::string_view path, unsigned sequence);
// A temporary file left behind by a process that has ended (killed while writing it): nobody
// will ever finish it, and it can be removed.
bool IsStaleTemporary(std::string_view name);

// The system's text for an errno value, in Shift_JIS: the system writes it in the locale's
// encoding (UTF-8 under a Japanese desktop), which is converted here, where it enters the
// program.
std::string SystemErrorText(int error_number);

// A text of the system (in the locale's encoding) as Shift_JIS; what Shift_JIS cannot hold
// becomes "?".
std::string FromLocaleText(std::string_view text);

}  // namespace velnora::files
