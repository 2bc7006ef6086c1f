#pragma once

// The texts a check shows, in Shift_JIS.

#include <string_view>

#include "store/result_texts.h"

namespace velnora::fetch::messages {

// URL未設定。
inline constexpr std::string_view kNoUrl =
    "URL\x96\xA2\x90\xDD\x92\xE8\x81"
    "B";
// ｻｰﾊﾞIPｱﾄﾞﾚｽの取得失敗
inline constexpr std::string_view kLookupStartFailed =
    "\xBB\xB0\xCA\xDEIP\xB1\xC4\xDE\xDA\xBD\x82\xCC\x8E\xE6\x93\xBE\x8E\xB8\x94s";
// ｻｰﾊﾞIPｱﾄﾞﾚｽ取得失敗
inline constexpr std::string_view kLookupFailed =
    "\xBB\xB0\xCA\xDEIP\xB1\xC4\xDE\xDA\xBD\x8E\xE6\x93\xBE\x8E\xB8\x94s";
// ソケット作成失敗
inline constexpr std::string_view kSocketFailed =
    "\x83\x5C\x83P\x83"
    "b\x83g\x8D\xEC\x90\xAC\x8E\xB8\x94s";
// サーバへの接続失敗
inline constexpr std::string_view kConnectFailed =
    "\x83T\x81[\x83o\x82\xD6\x82\xCC\x90\xDA\x91\xB1\x8E\xB8\x94s";
// ｿｹｯﾄｲﾍﾞﾝﾄ通知ｴﾗｰ
inline constexpr std::string_view kSocketEventError =
    "\xBF\xB9\xAF\xC4\xB2\xCD\xDE\xDD\xC4\x92\xCA\x92m\xB4\xD7\xB0";
// タイムアウト発生
inline constexpr std::string_view kTimeout =
    "\x83^\x83"
    "C\x83\x80\x83"
    "A\x83"
    "E\x83g\x94\xAD\x90\xB6";
// 通信エラー発生
inline constexpr std::string_view kCommunicationError =
    "\x92\xCA\x90M\x83G\x83\x89\x81[\x94\xAD\x90\xB6";
// URL解析失敗
inline constexpr std::string_view kBadUrl = "URL\x89\xF0\x90\xCD\x8E\xB8\x94s";
// 受信ファイル作成失敗
inline constexpr std::string_view kResponseFileFailed =
    "\x8E\xF3\x90M\x83t\x83@\x83"
    "C\x83\x8B\x8D\xEC\x90\xAC\x8E\xB8\x94s";
// SSL/TLS接続失敗 (
inline constexpr std::string_view kTlsFailedPrefix = "SSL/TLS\x90\xDA\x91\xB1\x8E\xB8\x94s (";
// プロキシ接続失敗 (
inline constexpr std::string_view kProxyFailedPrefix =
    "\x83v\x83\x8D\x83L\x83V\x90\xDA\x91\xB1\x8E\xB8\x94s (";
// 受信データが50MBを超えたため中止しました
inline constexpr std::string_view kTooLarge =
    "\x8E\xF3\x90M\x83"
    "f\x81[\x83^\x82\xAA"
    "50MB\x82\xF0\x92\xB4\x82\xA6\x82\xBD\x82\xBD\x82\xDF\x92\x86\x8E~"
    "\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// 受信ファイル書き込み失敗 (
inline constexpr std::string_view kWriteFailedPrefix =
    "\x8E\xF3\x90M\x83t\x83@\x83"
    "C\x83\x8B\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x8E\xB8\x94s (";
// 受信データが途中で切れました
inline constexpr std::string_view kTruncated =
    "\x8E\xF3\x90M\x83"
    "f\x81[\x83^\x82\xAA\x93r\x92\x86\x82\xC5\x90\xD8\x82\xEA\x82\xDC\x82\xB5\x82\xBD";
// HTMLデータ取得中 (
inline constexpr std::string_view kFetchingPrefix =
    "HTML\x83"
    "f\x81[\x83^\x8E\xE6\x93\xBE\x92\x86 (";
// 通信を中止しました。
inline constexpr std::string_view kCommunicationAborted =
    "\x92\xCA\x90M\x82\xF0\x92\x86\x8E~\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81"
    "B";
// 処理を中止しました。
inline constexpr std::string_view kProcessingAborted =
    "\x8F\x88\x97\x9D\x82\xF0\x92\x86\x8E~\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81"
    "B";
// 更新なし
inline constexpr std::string_view kNoChange = store::kNoChangeText;
// 初期化しました。
inline constexpr std::string_view kInitialized =
    "\x8F\x89\x8A\xFA\x89\xBB\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81"
    "B";
// 最終更新日に変化なし
inline constexpr std::string_view kNotModified = store::kNotModifiedText;
//  件の更新がありました
inline constexpr std::string_view kUpdatesFoundSuffix =
    " \x8C\x8F\x82\xCC\x8DX\x90V\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB5\x82\xBD";
// 更新はありません
inline constexpr std::string_view kNoUpdates =
    "\x8DX\x90V\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
// 読み込み中 "
inline constexpr std::string_view kLoadingPrefix = "\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x92\x86 \x22";

}  // namespace velnora::fetch::messages
