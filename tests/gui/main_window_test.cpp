// The main window as a user meets it: menus, toolbar, the command lock while a check runs, the
// topmost toggle, the placement saved on closing, the version box, one copy per home.

#include "window/main_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "ini/ini_file.h"
#include "pane/result_pane.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "window/commands.h"
#include "window/page_tree_view.h"
#include "window/single_instance.h"

namespace velnora::window {
namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class MainWindowTest : public testing::Test {
  protected:
    MainWindowTest() { test::MakeDir(home_ / "data"); }

    void AddPage(const std::string& relative, const std::string& url) {
        std::string dir = home_ / ("data/" + relative);
        test::MakeDir(dir);
        test::WriteBytes(dir + "/site.ini", "[CONFIG]\r\nURL=" + url + "\r\nUSE_OLD_LOG=1\r\n");
    }

    MainWindow& Open() {
        home_found_ = *files::FindProgramHome();
        settings::LoadAppSettings(home_found_.directory + "velnora.ini", settings_);
        window_ = std::make_unique<MainWindow>(home_found_, settings_, stats_);
        window_->ShowAsStored();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }

    test::TempDir home_;
    test::ScopedEnv home_variable_{"VELNORA_HOME", home_.path()};
    files::ProgramHome home_found_;
    settings::AppSettings settings_;
    fetch::TrafficStats stats_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, MenusAndToolbarAsTheUserSeesThem) {
    MainWindow& window = Open();
    QStringList menus;
    for (QAction* action : window.menuBar()->actions()) {
        menus << action->text();
    }
    EXPECT_EQ(menus, (QStringList{Q("ﾌｧｲﾙ(&F)"), Q("編集(&E)"), Q("検索(&S)"), Q("アイテム(&I)"),
                                  Q("オプション(&O)"), Q("ﾍﾙﾌﾟ(&H)")}));
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    ASSERT_NE(toolbar, nullptr);
    QList<QAction*> entries = toolbar->actions();
    ASSERT_EQ(entries.size(), 17);
    int separators = 0;
    for (QAction* action : entries) {
        if (action->isSeparator()) {
            ++separators;
            continue;
        }
        EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << action->toolTip().toStdString();
    }
    EXPECT_EQ(separators, 2);
    EXPECT_EQ(entries[0]->text(), Q("チェック"));
    EXPECT_EQ(entries[0]->toolTip(), Q("チェック開始 (Ctrl+G)"));
    auto* check_button = qobject_cast<QToolButton*>(toolbar->widgetForAction(entries[0]));
    EXPECT_EQ(check_button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    auto* gear_button = qobject_cast<QToolButton*>(toolbar->widgetForAction(entries[7]));
    EXPECT_EQ(gear_button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(entries[3]->text(), Q("全ﾘﾛｰﾄﾞ"));
    EXPECT_FALSE(window.CommandEnabled(kAbortCheck)) << "中止 starts greyed";
    EXPECT_TRUE(window.CommandEnabled(kStartCheck));
    EXPECT_TRUE(window.CommandEnabled(kFind));
    EXPECT_TRUE(window.CommandEnabled(kFindNext));
    EXPECT_EQ(window.windowTitle(), "Velnora");
}

TEST_F(MainWindowTest, CommandsAreLockedWhileACheckRunsAndEscapeAborts) {
    QTcpServer silent;  // accepts the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    AddPage("Site.dat", "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/");
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\n");
    MainWindow& window = Open();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.check().running()) << "Esc without a check does nothing";

    window.RunCommand(kStartCheck);
    ASSERT_TRUE(window.check().running());
    EXPECT_FALSE(window.CommandEnabled(kStartCheck));
    EXPECT_FALSE(window.CommandEnabled(kNewPage));
    EXPECT_TRUE(window.CommandEnabled(kAbortCheck));
    EXPECT_TRUE(window.CommandEnabled(kTopmost)) << "the topmost toggle stays usable";
    EXPECT_TRUE(window.CommandEnabled(kNextBlock));
    EXPECT_FALSE(window.tree_view().isEnabled());
    for (QAction* menu : window.menuBar()->actions()) {
        EXPECT_FALSE(menu->isEnabled()) << menu->text().toStdString();
    }
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);  // refused: the button is greyed
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 5000));
    EXPECT_TRUE(window.CommandEnabled(kStartCheck));
    EXPECT_FALSE(window.CommandEnabled(kAbortCheck));
    EXPECT_TRUE(window.tree_view().isEnabled());
    EXPECT_EQ(window.StatusText(), Q("更新はありません"));
}

TEST_F(MainWindowTest, TopmostToggleAndPlacementAreSavedOnClosingButNotOnExit) {
    MainWindow& window = Open();
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    QAction* pin = toolbar->actions()[5];
    EXPECT_EQ(pin->toolTip(), Q("最前面に固定 (Ctrl+T)"));
    QImage before = pin->icon().pixmap(16, 16).toImage();
    window.RunCommand(kTopmost);
    EXPECT_TRUE(window.topmost());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(pin->toolTip(), Q("最前面を解除 (Ctrl+T)"));
    EXPECT_NE(pin->icon().pixmap(16, 16).toImage(), before);
    window.close();
    ini::IniFile ini;
    ini.Load(home_ / "velnora.ini");
    EXPECT_EQ(ini.GetInt("CONFIG", "TOPMOST", 0), 1);
    EXPECT_GT(ini.GetInt("POSITION", "CX", 0), 0);
    EXPECT_TRUE(test::Exists(home_ / "velnora.ini"));

    test::WriteBytes(home_ / "velnora.ini", "");
    window_.reset();
    MainWindow& again = Open();
    again.RunCommand(kExit);
    ini.Load(home_ / "velnora.ini");
    EXPECT_EQ(ini.GetInt("POSITION", "CX", 0), 0) << "the exit command saves nothing";
}

TEST_F(MainWindowTest, TabGoesRoundTreePaneAndToolbar) {
    MainWindow& window = Open();
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    window.activateWindow();
    window.tree_view().setFocus();
    QTest::keyClick(&window.tree_view(), Qt::Key_Tab);
    EXPECT_TRUE(window.result_pane().hasFocus());
    QTest::keyClick(&window.result_pane(), Qt::Key_Tab);
    EXPECT_TRUE(toolbar->hasFocus());
    QTest::keyClick(toolbar, Qt::Key_Tab);
    EXPECT_TRUE(window.tree_view().hasFocus());
    QTest::keyClick(&window.tree_view(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(toolbar->hasFocus());
    QTest::keyClick(toolbar, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.result_pane().hasFocus());
    QTest::keyClick(&window.result_pane(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.tree_view().hasFocus());
}

TEST_F(MainWindowTest, SplitterKeepsBothPanesAtLeastTenPixelsWide) {
    MainWindow& window = Open();
    auto* splitter = window.findChild<QSplitter*>("Splitter");
    splitter->setSizes({3, 1000});
    EXPECT_GE(splitter->sizes()[0], 10);
    splitter->setSizes({1000, 3});
    EXPECT_GE(splitter->sizes()[1], 10);
}

TEST_F(MainWindowTest, VersionBoxSaysTheVersion) {
    MainWindow& window = Open();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<QDialog*>("AboutDialog");
        ASSERT_NE(dialog, nullptr);
        shown = dialog->findChild<QLabel*>("VersionText")->text();
        dialog->accept();
    });
    window.RunCommand(kAbout);
    EXPECT_EQ(shown, "Velnora v0.42");
}

TEST_F(MainWindowTest, HoveringALinkShowsItsTargetAndSettingsLinksTheirText) {
    AddPage("Site.dat", "http://example.com/");
    MainWindow& window = Open();
    results::ResultDocument& document = window.document();
    document.AppendLink("http://example.com/news", "news", true);
    document.AppendLink(std::string("\x01") + "1", "\x81\xa4", false);
    emit window.result_pane().linkHovered(0);
    EXPECT_EQ(window.StatusText(), "http://example.com/news");
    emit window.result_pane().linkHovered(1);
    EXPECT_EQ(window.StatusText(), Q("ページの設定を変更します"));
}

TEST(SingleInstance, ASecondCopyRaisesTheFirstAndEnds) {
    test::TempDir home;
    SingleInstance first(QString::fromStdString(home.path()));
    ASSERT_TRUE(first.Acquire());
    bool raised = false;
    first.OnRaiseRequested([&] { raised = true; });
    SingleInstance second(QString::fromStdString(home.path()));
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised; }, 3000));
    test::TempDir other;
    SingleInstance elsewhere(QString::fromStdString(other.path()));
    EXPECT_TRUE(elsewhere.Acquire()) << "one copy per program home";
}

}  // namespace
}  // namespace velnora::window
