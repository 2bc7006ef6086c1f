#pragma once

// index.txt: the slot of the newest past log and update text, in decimal digits, no line end.

#include <string_view>

namespace velnora::store {

// The leading decimal digits of index.txt's first line; 0 when the path is too long, the file is
// missing or empty, or its line begins with no digit.
int ReadLogIndex(std::string_view page_directory);

// Creates or truncates index.txt and writes n. Does nothing when the path is too long or the file
// cannot be created.
void WriteLogIndex(std::string_view page_directory, int n);

}  // namespace velnora::store
