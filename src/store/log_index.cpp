#include "store/log_index.h"

#include <cerrno>
#include <optional>
#include <string>

#include "files/file_system.h"
#include "files/text_file.h"
#include "store/page_files.h"

namespace velnora::store {

namespace {

// The leading digits of index.txt's first line; nothing when the file cannot be read or its
// line begins with no digit.
std::optional<int> StoredIndex(const std::string& path) {
    files::TextReader reader;
    std::string line;
    if (!reader.Open(path) || !reader.ReadLine(line, 261)) {
        return std::nullopt;
    }
    if (line.empty() || line[0] < '0' || line[0] > '9') {
        return std::nullopt;
    }
    int value = 0;
    for (char c : line) {
        if (c < '0' || c > '9') {
            break;
        }
        if (value > 100000000) {
            break;  // no ring has that many slots; stop before the number overflows
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// A past log that holds text. An empty one counts as missing: it is what a power cut leaves of
// a log whose text had not reached the disk yet.
bool LogHoldsText(std::string_view page_directory, int slot) {
    auto path = PagePath(page_directory, LogFileName(slot));
    auto size = path ? files::FileSize(*path) : std::nullopt;
    return size && *size > 0;
}

// The slot of the most recently written past log that holds text; nothing when there is none.
std::optional<int> NewestLog(std::string_view page_directory) {
    std::optional<int> newest;
    std::int64_t newest_time = 0;
    for (int k = 0; k < kLogSlots; ++k) {
        auto path = PagePath(page_directory, LogFileName(k));
        if (!path || !LogHoldsText(page_directory, k)) {
            continue;
        }
        auto time = files::ModificationTimeNs(*path);
        if (time && (!newest || *time > newest_time)) {
            newest = k;
            newest_time = *time;
        }
    }
    return newest;
}

}  // namespace

int ReadLogIndex(std::string_view page_directory) {
    auto path = PagePath(page_directory, kIndexFile);
    if (!path) {
        return 0;
    }
    std::optional<int> stored = StoredIndex(*path);
    if (stored && *stored < kLogSlots && LogHoldsText(page_directory, *stored)) {
        return *stored;
    }
    if (auto newest = NewestLog(page_directory)) {
        return *newest;
    }
    return stored.value_or(0);
}

bool PrepareLogIndex(std::string_view page_directory, int n, files::FileReplacement& file) {
    auto path = PagePath(page_directory, kIndexFile);
    if (!path) {
        file.Abandon();
        return false;
    }
    return file.Open(*path) && file.Write(std::to_string(n));
}

bool WriteLogIndex(std::string_view page_directory, int n, std::string* error) {
    files::FileReplacement file;
    bool ok = PrepareLogIndex(page_directory, n, file) && file.Commit();
    if (!ok && error != nullptr) {
        *error = file.error().empty() ? files::SystemErrorText(ENAMETOOLONG) : file.error();
    }
    return ok;
}

}  // namespace velnora::store
