#pragma once

// File names. Inside the program a path is Shift_JIS bytes, built within the fixed bounds of the
// stored formats; on disk, names are UTF-8. Every file-system call of the program converts here.
// A name that has no UTF-8 form fails the one operation that needs it; it never creates a
// mangled file.

#include <optional>
#include <string>
#include <string_view>

namespace velnora::files {

inline constexpr char kSeparator = '/';
inline constexpr std::string_view kSeparatorText = "/";

// The UTF-8 form of a Shift_JIS path; nothing when a byte sequence has no Unicode form, or one
// that has no way back (a name the listing of its directory could not give again), or the path
// holds a zero byte.
std::optional<std::string> ToDiskName(std::string_view path);

// The Shift_JIS form of a UTF-8 name read from disk; nothing when it has none.
std::optional<std::string> FromDiskName(std::string_view disk_name);

// The error text for a name that cannot be converted.
inline constexpr std::string_view kUnconvertibleName =
    "The file name cannot be represented in Shift_JIS and UTF-8";

}  // namespace velnora::files
