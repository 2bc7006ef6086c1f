#pragma once

// Reading and writing the settings and result files of page and folder directories. Every
// operation takes the item's directory and returns 0, or -1 when the file's path does not fit in
// a path buffer; nothing is read or written then and the record is left as it was. A write also
// returns -1, with the reason in *error, when the file could not be written or was refused on
// reading (too large, no regular file): the file then stays as it was.

#include <functional>
#include <string>
#include <string_view>

#include "files/binary_file.h"
#include "ini/ini_file.h"
#include "store/records.h"

namespace velnora::store {

// Also -1, with the reason, when site.ini is there but cannot be read or is refused.
int ReadPageSettings(std::string_view page_directory, PageSettings& record,
                     std::string* error = nullptr);
// Writes every key of the record, in the order of a newly created file.
[[nodiscard]] int WritePageSettings(std::string_view page_directory, const PageSettings& record,
                                    std::string* error = nullptr);

int ReadFolderSettings(std::string_view directory, FolderSettings& record);
[[nodiscard]] int WriteFolderSettings(std::string_view directory, const FolderSettings& record,
                                      std::string* error = nullptr);

// DISABLE_AUTO_CHECK of a page's site.ini or a folder's group.ini (0 when missing), or -1 when
// the path does not fit.
int ReadAutoCheckFlag(bool is_page, std::string_view directory);

// CHECK_INTERVAL alone of a page's site.ini or a folder's group.ini (kFollowFolder removes the
// key); every other line stays. -1 when the path does not fit or the file cannot be written.
[[nodiscard]] int WriteCheckInterval(bool is_page, std::string_view directory, int minutes);

// CODE of the page's result.ini (0 when missing), or -1 when the path does not fit.
int ReadResultCode(std::string_view page_directory);
[[nodiscard]] int WriteResultCode(std::string_view page_directory, int code,
                                  std::string* error = nullptr);

// Loads one settings file of an item's directory, lets `change` edit it and saves it; a change
// that returns false has nothing to write and leaves the file as it is. -1, with the reason,
// when the path does not fit or the file cannot be read or written (a file that exists but
// cannot be read is never replaced).
[[nodiscard]] int ChangeItemIni(std::string_view directory, std::string_view file_name,
                                const std::function<bool(ini::IniFile&)>& change,
                                std::string* error = nullptr,
                                files::Durability durability = files::Durability::kSynced);

}  // namespace velnora::store
