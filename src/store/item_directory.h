#pragma once

// The directories of tree items: where an item's directory lies, and creating and renaming it.
// The file system is the only judge of a name: a name that is taken or that cannot be a
// directory name fails with the system's error text, as a refused name fails on any desktop.

#include <optional>
#include <string>
#include <string_view>

#include "store/records.h"

namespace velnora::store {

// The parent directory, a separator, the name and ".grp" for a folder or ".dat" for a page;
// nothing when that does not fit in a path buffer.
std::optional<std::string> ItemDirectory(std::string_view parent_directory, std::string_view name,
                                         int kind);

enum class ItemDirectoryResult {
    kDone,     // the directory was made or renamed
    kTooLong,  // its path does not fit in a path buffer; nothing was done
    kFailed,   // the file system refused; the error text says why
};

// Makes the directory of a new item. On kDone, path holds the new directory.
ItemDirectoryResult CreateItemDirectory(std::string_view parent_directory, std::string_view name,
                                        int kind, std::string& path, std::string& error);

// Gives an existing item's directory a new name in the same parent directory; an existing
// directory of that name is never replaced, and the item's own name is no change. On kDone,
// new_path holds the new directory.
ItemDirectoryResult RenameItemDirectory(const TreeNode& node, std::string_view new_name,
                                        std::string& new_path, std::string& error);

}  // namespace velnora::store
