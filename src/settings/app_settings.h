#pragma once

// The program settings: one record, read from and written to velnora.ini in the program home.
// Everything that reads a preference reads the record; nothing else reads the file.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velnora::settings {

using ColorRef = std::uint32_t;  // 0x00BBGGRR, as the settings file stores colours

inline constexpr int kHighlightCount = 10;
inline constexpr int kCustomColorCount = 16;
inline constexpr std::string_view kSettingsFileName = "velnora.ini";
inline constexpr std::string_view kDefaultFaceName =
    "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック
inline constexpr std::string_view kDefaultHeader =
    "\x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1 %link; \x81\xa1\x81\xa1\x81\xa1\x81\xa1\x81\xa1 "
    "(%date; %time;) %config;";  // ■■■■■ %link; ■■■■■ (%date; %time;) %config;

struct AppSettings {
    // [FONT]
    std::string face_name{kDefaultFaceName};  // at most 63 bytes
    int point = 10;
    int bold = 0;
    int italic = 0;     // a byte in the file's format
    int underline = 0;  // a byte
    int strikeout = 0;  // a byte
    int charset = 128;  // a byte: the character set number, 128 the Shift_JIS one
    ColorRef color = 0;
    ColorRef back_color = 16777215;
    ColorRef highlight_color = 65535;
    std::array<ColorRef, kCustomColorCount> custom_colors{};
    int line_height = 130;

    // [CONFIG]
    std::string proxy_url;  // at most 2100 bytes
    int proxy_port = 8080;
    int use_proxy = 0;
    int use_head = 1;
    int retry = 3;
    int timeout = 30;
    int n_reload = 3;
    int nochange_msg = 1;
    int max_disp_line = 100;
    int ignore_image_name = 1;
    int disp_image_name = 0;
    int image_link = 0;
    int use_browser = 0;
    std::string browser;  // at most 260 bytes
    int startup_check = 0;
    int finish_message = 1;
    int save_history = 0;
    int use_highlight = 0;
    std::array<std::string, kHighlightCount> highlights;  // at most 64 bytes each
    int use_notify_sound = 0;
    std::string notify_sound;            // at most 260 bytes
    std::string header{kDefaultHeader};  // at most 250 bytes, with real line breaks
    int topmost = 0;                     // read and written with the window placement
};

// Fills every field from the file, with the defaults and range rules.
void LoadAppSettings(std::string_view settings_path, AppSettings& settings);
// Writes every field but the topmost flag back, in the file's order. False when the file could
// not be written.
bool SaveAppSettings(std::string_view settings_path, const AppSettings& settings);

// The header template as stored: its line breaks, which a settings value cannot hold, as the
// bytes 1 (CR) and 2 (LF); and back.
std::string EncodeHeader(std::string_view header);
std::string DecodeHeader(std::string_view stored);

}  // namespace velnora::settings
