#pragma once

// The keys of velnora.ini, each stated once: section, name, default, range and buffer. Loading
// and saving the program settings, the window placement and the options sheet's fields read
// them. (The [STATISTICS] section belongs to the traffic statistics.)

#include <cstddef>
#include <string_view>

#include "ini/keys.h"
#include "text/bounded_string.h"

namespace velnora::settings::keys {

inline constexpr std::string_view kFont = "FONT";
inline constexpr std::string_view kConfig = "CONFIG";
inline constexpr std::string_view kPosition = "POSITION";

using ini::NumberKey;
using ini::TextKey;

// [FONT]
inline constexpr TextKey kFaceName{kFont, "FACENAME", 64,
                                   "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"};
// ＭＳ Ｐゴシック
inline constexpr NumberKey kPoint{kFont, "POINT", 10};
inline constexpr NumberKey kBold{kFont, "BOLD", 0};
inline constexpr NumberKey kItalic = NumberKey{kFont, "ITALIC", 0}.LowByte();
inline constexpr NumberKey kUnderline = NumberKey{kFont, "UNDERLINE", 0}.LowByte();
inline constexpr NumberKey kStrikeout = NumberKey{kFont, "STRIKEOUT", 0}.LowByte();
// The character set number; 128 is the Shift_JIS one.
inline constexpr NumberKey kCharset = NumberKey{kFont, "CHARSET", 128}.LowByte();
// Colours are 0x00BBGGRR, stored as decimal numbers.
inline constexpr NumberKey kColor{kFont, "COLOR", 0x000000};
inline constexpr NumberKey kBackColor{kFont, "BACKCOLOR", 0xFFFFFF};
inline constexpr NumberKey kHighlightColor{kFont, "HIGHLIGHTCOLOR", 0x00FFFF};
inline constexpr NumberKey kCustomColors = NumberKey{kFont, "CUSTCOLOR", 0}.Numbered(16);
// Per cent of the point size.
inline constexpr NumberKey kLineHeight = NumberKey{kFont, "LINE_HEIGHT", 130}.InRange(100, 200);

// [CONFIG]
inline constexpr TextKey kProxyUrl{kConfig, "PROXY_URL", text::kUrlSize};
inline constexpr NumberKey kProxyPort = NumberKey{kConfig, "PROXY_PORT", 8080}.InRange(1, 65535);
inline constexpr NumberKey kUseProxy{kConfig, "USE_PROXY", 0};
inline constexpr NumberKey kUseHead{kConfig, "USE_HEAD", 1};
inline constexpr NumberKey kRetry = NumberKey{kConfig, "RETRY", 3}.InRange(0, 9);
// Seconds.
inline constexpr NumberKey kTimeout = NumberKey{kConfig, "TIMEOUT", 30}.InRange(5, 99);
inline constexpr NumberKey kNReload = NumberKey{kConfig, "N_RELOAD", 3}.InRange(1, 24);
inline constexpr NumberKey kNoChangeMsg{kConfig, "NOCHANGE_MSG", 1};
inline constexpr NumberKey kMaxDispLine = NumberKey{kConfig, "MAX_DISP_LINE", 100}.InRange(1, 2000);
inline constexpr NumberKey kIgnoreImageName{kConfig, "IGNORE_IMAGE_NAME", 1};
inline constexpr NumberKey kDispImageName{kConfig, "DISP_IMAGE_NAME", 0};
inline constexpr NumberKey kImageLink{kConfig, "IMAGE_LINK", 0};
inline constexpr NumberKey kUseBrowser{kConfig, "USE_BROWSER", 0};
inline constexpr TextKey kBrowser{kConfig, "BROWSER", text::kPathSize};
inline constexpr NumberKey kStartupCheck{kConfig, "STARTUP_CHECK", 0};
inline constexpr NumberKey kFinishMessage{kConfig, "FINISH_MESSAGE", 1};
inline constexpr NumberKey kSaveHistory{kConfig, "SAVE_HISTORY", 0};
inline constexpr NumberKey kUseHighlight{kConfig, "USE_HIGHLIGHT", 0};
inline constexpr TextKey kHighlights = TextKey{kConfig, "HIGHLIGHT", text::kWordSize}.Numbered(10);
inline constexpr NumberKey kUseNotifySound{kConfig, "USE_NOTIFY_SOUND", 0};
inline constexpr TextKey kNotifySound{kConfig, "NOTIFY_SOUND", text::kPathSize};
// The header line template; its line breaks are stored as the bytes 1 (CR) and 2 (LF).
inline constexpr TextKey kHeader{
    kConfig, "HEADER", 251,
    "\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1 %link; \x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1 "
    "(%date; %time;) %config;"};  // ■■■■■ %link; ■■■■■ (%date; %time;) %config;
// Read and written with the window placement.
inline constexpr NumberKey kTopmost{kConfig, "TOPMOST", 0};

// [POSITION]: the main window's normal (restored) frame in screen coordinates, the width of the
// page tree, and whether the window was maximised.
inline constexpr NumberKey kLeft{kPosition, "LEFT", 0};
inline constexpr NumberKey kTop{kPosition, "TOP", 0};
inline constexpr NumberKey kWidth{kPosition, "CX", 620};
inline constexpr NumberKey kHeight{kPosition, "CY", 400};
inline constexpr NumberKey kTreeWidth{kPosition, "W", 150};
inline constexpr NumberKey kMaximized{kPosition, "MAXIMIZED", 0};

}  // namespace velnora::settings::keys
