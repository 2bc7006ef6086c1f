// The main window as a user meets it: menus, toolbar, the command lock while a check runs, the
// topmost toggle, the placement saved on closing, the version box, one copy per home.

#include "window/main_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QWindow>
#include <filesystem>
#include <fstream>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "ini/ini_file.h"
#include "pane/result_pane.h"
#include "support/scoped_env.h"
#include "support/servers.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "window/commands.h"
#include "window/message_box.h"
#include "window/page_tree_model.h"
#include "window/page_tree_view.h"
#include "window/single_instance.h"
#include "window/startup.h"
#include "window/stored_results_run.h"
#include "window/tree_operations.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class MainWindowTest : public WindowFixture {
  protected:
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
    auto on_toolbar = [&] {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr && toolbar->isAncestorOf(focus);
    };
    window.activateWindow();
    window.tree_view().setFocus();
    QTest::keyClick(&window.tree_view(), Qt::Key_Tab);
    EXPECT_TRUE(window.result_pane().hasFocus());
    QTest::keyClick(&window.result_pane(), Qt::Key_Tab);
    EXPECT_TRUE(on_toolbar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(window.tree_view().hasFocus());
    QTest::keyClick(&window.tree_view(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(on_toolbar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.result_pane().hasFocus());
    QTest::keyClick(&window.result_pane(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.tree_view().hasFocus());
}

TEST_F(MainWindowTest, ToolbarButtonsShowTheFocusAndPressFromTheKeyboard) {
    AddPage("p.dat", "http://example.com/");
    test::WriteBytes(home_ / "data/p.dat/new.txt", "the whole text\r\n");
    MainWindow& window = Open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    QAction* show_text = nullptr;
    for (QAction* a : toolbar->actions()) {
        if (a->data().toInt() == kShowWholeText) {
            show_text = a;
        }
    }
    ASSERT_NE(show_text, nullptr);
    auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(show_text));
    QImage unfocused = button->grab().toImage();
    // Select the page, then walk the toolbar with the arrow keys to "確認".
    QTest::keyClick(&window.tree_view(), Qt::Key_Down);
    ASSERT_EQ(window.operations().current_item().node.name, "p");
    window.result_pane().setFocus();
    QTest::keyClick(&window.result_pane(), Qt::Key_Tab);
    for (int i = 0; i < 20 && QApplication::focusWidget() != button; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    }
    ASSERT_EQ(QApplication::focusWidget(), button);
    EXPECT_NE(button->grab().toImage(), unfocused) << "the focused button looks focused";
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_NE(window.document().Text().find("the whole text"), std::string::npos);

    // Enter presses too; a disabled button is passed over.
    window.ClearPane();
    window.tree_view().setFocus();
    window.result_pane().setFocus();
    QTest::keyClick(&window.result_pane(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button) << "the toolbar remembers its button";
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window.document().Text().find("the whole text") != std::string::npos; }));
    QTest::keyClick(button, Qt::Key_Home);
    EXPECT_EQ(QApplication::focusWidget(), toolbar->widgetForAction(toolbar->actions()[0]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), toolbar->widgetForAction(toolbar->actions()[2]))
        << "中止 is greyed and passed over";
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

TEST_F(MainWindowTest, AFreshStartIsTheStateOfTheSelectedRoot) {
    MainWindow& window = Open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // The root is the current item as if the user had selected it.
    EXPECT_TRUE(window.operations().has_selection());
    EXPECT_EQ(window.operations().current_item().node.kind, store::KIND_ROOT);
    EXPECT_EQ(window.operations().current_item().node.path, home_ / "data");
    EXPECT_EQ(window.operations().working_copy().node.path, home_ / "data");
    // The tree has the keyboard: the arrow keys work at once.
    EXPECT_EQ(QApplication::focusWidget(), &window.tree_view());

    // The new-folder accelerator works at once.
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(test::Exists(home_ / test::Sjis("data/新規フォルダ.grp")));
    window.tree_view().FinishLabelEdit();
}

TEST_F(MainWindowTest, QtsOwnTextsAreJapaneseUnderAJapaneseLocale) {
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance(),
                                      QLocale(QLocale::Japanese, QLocale::Japan)))
        << "Qt's Japanese translations are installed by scripts/setup";
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No);
    QString yes = buttons.button(QDialogButtonBox::Yes)->text();
    QString no = buttons.button(QDialogButtonBox::No)->text();
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    EXPECT_TRUE(yes.contains(Q("はい"))) << yes.toStdString();
    EXPECT_TRUE(no.contains(Q("いいえ"))) << no.toStdString();
    EXPECT_FALSE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Zulu)));
}

TEST_F(MainWindowTest, AnAddressNoApplicationTakesIsReported) {
    test::TempDir bin;
    std::string opener = bin / "xdg-open";
    test::ScopedEnv path("PATH", bin.path());
    MainWindow& window = Open();
    TakeShownMessages();
    for (int code : {0, 3}) {
        test::WriteBytes(opener, "#!/bin/sh\nexit " + std::to_string(code) + "\n");
        ::chmod(opener.c_str(), 0755);
        SetNextMessageAnswer(MessageAnswer::kOk);
        window.OpenAddress("http://example.com/");
        QTest::qWait(500);
    }
    std::vector<ShownMessage> shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u) << "only the opener that found no application is reported";
    EXPECT_EQ(shown[0].text, test::Sjis("ブラウザを起動できません"));
    EXPECT_EQ(shown[0].caption, test::Sjis("エラー"));
    EXPECT_EQ(shown[0].icon, MessageIcon::kError);
    // The answer queued for the opener that succeeded is still waiting: take it away.
    ShowMessage(nullptr, "", "");
    TakeShownMessages();
}

TEST_F(MainWindowTest, DisabledToolbarButtonsLookDisabled) {
    MainWindow& window = Open();
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    auto opacity = [](const QImage& image) {
        long long sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                sum += qAlpha(image.pixel(x, y));
            }
        }
        return sum;
    };
    // 検索 is grey by design: greyed alone it would look the same.
    for (int command : {kStartCheck, kNewPage, kFind}) {
        QAction* action = nullptr;
        for (QAction* a : toolbar->actions()) {
            if (a->data().toInt() == command) {
                action = a;
            }
        }
        ASSERT_NE(action, nullptr);
        QImage normal = action->icon().pixmap(16, 16, QIcon::Normal).toImage();
        QImage disabled = action->icon().pixmap(16, 16, QIcon::Disabled).toImage();
        EXPECT_LT(opacity(disabled) * 2, opacity(normal))
            << command << ": the greyed image is faint";
        QWidget* button = toolbar->widgetForAction(action);
        bool was = action->isEnabled();
        action->setEnabled(true);
        QImage shown_enabled = button->grab().toImage();
        action->setEnabled(false);
        EXPECT_NE(button->grab().toImage(), shown_enabled) << command;
        action->setEnabled(was);
    }
}

TEST_F(MainWindowTest, ThePlacementIsTheFrameAndFitsTheScreen) {
    test::WriteBytes(home_ / "velnora.ini",
                     "[POSITION]\r\nLEFT=30\r\nTOP=40\r\nCX=660\r\nCY=420\r\nW=150\r\n");
    MainWindow& window = Open();
    QMargins margins = window.windowHandle()->frameMargins();
    ASSERT_FALSE(margins.isNull()) << "the test platform draws a frame";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() == QRect(30, 40, 660, 420); }))
        << "frame " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    window.close();
    ini::IniFile ini;
    ini.Load(home_ / "velnora.ini");
    EXPECT_EQ(ini.GetInt("POSITION", "LEFT", 0), 30);
    EXPECT_EQ(ini.GetInt("POSITION", "TOP", 0), 40);
    EXPECT_EQ(ini.GetInt("POSITION", "CX", 0), 660) << "stored and restored alike";
    EXPECT_EQ(ini.GetInt("POSITION", "CY", 0), 420);
    window_.reset();

    // Larger than the screen, or partly off it: the whole frame is pulled onto it.
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* stored : {"LEFT=0\r\nTOP=0\r\nCX=5000\r\nCY=5000\r\n",
                               "LEFT=700\r\nTOP=500\r\nCX=640\r\nCY=400\r\n"}) {
        test::WriteBytes(home_ / "velnora.ini", std::string("[POSITION]\r\n") + stored);
        MainWindow& again = Open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(again.frameGeometry()); }))
            << stored;
        window_.reset();
    }
}

TEST_F(MainWindowTest, TheSmallestWindowKeepsEveryToolbarButtonAndBothPanes) {
    MainWindow& window = Open();
    window.resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(window.width(), window.minimumWidth());
    EXPECT_LE(window.minimumWidth(), 640);
    EXPECT_LE(window.minimumHeight(), 400) << "fits a 1024x600 screen with its frame";
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    for (QAction* action : toolbar->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(toolbar->widgetForAction(action)->isVisible())
                << action->toolTip().toStdString();
        }
    }
    EXPECT_GE(window.tree_view().width(), 10);
    EXPECT_GE(window.result_pane().width(), 100);
}

TEST_F(MainWindowTest, ReloadAllFillsThePaneInTurnsWithProgressAndEscStopsIt) {
    constexpr int kPages = 400;
    for (int i = 0; i < kPages; ++i) {
        std::string page = "p" + std::to_string(1000 + i) + ".dat";
        AddPage(page, "http://example.com/" + std::to_string(i));
        test::WriteBytes(home_ / ("data/" + page + "/index.txt"), "0\r\n");
        std::string text;
        // Enough text that showing every page takes several turns of the event loop.
        for (int line = 0; line < 100; ++line) {
            text +=
                "updated line " + std::to_string(line) + " of page " + std::to_string(i) + "\r\n";
        }
        test::WriteBytes(home_ / ("data/" + page + "/add0.txt"), text);
    }
    MainWindow& window = Open();
    auto pages_shown = [&] {
        std::string_view text = window.document().Text();
        int count = 0;
        for (std::size_t at = text.find("updated line 0 "); at != std::string_view::npos;
             at = text.find("updated line 0 ", at + 1)) {
            ++count;
        }
        return count;
    };

    window.RunCommand(kReloadAll);
    // The command returns at once; the pages follow between turns of the event loop.
    EXPECT_TRUE(window.reload().running());
    EXPECT_LT(pages_shown(), kPages);
    EXPECT_TRUE(window.progress_bar().isVisible());
    EXPECT_EQ(window.progress_bar().maximum(), kPages);
    EXPECT_FALSE(window.tree_view().isEnabled()) << "commands are locked meanwhile";
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.reload().running());
    int stopped_at = pages_shown();
    EXPECT_LT(stopped_at, kPages);
    EXPECT_EQ(window.StatusText(), Q("処理を中止しました。"));
    EXPECT_FALSE(window.progress_bar().isVisible());
    auto pane_length = [&] {
        return static_cast<std::size_t>(window.result_pane().document()->characterCount() - 1);
    };
    EXPECT_EQ(pane_length(), window.document().Length()) << "what was gathered is shown";
    EXPECT_TRUE(window.tree_view().isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(pages_shown(), stopped_at) << "nothing follows once stopped";

    // Left alone, it shows every page and hides the progress at the end.
    window.tree_view().SelectItem(window.tree().root());
    int turns = 0;  // timer events handled while the pages are shown: other work gets its turn
    QTimer other_work;
    QObject::connect(&other_work, &QTimer::timeout, [&] { ++turns; });
    other_work.start(0);
    window.RunCommand(kReloadAll);
    while (window.reload().running()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    other_work.stop();
    EXPECT_GE(turns, 1) << "the event loop ran between the pages";
    EXPECT_EQ(pages_shown(), kPages);
    EXPECT_FALSE(window.progress_bar().isVisible());
    EXPECT_EQ(window.StatusText(), "");
    // The pane shows the whole text, its links included.
    EXPECT_EQ(pane_length(), window.document().Length());
    const results::LinkRecord& last = window.document().Links().back();
    EXPECT_EQ(window.result_pane().AnyLinkAt(last.start), window.document().Links().size() - 1);
    window.RunCommand(kNextBlock);
    EXPECT_GT(window.result_pane().SelectionStart(), 0u) << "the block jumps find the pages";
}

TEST_F(MainWindowTest, APageWhoseCheckFailedShowsItInTheTree) {
    // A port that nobody listens on.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    std::string refused = "http://127.0.0.1:" + std::to_string(closed.serverPort()) + "/";
    closed.close();
    AddPage("failed.dat", "http://example.com/");
    test::WriteBytes(home_ / "data/failed.dat/result.ini", "[RESULT]\r\nCODE=4\r\n");
    AddPage("fine.dat", "http://example.com/");
    AddPage("soon.dat", refused);
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\nRETRY=0\r\n");
    MainWindow& window = Open();
    PageTreeModel& model = window.tree_view().tree_model();
    auto index = [&](const char* name) {
        QModelIndex root = model.IndexOf(window.tree().root());
        for (int row = 0; row < model.rowCount(root); ++row) {
            if (model.index(row, 0, root).data().toString() == name) {
                return model.index(row, 0, root);
            }
        }
        return QModelIndex();
    };
    auto icon = [&](const char* name) {
        return index(name).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    // Found at start-up from the page's last result.
    EXPECT_TRUE(index("failed").data(PageTreeModel::kErrorRole).toBool());
    EXPECT_EQ(index("failed").data(Qt::ToolTipRole).toString(), Q("ｴﾗｰ発生"));
    EXPECT_FALSE(index("fine").data(PageTreeModel::kErrorRole).toBool());
    EXPECT_FALSE(index("fine").data(Qt::ToolTipRole).isValid());
    EXPECT_NE(icon("failed"), icon("fine")) << "the error mark is drawn over the image";

    // A check that fails marks the page with its error text.
    window.tree_view().SelectItem(window.tree().FirstChild(window.tree().root()));
    for (store::ItemId item = window.tree().FirstChild(window.tree().root()); item != 0;
         item = window.tree().NextSibling(item)) {
        if (window.tree().Find(item)->name == "soon") {
            window.tree_view().SelectItem(item);
        }
    }
    window.RunCommand(kStartCheck);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 10000));
    EXPECT_TRUE(index("soon").data(PageTreeModel::kErrorRole).toBool());
    EXPECT_EQ(index("soon").data(Qt::ToolTipRole).toString(), Q("ｿｹｯﾄｲﾍﾞﾝﾄ通知ｴﾗｰ"));
}

TEST_F(MainWindowTest, ACheckShowsPagesDoneOfPagesToCheck) {
    QTcpServer silent;  // accepts the connections and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    for (int i = 0; i < 12; ++i) {
        AddPage(
            "s" + std::to_string(i) + ".dat",
            "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/" + std::to_string(i));
    }
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\n");
    MainWindow& window = Open();
    window.RunCommand(kStartCheck);
    ASSERT_TRUE(window.check().running());
    EXPECT_TRUE(window.progress_bar().isVisible());
    EXPECT_EQ(window.progress_bar().maximum(), 12);
    EXPECT_EQ(window.progress_bar().value(), 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 5000));
    EXPECT_FALSE(window.progress_bar().isVisible());
}

TEST_F(MainWindowTest, PagesAddedByAnotherProgramAppearWithoutARestart) {
    AddPage("keep.dat", "http://example.com/keep");
    test::MakeDir(home_ / "data/F.grp");
    MainWindow& window = Open();
    store::PageTree& tree = window.tree();
    auto child = [&](store::ItemId parent, const std::string& name) -> store::ItemId {
        for (store::ItemId item = tree.FirstChild(parent); item != 0;
             item = tree.NextSibling(item)) {
            if (tree.Find(item)->name == name) {
                return item;
            }
        }
        return 0;
    };
    store::ItemId keep = child(tree.root(), "keep");
    store::ItemId folder = child(tree.root(), "F");
    window.tree_view().SelectItem(keep);
    tree.MarkUpdated(keep);

    // As velnora-cli adds them: a page at the top, a page in a folder, a new folder with a page.
    AddPage("new.dat", "http://example.com/new");
    AddPage("F.grp/inner.dat", "http://example.com/inner");
    test::MakeDir(home_ / "data/G.grp");
    AddPage("G.grp/deep.dat", "http://example.com/deep");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            store::ItemId g = child(tree.root(), "G");
            return child(tree.root(), "new") != 0 && child(folder, "inner") != 0 && g != 0 &&
                   child(g, "deep") != 0;
        },
        5000));
    // Nothing else was rebuilt: the same items, the selection and the unread mark stay.
    EXPECT_EQ(child(tree.root(), "keep"), keep);
    EXPECT_EQ(child(tree.root(), "F"), folder);
    EXPECT_EQ(window.tree_view().SelectedItem(), keep);
    EXPECT_TRUE(tree.Find(keep)->bold);

    // A page added later inside the new folder, and a page removed.
    AddPage("G.grp/later.dat", "http://example.com/later");
    std::filesystem::remove_all(home_ / "data/new.dat");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return child(tree.root(), "new") == 0 && child(child(tree.root(), "G"), "later") != 0;
        },
        5000));
}

TEST_F(MainWindowTest, ALargeCheckShowsEveryResultInThePaneAtItsEnd) {
    test::TempDir server_dir;
    std::string root = server_dir / "www";
    test::MakeDir(root);
    auto write_pages = [&](int version) {
        for (int i = 0; i < 40; ++i) {
            std::string html = "<html><body>\n";
            for (int line = 0; line < 30; ++line) {
                html += "<p>version " + std::to_string(version) + " line " + std::to_string(line) +
                        " of page " + std::to_string(i) + "</p>\n";
            }
            test::WriteBytes(root + "/p" + std::to_string(i) + ".html", html + "</body></html>\n");
        }
    };
    write_pages(1);
    test::NginxServer nginx;
    ASSERT_TRUE(nginx.Start(server_dir.path(), root, nullptr));
    for (int i = 0; i < 40; ++i) {
        AddPage("p" + std::to_string(i) + ".dat",
                "http://127.0.0.1:" + std::to_string(nginx.http_port()) + "/p" + std::to_string(i) +
                    ".html");
    }
    test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\nUSE_HEAD=0\r\n");
    MainWindow& window = Open();
    window.RunCommand(kStartCheck);  // the first check keeps every page's text
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 30000));
    write_pages(2);
    window.RunCommand(kStartCheck);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 30000));
    EXPECT_GT(window.document().Length(), 20000u);
    EXPECT_EQ(static_cast<std::size_t>(window.result_pane().document()->characterCount() - 1),
              window.document().Length())
        << "the results gathered out of sight are shown";
    EXPECT_NE(window.result_pane().toPlainText().indexOf(Q("version 2 line 29 of page 39")), -1);
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
