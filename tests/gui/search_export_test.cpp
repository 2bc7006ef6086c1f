// The search menu and the HTML files from the window: find and find next in the pane, the
// past-log search on its worker thread, saving the pane as HTML, the results in the browser and
// the link history.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "html/document_head.h"
#include "html/link_history.h"
#include "pane/result_pane.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "widget_driving.h"
#include "window/commands.h"
#include "window/file_dialog.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/page_tree_view.h"
#include "window/search_commands.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

using test::Find;
using test::Sjis;

using test::WhenDialogShows;

void Press(QDialog& dialog, const char* button) {
    test::Click(Find<QPushButton>(&dialog, button));
}

class SearchExportTest : public WindowFixture {
  protected:
    // A page "data/<name>.dat" with its result code and its update texts (slot, UTF-8 text);
    // index.txt names the first slot.
    void AddPage(const std::string& name, const std::vector<std::pair<int, std::string>>& texts,
                 int code = 3) {
        std::string dir = home_ / ("data/" + name + ".dat");
        test::MakeDir(dir);
        test::WriteBytes(dir + "/site.ini", "[CONFIG]\r\nURL=http://e.com/" + name + "\r\n");
        test::WriteBytes(dir + "/result.ini", "[RESULT]\r\nCODE=" + std::to_string(code) + "\r\n");
        if (!texts.empty()) {
            test::WriteBytes(dir + "/index.txt", std::to_string(texts.front().first));
        }
        for (const auto& [slot, text] : texts) {
            test::WriteBytes(dir + "/add" + std::to_string(slot) + ".txt", Sjis(text));
        }
    }

    MainWindow& Open(const std::string& ini = "") {
        test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nHEADER=# %link;\r\n" + ini);
        WindowFixture::Open();
        QApplication::setActiveWindow(window_.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }

    std::pair<std::size_t, std::size_t> Selection() {
        QTextCursor cursor = window_->result_pane().textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }

    std::string PaneText() { return test::Utf8(window_->document().Text()); }

    // A browser that writes its arguments into args.txt of the home.
    std::string MakeBrowser() {
        std::string script = home_ / "browser.sh";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << home_.path()
                              << "/args.txt\"\n";
        ::chmod(script.c_str(), 0755);
        return script;
    }

    std::string BrowserArguments() {
        std::string path = home_ / "args.txt";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return test::Exists(path) && !test::ReadBytes(path).empty(); }, 5000));
        return test::ReadBytes(path);
    }
};

TEST_F(SearchExportTest, FindSelectsIgnoringCaseAndFindNextWrapsOnce) {
    MainWindow& window = Open();
    // Alpha(0) beta(6) ALPHA(11) ａｌｐｈａ(17) Ａｌｐｈａ(23)
    window.document().AppendText(Sjis("Alpha beta ALPHA ａｌｐｈａ Ａｌｐｈａ\n"));

    WhenDialogShows([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), test::Q("検索"));
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "alpha");
        Press(dialog, "FindButton");
    });
    window.RunCommand(kFind);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{0}, std::size_t{5}));
    EXPECT_EQ(window.focusWidget(), &window.result_pane())
        << "a find that succeeds focuses the pane";
    window.RunCommand(kFindNext);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{11}, std::size_t{16}));
    window.RunCommand(kMenuFindNext);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{0}, std::size_t{5}))
        << "full-width letters are other characters; after the last match it wraps";

    // "次を検索" in the dialog searches with the kept text, not the one typed.
    WhenDialogShows([](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(&dialog, "SearchText")->text(), test::Q("alpha"));
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "beta");
        Press(dialog, "FindNextButton");
    });
    window.RunCommand(kMenuFind);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{11}, std::size_t{16}));
    EXPECT_EQ(window.search().find_text(), "alpha");

    // Full-width letters ignore case among themselves; a text not found keeps the dialog open.
    bool stayed_open = false;
    WhenDialogShows([&stayed_open](QDialog& dialog) {
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "ＡＬＰＨＡ");
        Press(dialog, "FindButton");
        WhenDialogShows([&stayed_open](QDialog& again) {
            test::TypeInto(Find<QLineEdit>(&again, "SearchText"), "zzz");
            Press(again, "FindButton");
            stayed_open = again.isVisible();
            Press(again, "CancelButton");
        });
    });
    window.RunCommand(kFind);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{17}, std::size_t{22}));
    window.RunCommand(kFind);
    EXPECT_TRUE(stayed_open);
    EXPECT_EQ(Selection(), std::make_pair(std::size_t{17}, std::size_t{22}));
}

TEST_F(SearchExportTest, FindNextWithoutAKeptTextOpensTheDialog) {
    MainWindow& window = Open();
    bool shown = false;
    WhenDialogShows([&shown](QDialog& dialog) {
        shown = dialog.objectName() == "FindDialog";
        Press(dialog, "CancelButton");
    });
    window.RunCommand(kFindNext);
    EXPECT_TRUE(shown);
}

TEST_F(SearchExportTest, PastLogSearchShowsHitBlocksWhileTheCommandsAreLocked) {
    AddPage("A", {{1, "new foo\r\nbar"}, {0, "old ＦＯＯ"}});
    AddPage("B", {{0, "nothing"}});
    MainWindow& window = Open();
    bool locked_while_running = false;
    WhenDialogShows([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), test::Q("過去ログ検索"));
        EXPECT_FALSE(Find<QPushButton>(&dialog, "StopButton")->isEnabled());
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "foo");
        Press(dialog, "SearchButton");
        locked_while_running = !Find<QPushButton>(&dialog, "CloseButton")->isEnabled() &&
                               Find<QPushButton>(&dialog, "StopButton")->isEnabled() &&
                               !window.tree_view().isEnabled();
        dialog.reject();  // refused while the search runs
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Find<QPushButton>(&dialog, "CloseButton")->isEnabled(); }, 5000));
        EXPECT_FALSE(Find<QPushButton>(&dialog, "StopButton")->isEnabled());
        Press(dialog, "CloseButton");
    });
    window.RunCommand(kPastLogSearch);
    EXPECT_TRUE(locked_while_running);
    EXPECT_EQ(PaneText(), "# A\nnew foo\nold ＦＯＯ\n\n");
    EXPECT_EQ(window.StatusText(), test::Q("検索完了"));
    EXPECT_TRUE(window.tree_view().isEnabled());

    WhenDialogShows([](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(&dialog, "SearchText")->text(), test::Q("foo"))
            << "the text is kept";
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "zzz");
        Press(dialog, "SearchButton");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Find<QPushButton>(&dialog, "CloseButton")->isEnabled(); }, 5000));
        Press(dialog, "CloseButton");
    });
    window.RunCommand(kPastLogSearch);
    EXPECT_EQ(PaneText(), "「zzz」は見つかりませんでした。\n");
}

TEST_F(SearchExportTest, StoppingOrClosingDuringASearchEndsItCleanly) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line foo " + std::to_string(i) + "\r\n";
    }
    for (int page = 0; page < 60; ++page) {
        std::vector<std::pair<int, std::string>> texts;
        for (int slot = 24; slot >= 0; --slot) {
            texts.emplace_back(slot, text);
        }
        AddPage("P" + std::to_string(page), texts);
    }
    MainWindow& window = Open();
    WhenDialogShows([&](QDialog& dialog) {
        test::TypeInto(Find<QLineEdit>(&dialog, "SearchText"), "foo");
        Press(dialog, "SearchButton");
        Press(dialog, "StopButton");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Find<QPushButton>(&dialog, "CloseButton")->isEnabled(); }, 10000));
        Press(dialog, "CloseButton");
    });
    window.RunCommand(kPastLogSearch);
    EXPECT_EQ(window.StatusText(), test::Q("検索完了"));
    EXPECT_TRUE(window.CommandEnabled(kStartCheck));

    WhenDialogShows([&](QDialog& dialog) {
        Press(dialog, "SearchButton");
        window.close();
    });
    window.RunCommand(kPastLogSearch);
    EXPECT_FALSE(window.search().searching());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SearchExportTest, SaveAsHtmlWritesThePaneToTheChosenFile) {
    MainWindow& window = Open();
    window.document().AppendLink("http://e.com/", "Site", true);
    window.document().AppendText(Sjis(" <b>&\n"));
    std::string file = home_ / "saved.html";
    SetNextSaveFileAnswer(file);
    window.RunCommand(kSaveHtml);
    std::string proposed = TakeProposedSaveFile();
    EXPECT_TRUE(proposed.starts_with(home_.path() + "/20")) << proposed;
    EXPECT_TRUE(proposed.ends_with(".html")) << proposed;
    std::string html = test::ReadBytes(file);
    EXPECT_NE(html.find("<body>\r\n<a href=\"http://e.com/\">Site</a> &lt;b&gt;&amp;<br>\r\n"),
              std::string::npos)
        << html;

    SetNextSaveFileAnswer(std::nullopt);  // cancelled
    window.RunCommand(kSaveHtml);
    SetNextSaveFileAnswer(home_ / "no/such/dir.html");
    SetNextMessageAnswer(MessageAnswer::kOk);
    window.RunCommand(kSaveHtml);
    std::vector<ShownMessage> shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u) << "a file that cannot be written is reported";
    EXPECT_EQ(shown[0].caption, "Error");
}

TEST_F(SearchExportTest, ResultsOpenInTheBrowserFromAnOwnerOnlyFile) {
    AddPage("A", {{0, "<script>x</script> <a href=\"http://e.com/n\">new</a>"}});
    AddPage("B", {{0, "unchanged"}}, 1);
    MainWindow& window = Open("USE_BROWSER=1\r\nBROWSER=" + MakeBrowser() + "\r\n");
    window.RunCommand(kResultsInBrowser);
    std::string file = home_ / "velnora-temp.html";
    EXPECT_EQ(BrowserArguments(), "file://" + file + "\n");
    std::string html = test::ReadBytes(file);
    EXPECT_NE(html.find("<p>&lt;script&gt;x&lt;/script&gt; <a href=\"http://e.com/n\">new</a>"),
              std::string::npos)
        << html;
    EXPECT_EQ(html.find("unchanged"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
    EXPECT_TRUE(window.tree_view().isEnabled());
}

TEST_F(SearchExportTest, OpenedLinksGoToTheDaysHistoryWhenItIsKept) {
    MainWindow& window =
        Open("USE_BROWSER=1\r\nSAVE_HISTORY=1\r\nBROWSER=" + MakeBrowser() + "\r\n");
    window.document().AppendLink("http://e.com/", "Site", true);
    window.document().AppendText("\n");
    window.document().AppendLink("http://e.com/x", "X", false);
    emit window.result_pane().linkActivated(1);
    EXPECT_EQ(BrowserArguments(), "http://e.com/x\n");
    std::tm now = html::LocalNow();
    std::string history = test::ReadBytes(html::HistoryFilePath(home_.path() + "/", now));
    EXPECT_NE(history.find("<a href=\"http://e.com/x\">X</a>&nbsp;&nbsp;"), std::string::npos)
        << history;
}

}  // namespace
}  // namespace velnora::window
