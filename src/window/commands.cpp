#include "window/commands.h"

#include <algorithm>

namespace velnora::window {

const std::array<ToolbarEntry, 17> kToolbar = {{
    // チェック / チェック開始 (Ctrl+G)
    {32778, ":/icons/check.svg",
     "\x83`\x83"
     "F\x83"
     "b\x83N",
     "\x83`\x83"
     "F\x83"
     "b\x83N\x8AJ\x8En (Ctrl+G)"},
    // 中止 / 中止 (ESC)
    {32779, ":/icons/abort.svg", "\x92\x86\x8E~", "\x92\x86\x8E~ (ESC)"},
    // ﾘﾛｰﾄﾞ / リロード (Ctrl+R)
    {32780, ":/icons/reload.svg", "\xD8\xDB\xB0\xC4\xDE", "\x83\x8A\x83\x8D\x81[\x83h (Ctrl+R)"},
    // 全ﾘﾛｰﾄﾞ / 全てリロード (Ctrl+Shift+R)
    {32784, ":/icons/reload-all.svg", "\x91S\xD8\xDB\xB0\xC4\xDE",
     "\x91S\x82\xC4\x83\x8A\x83\x8D\x81[\x83h (Ctrl+Shift+R)"},
    // 確認
    {32781,
     ":/icons/show-text.svg",
     {},
     "\x8Am\x94"
     "F"},
    // 最前面に固定 (Ctrl+T)
    {32782,
     ":/icons/topmost-off.svg",
     {},
     "\x8D\xC5\x91O\x96\xCA\x82\xC9\x8C\xC5\x92\xE8 (Ctrl+T)"},
    {0, nullptr, {}, {}},
    // 設定 (Alt+C)
    {32785, ":/icons/settings.svg", {}, "\x90\xDD\x92\xE8 (Alt+C)"},
    // フォルダを追加 (Ctrl+Shift+N)
    {32786,
     ":/icons/add-folder.svg",
     {},
     "\x83t\x83H\x83\x8B\x83_\x82\xF0\x92\xC7\x89\xC1 (Ctrl+Shift+N)"},
    // ページを追加 (Ctrl+N)
    {32787, ":/icons/add-page.svg", {}, "\x83y\x81[\x83W\x82\xF0\x92\xC7\x89\xC1 (Ctrl+N)"},
    // 削除
    {32788, ":/icons/delete.svg", {}, "\x8D\xED\x8F\x9C"},
    {0, nullptr, {}, {}},
    // 検索 (Ctrl+F)
    {32790, ":/icons/find.svg", {}, "\x8C\x9F\x8D\xF5 (Ctrl+F)"},
    // 次を検索 (F3)
    {32791, ":/icons/find-next.svg", {}, "\x8E\x9F\x82\xF0\x8C\x9F\x8D\xF5 (F3)"},
    // キーワードにジャンプ (Ctrl+K)
    {32797,
     ":/icons/keyword.svg",
     {},
     "\x83L\x81[\x83\x8F\x81[\x83h\x82\xC9\x83W\x83\x83\x83\x93\x83v (Ctrl+K)"},
    // 次の見出し (Ctrl+M)
    {32804, ":/icons/next-heading.svg", {}, "\x8E\x9F\x82\xCC\x8C\xA9\x8Fo\x82\xB5 (Ctrl+M)"},
    // 前の見出し (Ctrl+Shift+M)
    {32805,
     ":/icons/previous-heading.svg",
     {},
     "\x91O\x82\xCC\x8C\xA9\x8Fo\x82\xB5 (Ctrl+Shift+M)"},
}};

// 最前面に固定 (Ctrl+T)
const std::string_view kTopmostOffTip = "\x8D\xC5\x91O\x96\xCA\x82\xC9\x8C\xC5\x92\xE8 (Ctrl+T)";
// 最前面を解除 (Ctrl+T)
const std::string_view kTopmostOnTip = "\x8D\xC5\x91O\x96\xCA\x82\xF0\x89\xF0\x8F\x9C (Ctrl+T)";

const std::array<int, 10> kLockedButtons = {kStartCheck, kReload,     kReloadAll, kProperties,
                                            kNewFolder,  kNewPage,    kDelete,    kFind,
                                            kFindNext,   kNextKeyword};

std::optional<int> GateOf(int command) {
    switch (command) {
        case kMenuNewFolder:
        case kNewFolder:
            return kNewFolder;
        case kMenuNewPage:
        case kNewPage:
            return kNewPage;
        case kMenuProperties:
        case kProperties:
            return kProperties;
        case kStartCheck:
        case kAbortCheck:
        case kReload:
        case kReloadAll:
        case kTopmost:
        case kNextKeyword:
        case kNextBlock:
        case kPreviousBlock:
            return command;
        case kFind:
        case kMenuFind:
            return kFind;
        case kFindNext:
        case kMenuFindNext:
            return kFindNext;
        default:
            return std::nullopt;
    }
}

}  // namespace velnora::window
