#pragma once

// index.txt: the slot of the newest past log and update text, in decimal digits, no line end.

#include <string>
#include <string_view>

#include "files/binary_file.h"

namespace velnora::store {

// The current log index: the number index.txt holds when that names a past log that holds text.
// An index that does not (missing, empty, not a number, out of range, or naming a log that is
// gone or empty) is rebuilt from the newest past log with text on disk, by modification time, so
// that a damaged index never makes the ring start over while its history is still there. Only
// when the page has no such log does the index read as it stands (its leading digits; 0 when it
// has none). 0 when the path is too long.
int ReadLogIndex(std::string_view page_directory);

// Writes n to a replacement of index.txt that is not yet in place: Commit puts it there in one
// step. False, with the reason in file.error(), when the path is too long or the file cannot be
// written.
[[nodiscard]] bool PrepareLogIndex(std::string_view page_directory, int n,
                                   files::FileReplacement& file);

// Replaces index.txt by one holding n. False, with the reason in *error, when that failed; the
// old index.txt then stays.
[[nodiscard]] bool WriteLogIndex(std::string_view page_directory, int n,
                                 std::string* error = nullptr);

}  // namespace velnora::store
