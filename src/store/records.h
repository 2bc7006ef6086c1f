#pragma once

// The records of the page tree: what identifies an item, and the settings and result kept in the
// small INI files of its directory. Records are plain values and are copied whole.

#include <array>
#include <cstdint>
#include <string>

#include "store/settings_keys.h"

namespace velnora::store {

// Identifies an item of the page tree for as long as the program runs (0: none).
using ItemId = std::uint64_t;

enum ItemKind : int {
    KIND_ROOT = 0,
    KIND_FOLDER = 1,
    KIND_PAGE = 2,
};

struct TreeNode {
    ItemId item = 0;
    int kind = KIND_ROOT;
    // The item's directory: for the root the program directory followed by "data"; otherwise
    // the parent directory, a separator, the name and ".grp" or ".dat".
    std::string path;
    // The directory holding the item's directory, without a separator at the end.
    std::string parent_directory;
    std::string name;
};

// One delimited stretch of a page's text: the check area or the ignore area.
struct AreaMarker {
    std::string start_string;  // at most 64 bytes
    std::string end_string;    // at most 64 bytes
    int start_type = 0;
    int end_type = 0;
};

inline constexpr int kNgWordCount = keys::kNgWords.count;

// Section [CONFIG] of a page's site.ini. Each field starts at its key's default
// (settings_keys.h), which is what a missing key reads as.
struct PageSettings {
    std::string url;
    std::string browse_url;
    std::string comment;
    int disable_auto_check = keys::kDisableAutoCheck.fallback;
    int noproxy = keys::kNoProxy.fallback;
    int dont_use_head = keys::kDontUseHead.fallback;
    int use_old_log = keys::kUseOldLog.fallback;
    int ignore_number_diff = keys::kIgnoreNumberDiff.fallback;
    int ignore_number_only_line = keys::kIgnoreNumberOnlyLine.fallback;
    int ignore_same_text = keys::kIgnoreSameText.fallback;
    int ignore_url = keys::kIgnoreUrl.fallback;
    int as_text = keys::kAsText.fallback;
    int table_setting = keys::kTableSetting.fallback;
    int charset_sel = keys::kCharsetSel.fallback;
    std::array<std::string, kNgWordCount> ngwords;
    int auth_type = keys::kAuthType.fallback;
    std::string auth_id;
    std::string auth_pass;  // the stored (scrambled) form, passed through unchanged
    AreaMarker check_area;
    AreaMarker ignore_area;
    int check_interval = keys::kCheckInterval.fallback;  // minutes; kFollowFolder: as its folder
};

// Section [CONFIG] of a folder's group.ini (and, read only, of the data directory's).
struct FolderSettings {
    int disable_auto_check = keys::kDisableAutoCheck.fallback;
    int check_interval = keys::kCheckInterval.fallback;  // minutes; kFollowFolder: as its folder
};

// Section [RESULT] of a page's result.ini: the outcome of its last check.
enum ResultCode : int {
    RESULT_NONE = 0,
    RESULT_NO_CHANGE = 1,
    RESULT_NOT_MODIFIED = 2,
    RESULT_UPDATED = 3,
    RESULT_ERROR = 4,
};

struct PageResult {
    int code = RESULT_NONE;
};

// A tree item as the program holds and copies it. For a page the settings are its site.ini; for
// a folder and the root only settings.disable_auto_check and settings.check_interval are used,
// and they are their FolderSettings (the root's interval is the program's).
struct ItemRecord {
    TreeNode node;
    PageSettings settings;
    // Why a page's site.ini could not be read (empty when it could): such a page is not checked
    // but ends in an error line.
    std::string settings_error;
};

}  // namespace velnora::store
