#pragma once

// The window's commands: their identifiers, the toolbar's entries and the accelerators, and
// which toolbar button gates which command.

#include <array>
#include <optional>
#include <string_view>

namespace velnora::window {

enum Command : int {
    kAbout = 104,               // ﾊﾞｰｼﾞｮﾝ情報
    kExit = 105,                // ｱﾌﾟﾘｹｰｼｮﾝの終了
    kMenuNewFolder = 32773,     // アイテム > フォルダを追加
    kMenuNewPage = 32774,       // アイテム > ページを追加
    kMenuDelete = 32775,        // アイテム > 削除
    kMenuProperties = 32776,    // アイテム > 設定
    kOptions = 32777,           // オプション
    kStartCheck = 32778,        // チェック
    kAbortCheck = 32779,        // 中止
    kReload = 32780,            // リロード
    kShowWholeText = 32781,     // 確認
    kTopmost = 32782,           // 最前面に固定
    kReloadAll = 32784,         // 全てリロード
    kProperties = 32785,        // 設定 (toolbar, Alt+C)
    kNewFolder = 32786,         // フォルダを追加 (toolbar, Ctrl+Shift+N)
    kNewPage = 32787,           // ページを追加 (toolbar, Ctrl+N)
    kDelete = 32788,            // 削除 (toolbar)
    kImportFavorites = 32789,   // IEのお気に入りをインポート
    kFind = 32790,              // 検索 (toolbar, Ctrl+F)
    kFindNext = 32791,          // 次を検索 (toolbar, F3)
    kMenuFind = 32793,          // 検索 > 検索
    kMenuFindNext = 32794,      // 検索 > 次を検索
    kPastLogSearch = 32795,     // 過去ログ検索
    kNextKeyword = 32797,       // キーワードにジャンプ
    kSaveHtml = 32798,          // ﾛｸﾞをHTML保存
    kResultsInBrowser = 32799,  // 結果をﾌﾞﾗｳｻﾞで開く
    kCopy = 32800,              // コピー
    kSelectAll = 32801,         // すべて選択
    kPrint = 32802,             // 印刷
    kOpenUrlInBrowser = 32803,  // URLをブラウザで開く
    kNextBlock = 32804,         // 次の見出し
    kPreviousBlock = 32805,     // 前の見出し
    kCopyUrl = 32807,           // URLをコピー
    kImportBookmarks = 32808,   // ブックマークをインポート
};

struct ToolbarEntry {
    int command;               // 0 for a separator
    const char* icon;          // resource name
    std::string_view label;    // Shift_JIS, empty when the button has none
    std::string_view tooltip;  // Shift_JIS
};

// The 17 entries of the toolbar, in order (two are separators).
extern const std::array<ToolbarEntry, 17> kToolbar;

// The toolbar button that must be enabled for a command to run; nothing when none gates it.
std::optional<int> GateOf(int command);

// The commands whose toolbar buttons LockCommands greys while it locks.
extern const std::array<int, 10> kLockedButtons;

// Tooltips of the topmost button by state.
extern const std::string_view kTopmostOffTip;  // 最前面に固定 (Ctrl+T)
extern const std::string_view kTopmostOnTip;   // 最前面を解除 (Ctrl+T)

}  // namespace velnora::window
