#pragma once

// Names of new items: a free name in a directory, made unique with "(%d)", and the names the
// file system cannot take.

#include <optional>
#include <string>
#include <string_view>

namespace velnora::store {

// The names of new items before numbering: 新規フォルダ and 新規ページ.
inline constexpr std::string_view kNewFolderName = "\x90V\x8BK\x83t\x83H\x83\x8B\x83_";
inline constexpr std::string_view kNewPageName = "\x90V\x8BK\x83y\x81[\x83W";

// How many candidates are tried before giving up.
inline constexpr int kNameCandidates = 1000;

// The i-th candidate for a base name: the name itself for 0, else the name followed by
// "(i + 1)" (so the second candidate carries the number 2).
std::string CandidateName(std::string_view base, int i);

// The first candidate whose directory (directory, separator, candidate, suffix) does not exist.
// Candidates whose path does not fit are passed over; nothing when none is free.
std::optional<std::string> FreeItemName(std::string_view directory, std::string_view base,
                                        std::string_view suffix);

// Whether a name can be the name of a directory: not empty, not "." or "..", and without the
// path separator or a zero byte (checked on Shift_JIS characters, not on second bytes).
bool IsValidItemName(std::string_view name);

}  // namespace velnora::store
