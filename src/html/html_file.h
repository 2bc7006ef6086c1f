#pragma once

// Writing the program's HTML files: in text mode as its other text files (each line feed stored
// as CR LF), replaced as a whole through a temporary file and a rename, so that a failed write
// leaves the old file as it was and a symbolic link in the file's place is never written
// through.

#include <string>
#include <string_view>

namespace velnora::html {

// Permissions of the files the user may share (the saved log) and of those that hold what the
// user reads and may not want others to see (the browser file), before the umask.
inline constexpr unsigned kSharedFilePermissions = 0666;
inline constexpr unsigned kPrivateFilePermissions = 0600;

// The text with every line feed as CR LF.
std::string WithCrLf(std::string_view text);

// Writes the text (line feeds as CR LF) as the file at the Shift_JIS path. False, with the
// system's reason in *error, when it could not be written; the old file is then untouched.
[[nodiscard]] bool WriteHtmlFile(std::string_view path, std::string_view text, unsigned permissions,
                                 std::string* error = nullptr);

}  // namespace velnora::html
