#pragma once

// The directories an import makes: the import folder with a free numbered name, the folders of
// the imported tree, and imported pages, whose site.ini holds only their address and
// USE_OLD_LOG = 1 (every other key reads as its default). No result.ini and no logs.

#include <optional>
#include <string>
#include <string_view>

namespace velnora::store {

// How many names the import folder tries: the name itself, then "name(1)" to "name(9999)".
inline constexpr int kImportFolderCandidates = 10000;

// The i-th name of an import folder: the base for 0, else the base followed by "(i)" (the
// second candidate carries the number 1, unlike the tree's own new items).
std::string ImportFolderCandidate(std::string_view base, int i);

// The path of the first import folder candidate under the parent directory that does not
// exist; nothing when every candidate exists or none fits in a path.
std::optional<std::string> FreeImportFolder(std::string_view parent_directory,
                                            std::string_view base, std::string* name = nullptr);

// Makes the folder directory "name.grp" under the parent directory unless it exists. The path
// comes back in `path`; `made` tells whether this call created it. False, with the system's
// text in *error, when the path does not fit or the directory cannot be made.
bool MakeFolderDirectory(std::string_view parent_directory, std::string_view name,
                         std::string& path, bool& made, std::string* error = nullptr);

// Makes the page directory "name.dat" under the folder directory and writes its site.ini.
// False, with the reason in *error, when the path does not fit, the directory exists or
// cannot be made, or site.ini cannot be written (the directory is then removed again).
bool MakeImportedPage(std::string_view folder_directory, std::string_view name,
                      std::string_view url, std::string& path, std::string* error = nullptr);

}  // namespace velnora::store
