#include "store/page_files.h"

#include "files/file_names.h"
#include "text/bounded_string.h"

namespace velnora::store {

std::string LogFileName(int slot) {
    return "log" + std::to_string(slot) + ".txt";
}

std::string UpdateFileName(int slot) {
    return "add" + std::to_string(slot) + ".txt";
}

std::optional<std::string> PagePath(std::string_view directory, std::string_view file_name) {
    std::string path;
    if (text::BoundedJoin(path, text::kPathSize, {directory, files::kSeparatorText, file_name}) !=
        0) {
        return std::nullopt;
    }
    return path;
}

}  // namespace velnora::store
