#pragma once

// The texts of the page tree's operations and of clearing past logs, in Shift_JIS.

#include <string>
#include <string_view>

#include "store/item_names.h"
#include "text/bounded_string.h"

namespace velnora::window::tree_texts {

// 新規フォルダ, 新規ページ
inline constexpr std::string_view kNewFolderName = store::kNewFolderName;
inline constexpr std::string_view kNewPageName = store::kNewPageName;
// \r\nを削除します。よろしいですか？
inline constexpr std::string_view kDeleteQuestionSuffix =
    "\r\n\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x81"
    "B\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81H";
// 削除の確認
inline constexpr std::string_view kDeleteCaption =
    "\x8D\xED\x8F\x9C\x82\xCC\x8Am\x94"
    "F";
// サイト名が長すぎます。
inline constexpr std::string_view kNameTooLong =
    "\x83T\x83"
    "C\x83g\x96\xBC\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81"
    "B";
// エラー
inline constexpr std::string_view kErrorCaption = "\x83G\x83\x89\x81[";
// 設定エラー
inline constexpr std::string_view kSettingsErrorCaption = "\x90\xDD\x92\xE8\x83G\x83\x89\x81[";
// ファイル名が長すぎるため削除できません。
inline constexpr std::string_view kPathTooLongToDelete =
    "\x83t\x83@\x83"
    "C\x83\x8B\x96\xBC\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xE9\x82\xBD\x82\xDF\x8D\xED\x8F\x9C\x82"
    "\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81"
    "B";
// 削除中...
inline constexpr std::string_view kDeleting = "\x8D\xED\x8F\x9C\x92\x86...";
// 削除しました
inline constexpr std::string_view kDeleted = "\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// 削除できませんでした。
inline constexpr std::string_view kDeleteFailed =
    "\x8D\xED\x8F\x9C\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81"
    "B";
// 削除失敗
inline constexpr std::string_view kDeleteFailedCaption = "\x8D\xED\x8F\x9C\x8E\xB8\x94s";
// 開きます(
inline constexpr std::string_view kOpeningPrefix = "\x8AJ\x82\xAB\x82\xDC\x82\xB7(";

// "開きます(%.100s)": the status text while an address is being opened.
inline std::string OpeningText(std::string_view address) {
    return std::string(kOpeningPrefix) + text::CutToBuffer(address, 101) + ")";
}
// 全ての過去ログおよび更新チェック結果を削除します。\r\n\r\nよろしいですか？
inline constexpr std::string_view kClearQuestion =
    "\x91S\x82\xC4\x82\xCC\x89\xDF\x8B\x8E\x83\x8D\x83O\x82\xA8\x82\xE6\x82\xD1\x8DX\x90V\x83`\x83"
    "F\x83"
    "b\x83N\x8C\x8B\x89\xCA\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x81"
    "B\r\n\r\n\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81H";
// 過去ログの削除
inline constexpr std::string_view kClearCaption =
    "\x89\xDF\x8B\x8E\x83\x8D\x83O\x82\xCC\x8D\xED\x8F\x9C";
// 過去ログ削除中...
inline constexpr std::string_view kClearing =
    "\x89\xDF\x8B\x8E\x83\x8D\x83O\x8D\xED\x8F\x9C\x92\x86...";
// 過去ログ削除中"
inline constexpr std::string_view kClearingPagePrefix =
    "\x89\xDF\x8B\x8E\x83\x8D\x83O\x8D\xED\x8F\x9C\x92\x86\"";
// 過去ログ削除完了。
inline constexpr std::string_view kCleared =
    "\x89\xDF\x8B\x8E\x83\x8D\x83O\x8D\xED\x8F\x9C\x8A\xAE\x97\xB9\x81"
    "B";
// ブラウザが指定されていません
inline constexpr std::string_view kNoBrowser =
    "\x83\x75\x83\x89\x83\x45\x83\x55\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xa2"
    "\x82\xdc\x82\xb9\x82\xf1";
// ブラウザを起動できません
inline constexpr std::string_view kCannotStartBrowser =
    "\x83\x75\x83\x89\x83\x45\x83\x55\x82\xf0\x8b\x4e\x93\xae\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1";
// The caption of the system's error texts.
inline constexpr std::string_view kSystemErrorCaption = "Error";

}  // namespace velnora::window::tree_texts
