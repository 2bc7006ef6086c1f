#include "store/item_names.h"

#include "files/file_names.h"
#include "files/file_system.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"

namespace velnora::store {

std::string CandidateName(std::string_view base, int i) {
    std::string name(base);
    if (i > 0) {
        name += "(" + std::to_string(i + 1) + ")";
    }
    return name;
}

std::optional<std::string> FreeItemName(std::string_view directory, std::string_view base,
                                        std::string_view suffix) {
    for (int i = 0; i < kNameCandidates; ++i) {
        std::string name = CandidateName(base, i);
        std::string path;
        if (text::BoundedJoin(path, text::kPathSize,
                              {directory, files::kSeparatorText, name, suffix}) != 0) {
            continue;
        }
        if (!files::PathExists(path)) {
            return name;
        }
    }
    return std::nullopt;
}

bool IsValidItemName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return text::FindByte(name, files::kSeparator) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

}  // namespace velnora::store
