#pragma once

// The result pane's own texts, in Shift_JIS.

#include <string_view>

namespace velnora::viewer {

inline constexpr std::string_view kLineMark = "\x81\xa1";          // ■
inline constexpr std::string_view kSettingsLinkText = "\x81\xa4";  // ▽
inline constexpr std::string_view kStatusSeparator = " : ";
// " --- エラー : "
inline constexpr std::string_view kErrorSeparator = " --- \x83\x47\x83\x89\x81\x5b : ";

// "\n【！】違いが大きすぎます。( ", the page link, " )\n": an update text longer than the
// line limit.
inline constexpr std::string_view kTooLongOpening =
    "\n\x81\x79\x81\x49\x81\x7a\x88\xe1\x82\xa2\x82\xaa\x91\xe5\x82\xab\x82\xb7\x82\xac\x82\xdc"
    "\x82\xb7\x81\x42( ";
inline constexpr std::string_view kTooLongClosing = " )\n";

// "表示中(" the line count "行)...": the status bar while a long text is shown.
inline constexpr std::string_view kShowingLinesOpening = "\x95\x5c\x8e\xa6\x92\x86(";
inline constexpr std::string_view kShowingLinesClosing = "\x8d\x73)...";

// "[画像:" the name "]", or "[画像]" for an image without a name.
inline constexpr std::string_view kImageOpening = "[\x89\xe6\x91\x9c:";
inline constexpr std::string_view kImageClosing = "]";
inline constexpr std::string_view kImageWithoutName = "[\x89\xe6\x91\x9c]";

// Status line messages: 更新なし, 最終更新日に変化なし, ｴﾗｰ発生, 初期化しました。,
// 処理を中止しました。, 通信を中止しました。
inline constexpr std::string_view kNoChangeMessage = "\x8d\x58\x90\x56\x82\xc8\x82\xb5";
inline constexpr std::string_view kNotModifiedMessage =
    "\x8d\xc5\x8f\x49\x8d\x58\x90\x56\x93\xfa\x82\xc9\x95\xcf\x89\xbb\x82\xc8\x82\xb5";
inline constexpr std::string_view kErrorResultMessage = "\xb4\xd7\xb0\x94\xad\x90\xb6";
inline constexpr std::string_view kFirstCheckMessage =
    "\x8f\x89\x8a\xfa\x89\xbb\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
inline constexpr std::string_view kCheckStoppedMessage =
    "\x8f\x88\x97\x9d\x82\xf0\x92\x86\x8e\x7e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
inline constexpr std::string_view kFetchStoppedMessage =
    "\x92\xca\x90\x4d\x82\xf0\x92\x86\x8e\x7e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

}  // namespace velnora::viewer
