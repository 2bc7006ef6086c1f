#include "window/menus.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include "desktop/qt_text.h"
#include "window/commands.h"

namespace velnora::window {

namespace {

struct MenuItem {
    int command;  // 0: separator
    const char16_t* label;
};

const MenuItem kFileMenu[] = {
    {kImportFavorites, u"IEのお気に入りをインポート(&I)"},
    {kImportBookmarks, u"ブックマークをインポート(&M)..."},
    {kSaveHtml, u"ﾛｸﾞをHTML保存(&H)"},
    {kResultsInBrowser, u"結果をﾌﾞﾗｳｻﾞで開く(&B)"},
    {0, nullptr},
    {kPrint, u"印刷(&P)"},
    {0, nullptr},
    {kExit, u"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
};
const MenuItem kEditMenu[] = {
    {kCopy, u"コピー(&C)"},
    {kCopyUrl, u"URLをコピー(&L)"},
    {kSelectAll, u"すべて選択(&A)"},
};
const MenuItem kSearchMenu[] = {
    {kMenuFind, u"検索(&F)"},
    {kMenuFindNext, u"次を検索(&N)"},
    {0, nullptr},
    {kPastLogSearch, u"過去ログ検索(&L)"},
};
const MenuItem kItemMenu[] = {
    {kOpenUrlInBrowser, u"URLをブラウザで開く(&B)"},
    {0, nullptr},
    {kMenuProperties, u"設定(&S)"},
    {0, nullptr},
    {kMenuNewFolder, u"フォルダを追加(&F)"},
    {kMenuNewPage, u"ページを追加(&P)"},
    {0, nullptr},
    {kMenuDelete, u"削除(&D)"},
};
const MenuItem kHelpMenu[] = {
    {kAbout, u"ﾊﾞｰｼﾞｮﾝ情報(&A) ..."},
};

struct Accelerator {
    int command;
    QKeySequence keys;
};

QString Text(const char16_t* text) {
    return QString::fromUtf16(text);
}

// A toolbar image whose disabled form is grey and faint: a grey image (the find buttons) would
// otherwise look the same greyed or not.
QIcon ToolbarIcon(const char* file) {
    QIcon icon(QString::fromLatin1(file));
    QIcon drawn;
    for (int side : {16, 32}) {
        QPixmap normal = icon.pixmap(QSize(side, side));
        if (normal.isNull()) {
            return icon;
        }
        drawn.addPixmap(normal, QIcon::Normal);
        QImage grey = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < grey.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
            for (int x = 0; x < grey.width(); ++x) {
                int level = qGray(line[x]);
                line[x] = qRgba(level, level, level, qAlpha(line[x]) * 2 / 5);
            }
        }
        drawn.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
    }
    return drawn;
}

template <std::size_t N>
QMenu* AddMenu(QMenuBar* bar, const char16_t* title, const MenuItem (&items)[N],
               CommandActions& actions) {
    QMenu* menu = bar->addMenu(Text(title));
    for (const MenuItem& item : items) {
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(Text(item.label));
        action->setData(item.command);
        actions.menu[item.command] = action;
    }
    return menu;
}

}  // namespace

CommandActions BuildCommands(QWidget* window, QMenuBar* menu_bar, QToolBar* toolbar) {
    CommandActions actions;
    actions.file_menu = AddMenu(menu_bar, u"ﾌｧｲﾙ(&F)", kFileMenu, actions);
    actions.edit_menu = AddMenu(menu_bar, u"編集(&E)", kEditMenu, actions);
    actions.search_menu = AddMenu(menu_bar, u"検索(&S)", kSearchMenu, actions);
    actions.item_menu = AddMenu(menu_bar, u"アイテム(&I)", kItemMenu, actions);
    actions.options = menu_bar->addAction(Text(u"オプション(&O)"));
    actions.options->setData(static_cast<int>(kOptions));
    actions.menu[kOptions] = actions.options;
    actions.help_menu = AddMenu(menu_bar, u"ﾍﾙﾌﾟ(&H)", kHelpMenu, actions);

    toolbar->setIconSize(QSize(16, 16));
    for (const ToolbarEntry& entry : kToolbar) {
        if (entry.command == 0) {
            toolbar->addSeparator();
            continue;
        }
        QAction* action = new QAction(
            ToolbarIcon(entry.icon),
            desktop::FromSjis(entry.label.empty() ? entry.tooltip : entry.label), toolbar);
        action->setToolTip(desktop::FromSjis(entry.tooltip));
        action->setData(entry.command);
        toolbar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action))) {
            button->setToolButtonStyle(entry.label.empty() ? Qt::ToolButtonIconOnly
                                                           : Qt::ToolButtonTextBesideIcon);
            button->setAutoRaise(true);
        }
        if (entry.command == kAbortCheck) {
            action->setEnabled(false);  // "中止" starts greyed
        }
        actions.toolbar[entry.command] = action;
    }

    // The accelerators act whichever of the window's widgets has the focus.
    const Accelerator accelerators[] = {
        {kProperties, QKeySequence(Qt::ALT | Qt::Key_C)},
        {kFind, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {kStartCheck, QKeySequence(Qt::CTRL | Qt::Key_G)},
        {kNextKeyword, QKeySequence(Qt::CTRL | Qt::Key_K)},
        {kNextBlock, QKeySequence(Qt::CTRL | Qt::Key_M)},
        {kPreviousBlock, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)},
        {kNewPage, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {kNewFolder, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
        {kReload, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {kReloadAll, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
        {kTopmost, QKeySequence(Qt::CTRL | Qt::Key_T)},
        {kAbortCheck, QKeySequence(Qt::Key_Escape)},
        {kFindNext, QKeySequence(Qt::Key_F3)},
    };
    for (const Accelerator& accelerator : accelerators) {
        QAction* action = actions.toolbar[accelerator.command];
        action->setShortcut(accelerator.keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    (void)window;
    return actions;
}

}  // namespace velnora::window
