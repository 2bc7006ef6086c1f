#pragma once

// The window's menu bar, toolbar and accelerators, built from their tables. Every command
// becomes a QAction; the window connects them.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>

namespace velnora::window {

struct CommandActions {
    std::map<int, QAction*> menu;     // menu items (and the menu bar's plain item) by command
    std::map<int, QAction*> toolbar;  // toolbar buttons by command
    QMenu* edit_menu = nullptr;       // the pane's context menu
    QMenu* item_menu = nullptr;       // the tree's context menu
    QMenu* file_menu = nullptr;
    QMenu* search_menu = nullptr;
    QMenu* help_menu = nullptr;
    QAction* options = nullptr;  // the plain item "オプション(&O)"
};

// Fills the menu bar with the menus "ﾌｧｲﾙ(&F)", "編集(&E)", "検索(&S)", "アイテム(&I)", the
// item "オプション(&O)" and "ﾍﾙﾌﾟ(&H)"; fills the toolbar with its 17 entries (labels beside the
// images for the four buttons that have one); adds the accelerators to the toolbar's actions.
CommandActions BuildCommands(QWidget* window, QMenuBar* menu_bar, QToolBar* toolbar);

}  // namespace velnora::window
