#pragma once

// The texts of the tray and of the desktop notifications, in Shift_JIS.

#include <string_view>

namespace velnora::window::notice_texts {

// ウィンドウを開く
inline constexpr std::string_view kTrayOpen =
    "\x83"
    "E\x83"
    "B\x83\x93\x83h\x83"
    "E\x82\xF0\x8AJ\x82\xAD";
// 今すぐチェック
inline constexpr std::string_view kTrayCheckNow =
    "\x8D\xA1\x82\xB7\x82\xAE\x83\x60\x83"
    "F\x83"
    "b\x83N";
// 自動チェックを一時停止
inline constexpr std::string_view kTrayPause =
    "\x8E\xA9\x93\xAE\x83\x60\x83"
    "F\x83"
    "b\x83N\x82\xF0\x88\xEA\x8E\x9E\x92\xE2\x8E\x7E";
// 終了
inline constexpr std::string_view kTrayExit = "\x8FI\x97\xB9";
// 未読の更新があるページ:
inline constexpr std::string_view kUnreadTipPrefix =
    "\x96\xA2\x93\xC7\x82\xCC\x8DX\x90V\x82\xAA\x82\xA0\x82\xE9\x83y\x81[\x83W: ";
//  ほか
inline constexpr std::string_view kOthersPrefix = " \x82\xD9\x82\xA9 ";
//  件
inline constexpr std::string_view kOthersSuffix = " \x8C\x8F";
// 、
inline constexpr std::string_view kNameSeparator =
    "\x81"
    "A";

}  // namespace velnora::window::notice_texts
