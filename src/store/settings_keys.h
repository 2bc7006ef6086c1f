#pragma once

// The keys of a page's site.ini, a folder's group.ini and a page's result.ini, each stated once:
// section, name, default, range and buffer. Reading and writing the records and the property
// sheets' fields read them.

#include <string_view>

#include "ini/keys.h"
#include "text/bounded_string.h"

namespace velnora::store::keys {

inline constexpr std::string_view kConfig = "CONFIG";
inline constexpr std::string_view kResult = "RESULT";

using ini::NumberKey;
using ini::TextKey;

// site.ini [CONFIG]
inline constexpr TextKey kUrl{kConfig, "URL", text::kUrlSize};
// The address opened in the browser, when it is not the checked one.
inline constexpr TextKey kBrowseUrl{kConfig, "BROWSE_URL", text::kUrlSize};
inline constexpr TextKey kComment{kConfig, "COMMENT", 101};
inline constexpr NumberKey kNoProxy{kConfig, "NOPROXY", 0};
inline constexpr NumberKey kDontUseHead{kConfig, "DONT_USE_HEAD", 0};
// How many past logs a new line is also compared with.
inline constexpr NumberKey kUseOldLog = NumberKey{kConfig, "USE_OLD_LOG", 1}.InRange(0, 24);
inline constexpr NumberKey kIgnoreNumberDiff{kConfig, "IGNORE_NUMBER_DIFF", 0};
inline constexpr NumberKey kIgnoreNumberOnlyLine{kConfig, "IGNORE_NUMBER_ONLY_LINE", 0};
inline constexpr NumberKey kIgnoreSameText{kConfig, "IGNORE_SAME_TEXT", 0};
inline constexpr NumberKey kIgnoreUrl{kConfig, "IGNORE_URL", 0};
inline constexpr NumberKey kAsText{kConfig, "AS_TEXT", 0};
inline constexpr NumberKey kTableSetting{kConfig, "TABLE_SETTING", 0};
inline constexpr NumberKey kCharsetSel{kConfig, "CHARSET_SEL", 0};
inline constexpr TextKey kNgWords = TextKey{kConfig, "NGWORD", text::kWordSize}.Numbered(10);
inline constexpr NumberKey kAuthType{kConfig, "AUTH_TYPE", 0};
inline constexpr TextKey kAuthId{kConfig, "AUTH_ID", text::kWordSize};
// The password's stored (scrambled) form, longer than the password itself.
inline constexpr TextKey kAuthPass{kConfig, "AUTH_PASS", 193};
inline constexpr TextKey kCheckAreaStart{kConfig, "CHECK_AREA_START_STRING", text::kWordSize};
inline constexpr TextKey kCheckAreaEnd{kConfig, "CHECK_AREA_END_STRING", text::kWordSize};
inline constexpr NumberKey kCheckAreaStartType{kConfig, "CHECK_AREA_START_TYPE", 0};
inline constexpr NumberKey kCheckAreaEndType{kConfig, "CHECK_AREA_END_TYPE", 0};
inline constexpr TextKey kIgnoreAreaStart{kConfig, "IGNORE_AREA_START_STRING0", text::kWordSize};
inline constexpr TextKey kIgnoreAreaEnd{kConfig, "IGNORE_AREA_END_STRING0", text::kWordSize};
inline constexpr NumberKey kIgnoreAreaStartType{kConfig, "IGNORE_AREA_START_TYPE0", 0};
inline constexpr NumberKey kIgnoreAreaEndType{kConfig, "IGNORE_AREA_END_TYPE0", 0};

// site.ini and group.ini [CONFIG]: the item is left out of checks of its folders.
inline constexpr NumberKey kDisableAutoCheck{kConfig, "DISABLE_AUTO_CHECK", 0};
// site.ini and group.ini [CONFIG]: minutes between automatic checks, 0 for "only by hand". No
// key (kFollowFolder) means "as its folder"; the data directory's value is the program's.
inline constexpr int kFollowFolder = -1;
inline constexpr int kMaxCheckInterval = 525600;  // a year
inline constexpr NumberKey kCheckInterval = NumberKey{kConfig, "CHECK_INTERVAL", kFollowFolder}
                                                .InRange(0, kMaxCheckInterval)
                                                .OmittedAtFallback();

// result.ini [RESULT]: the outcome of the page's last check (ResultCode).
inline constexpr NumberKey kCode{kResult, "CODE", 0};
// result.ini [RESULT]: when the page's last check began (seconds since 1970-01-01 UTC, in
// decimal; no key: never).
inline constexpr TextKey kLastCheck{kResult, "LAST_CHECK", 21};
// result.ini [RESULT]: 1 while the page holds updates whose results have not been shown.
inline constexpr NumberKey kUnread = NumberKey{kResult, "UNREAD", 0}.OmittedAtFallback();
// result.ini [RESULT]: the address the page's URL moved to for good (301 or 308), offered on
// the page sheet; no key when it did not move.
inline constexpr TextKey kMovedUrl =
    TextKey{kResult, "MOVED_URL", text::kUrlSize}.OmittedAtFallback();

}  // namespace velnora::store::keys
