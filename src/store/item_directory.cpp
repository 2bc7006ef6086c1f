#include "store/item_directory.h"

#include <cerrno>

#include "files/file_names.h"
#include "files/file_system.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "text/bounded_string.h"

namespace velnora::store {

std::optional<std::string> ItemDirectory(std::string_view parent_directory, std::string_view name,
                                         int kind) {
    std::string path;
    if (text::BoundedJoin(path, text::kPathSize,
                          {parent_directory, files::kSeparatorText, name,
                           kind == KIND_FOLDER ? kFolderSuffix : kPageSuffix}) != 0) {
        return std::nullopt;
    }
    return path;
}

ItemDirectoryResult CreateItemDirectory(std::string_view parent_directory, std::string_view name,
                                        int kind, std::string& path, std::string& error) {
    auto directory = ItemDirectory(parent_directory, name, kind);
    if (!directory) {
        return ItemDirectoryResult::kTooLong;
    }
    // A separator would make the directory somewhere below, "." and ".." name existing ones:
    // the system's answer to such a name is an invalid argument.
    if (!IsValidItemName(name)) {
        error = files::SystemErrorText(EINVAL);
        return ItemDirectoryResult::kFailed;
    }
    if (!files::MakeDirectory(*directory, &error)) {
        return ItemDirectoryResult::kFailed;
    }
    path = std::move(*directory);
    return ItemDirectoryResult::kDone;
}

ItemDirectoryResult RenameItemDirectory(const TreeNode& node, std::string_view new_name,
                                        std::string& new_path, std::string& error) {
    auto directory = ItemDirectory(node.parent_directory, new_name, node.kind);
    if (!directory) {
        return ItemDirectoryResult::kTooLong;
    }
    if (new_name == node.name) {
        // Nothing to move; renaming a directory onto itself would only find the name taken.
        new_path = std::move(*directory);
        return ItemDirectoryResult::kDone;
    }
    if (!IsValidItemName(new_name)) {
        error = files::SystemErrorText(EINVAL);
        return ItemDirectoryResult::kFailed;
    }
    if (!files::MovePath(node.path, *directory, &error)) {
        return ItemDirectoryResult::kFailed;
    }
    new_path = std::move(*directory);
    return ItemDirectoryResult::kDone;
}

}  // namespace velnora::store
