#pragma once

// Link files: a Windows Internet shortcut (".url", the address under [InternetShortcut]) and a
// desktop link (".desktop", the address under [Desktop Entry]). The link's name is its file's
// name without the extension.

#include <optional>
#include <string>
#include <string_view>

namespace velnora::imports {

// The largest link file read.
inline constexpr std::size_t kMaxLinkFileBytes = 64 * 1024;

// Whether a file name (UTF-8) ends in ".url" or ".desktop", without regard to letter case.
bool IsLinkFileName(std::string_view name);
// The file name without its ".url" or ".desktop" (a name that is only the extension stays).
std::string LinkFileTitle(std::string_view name);
// The address a link file's bytes hold (UTF-8; empty when it has none), by the kind its name
// says.
std::string LinkFileAddress(std::string_view name, std::string_view bytes);

// Reads a link file from disk: its address, or nothing when it cannot be read or is too large.
std::optional<std::string> ReadLinkFile(std::string_view disk_path);

}  // namespace velnora::imports
