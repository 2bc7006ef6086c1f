#pragma once

// Reading and writing the settings and result files of page and folder directories. Every
// operation takes the item's directory and returns 0, or -1 when the file's path does not fit in
// a path buffer; nothing is read or written then and the record is left as it was.

#include <string_view>

#include "store/records.h"

namespace velnora::store {

int ReadPageSettings(std::string_view page_directory, PageSettings& record);
// Writes every key of the record, in the order of a newly created file.
int WritePageSettings(std::string_view page_directory, const PageSettings& record);

int ReadFolderSettings(std::string_view directory, FolderSettings& record);
int WriteFolderSettings(std::string_view directory, const FolderSettings& record);

// DISABLE_AUTO_CHECK of a page's site.ini or a folder's group.ini (0 when missing), or -1 when
// the path does not fit.
int ReadAutoCheckFlag(bool is_page, std::string_view directory);

// CHECK_INTERVAL alone of a page's site.ini or a folder's group.ini (kFollowFolder removes the
// key); every other line stays. -1 when the path does not fit or the file cannot be written.
int WriteCheckInterval(bool is_page, std::string_view directory, int minutes);

// CODE of the page's result.ini (0 when missing), or -1 when the path does not fit.
int ReadResultCode(std::string_view page_directory);
int WriteResultCode(std::string_view page_directory, int code);

}  // namespace velnora::store
