#pragma once

// The files of a page directory, their paths, and the arithmetic of the log ring.

#include <optional>
#include <string>
#include <string_view>

namespace velnora::store {

inline constexpr std::string_view kSiteIni = "site.ini";
inline constexpr std::string_view kGroupIni = "group.ini";
inline constexpr std::string_view kResultIni = "result.ini";
inline constexpr std::string_view kIndexFile = "index.txt";
inline constexpr std::string_view kHeadFile = "head.txt";
inline constexpr std::string_view kNewFile = "new.txt";
inline constexpr std::string_view kAddFile = "add.txt";
inline constexpr std::string_view kResponseFile = "html.txt";
inline constexpr std::string_view kReceivingFile = "htmltmp.txt";
inline constexpr std::string_view kFolderSuffix = ".grp";
inline constexpr std::string_view kPageSuffix = ".dat";
inline constexpr std::string_view kDataDirectoryName = "data";

// The ring of past logs (log%d.txt) and update texts (add%d.txt).
inline constexpr int kLogSlots = 25;

// The slot after n: n + 1, and 0 after 24 (also for an index that is out of range, so that a
// damaged index.txt still leads into the ring).
constexpr int NextSlot(int n) {
    return (n + 1 >= kLogSlots || n + 1 < 0) ? 0 : n + 1;
}

// The j-th slot before n: n - j, plus 25 while that is negative.
constexpr int SlotBefore(int n, int j) {
    int k = (n - j) % kLogSlots;
    return k < 0 ? k + kLogSlots : k;
}

std::string LogFileName(int slot);     // "log%d.txt"
std::string UpdateFileName(int slot);  // "add%d.txt"

// The directory, a separator and the file name, when that fits in a path buffer (260 bytes).
std::optional<std::string> PagePath(std::string_view directory, std::string_view file_name);

}  // namespace velnora::store
