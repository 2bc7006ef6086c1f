#include "files/file_names.h"

#include <algorithm>

#include "text/cp932.h"

namespace velnora::files {

std::optional<std::string> ToDiskName(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    auto disk = text::ShiftJisToUtf8Strict(path);
    // A name must also come back from the disk: a user-defined character (lead bytes F0 to F9)
    // goes to a private-use code point that has no way back, and a file so named would be
    // made but never listed again.
    auto is_ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (disk && !std::all_of(path.begin(), path.end(), is_ascii) &&
        !text::Utf8ToShiftJisStrict(*disk)) {
        return std::nullopt;
    }
    return disk;
}

std::optional<std::string> FromDiskName(std::string_view disk_name) {
    if (disk_name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return text::Utf8ToShiftJisStrict(disk_name);
}

}  // namespace velnora::files
