#include "files/file_names.h"

#include "text/cp932.h"

namespace velnora::files {

std::optional<std::string> ToDiskName(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return text::ShiftJisToUtf8Strict(path);
}

std::optional<std::string> FromDiskName(std::string_view disk_name) {
    if (disk_name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return text::Utf8ToShiftJisStrict(disk_name);
}

}  // namespace velnora::files
