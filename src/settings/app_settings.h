#pragma once

// The program settings: one record, read from and written to velnora.ini in the program home.
// Everything that reads a preference reads the record; nothing else reads the file.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/keys.h"

namespace velnora::settings {

using ColorRef = std::uint32_t;  // 0x00BBGGRR, as the settings file stores colours

inline constexpr int kHighlightCount = keys::kHighlights.count;
inline constexpr int kCustomColorCount = keys::kCustomColors.count;
inline constexpr std::string_view kSettingsFileName = "velnora.ini";

// Each field starts at its key's default (keys.h).
struct AppSettings {
    // [FONT]
    std::string face_name{keys::kFaceName.fallback};
    int point = keys::kPoint.fallback;
    int bold = keys::kBold.fallback;
    int italic = keys::kItalic.fallback;
    int underline = keys::kUnderline.fallback;
    int strikeout = keys::kStrikeout.fallback;
    int charset = keys::kCharset.fallback;
    ColorRef color = keys::kColor.fallback;
    ColorRef back_color = keys::kBackColor.fallback;
    ColorRef highlight_color = keys::kHighlightColor.fallback;
    std::array<ColorRef, kCustomColorCount> custom_colors{};
    int line_height = keys::kLineHeight.fallback;

    // [CONFIG]
    std::string proxy_url;
    int proxy_port = keys::kProxyPort.fallback;
    int use_proxy = keys::kUseProxy.fallback;
    int use_head = keys::kUseHead.fallback;
    int retry = keys::kRetry.fallback;
    int timeout = keys::kTimeout.fallback;
    int n_reload = keys::kNReload.fallback;
    int nochange_msg = keys::kNoChangeMsg.fallback;
    int max_disp_line = keys::kMaxDispLine.fallback;
    int ignore_image_name = keys::kIgnoreImageName.fallback;
    int disp_image_name = keys::kDispImageName.fallback;
    int image_link = keys::kImageLink.fallback;
    int use_browser = keys::kUseBrowser.fallback;
    std::string browser;
    int startup_check = keys::kStartupCheck.fallback;
    int finish_message = keys::kFinishMessage.fallback;
    int save_history = keys::kSaveHistory.fallback;
    int use_highlight = keys::kUseHighlight.fallback;
    std::array<std::string, kHighlightCount> highlights;
    int use_notify_sound = keys::kUseNotifySound.fallback;
    std::string notify_sound;
    std::string header{keys::kHeader.fallback};  // with real line breaks
    int topmost = keys::kTopmost.fallback;       // read and written with the window placement
    int check_interval = keys::kCheckInterval.fallback;  // minutes; the data directory's
    int active_from = keys::kActiveFrom.fallback;        // minutes after local midnight
    int active_to = keys::kActiveTo.fallback;
    int auto_check = keys::kAutoCheck.fallback;
    int follow_redirects = keys::kFollowRedirects.fallback;
    int desktop_notify = keys::kDesktopNotify.fallback;
    int keep_in_tray = keys::kKeepInTray.fallback;
};

// Fills every field from the file, with the defaults and range rules.
void LoadAppSettings(std::string_view settings_path, AppSettings& settings);
// Writes every field but the topmost flag back, in the file's order. False, with the reason,
// when the file could not be read or written (it is then left as it is).
[[nodiscard]] bool SaveAppSettings(std::string_view settings_path, const AppSettings& settings,
                                   std::string* error = nullptr);

// The header template as stored: its line breaks, which a settings value cannot hold, as the
// bytes 1 (CR) and 2 (LF); and back.
std::string EncodeHeader(std::string_view header);
std::string DecodeHeader(std::string_view stored);

}  // namespace velnora::settings
