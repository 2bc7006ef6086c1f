#include "store/page_files.h"

#include "common/bounded_string.h"
#include "platform/file_names.h"

namespace velnora::store {

std::string LogFileName(int slot) {
    return "log" + std::to_string(slot) + ".txt";
}

std::string UpdateFileName(int slot) {
    return "add" + std::to_string(slot) + ".txt";
}

std::optional<std::string> PagePath(std::string_view directory, std::string_view file_name) {
    std::string path;
    if (common::BoundedJoin(path, common::kPathSize,
                            {directory, platform::kSeparatorText, file_name}) != 0) {
        return std::nullopt;
    }
    return path;
}

}  // namespace velnora::store
