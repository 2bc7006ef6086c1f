// The window's drag and drop (moving tree items, dropping links), its import commands and
// printing, driven as a user would on the offscreen platform.

#include <gtest/gtest.h>
#include <stdio.h>

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <memory>

#include "desktop/fonts.h"
#include "desktop/qt_text.h"
#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "pane/result_pane.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "widget_driving.h"
#include "window/commands.h"
#include "window/link_drops.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/open_dialogs.h"
#include "window/page_tree_model.h"
#include "window/page_tree_view.h"
#include "window/print_layout.h"
#include "window/print_pane.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

using test::Sjis;

QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

using test::WhenDialogShows;

std::string Fixture(std::string_view name) {
    return std::string(VELNORA_TEST_DATA) + "/imports/" + std::string(name);
}

class WindowDropsTest : public WindowFixture {
  protected:
    WindowDropsTest() { TakeShownMessages(); }

    void Dir(std::string_view relative) {
        test::MakeDir(home_ / Sjis("data/" + std::string(relative)));
    }
    bool OnDisk(std::string_view relative) const {
        return test::Exists(home_ / Sjis("data/" + std::string(relative)));
    }

    MainWindow& Open() { return WindowFixture::Open(QSize(700, 500)); }

    store::ItemId Item(std::string_view path) const {
        const store::PageTree& tree = window_->tree();
        store::ItemId item = tree.root();
        std::string sjis = Sjis(path);
        std::string_view rest = sjis;
        while (item != 0 && !rest.empty()) {
            std::size_t slash = rest.find('/');
            std::string_view name = rest.substr(0, slash);
            store::ItemId child = tree.FirstChild(item);
            while (child != 0 && tree.Find(child)->name != name) {
                child = tree.NextSibling(child);
            }
            item = child;
            rest = slash == std::string_view::npos ? "" : rest.substr(slash + 1);
        }
        return item;
    }

    // The centre of an item's row in the tree's viewport (made visible first).
    QPoint Centre(store::ItemId item) {
        PageTreeView& view = window_->tree_view();
        QModelIndex index = view.tree_model().IndexOf(item);
        view.scrollTo(index);
        return view.visualRect(index).center();
    }

    // Delivers a drag of the data to a point of a widget, as the platform does: it enters,
    // moves over the point and is dropped there. Returns whether the drop was accepted.
    static bool Drop(QWidget* widget, QPoint point, QMimeData* data, Qt::DropActions actions) {
        QDragEnterEvent enter(point, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        QDragMoveEvent move(point, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        if (!move.isAccepted()) {
            return false;  // the platform drops only where the last move was accepted
        }
        QDropEvent drop(QPointF(point), actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &drop);
        return drop.isAccepted();
    }

    // Drags a tree item onto another point of the tree and lets the move run.
    bool DragItem(store::ItemId item, QPoint point) {
        PageTreeView& view = window_->tree_view();
        std::unique_ptr<QMimeData> data(
            view.tree_model().mimeData({view.tree_model().IndexOf(item)}));
        bool accepted = Drop(view.viewport(), point, data.get(), Qt::MoveAction);
        QApplication::processEvents();
        return accepted;
    }
};

TEST_F(WindowDropsTest, DraggingAnItemInTheTreeMovesItByTheRules) {
    for (const char* dir :
         {"A.grp", "A.grp/B.grp", "A.grp/B.grp/p.dat", "C.grp", "C.grp/q.dat", "r.dat", "s.dat"}) {
        Dir(dir);
    }
    MainWindow& window = Open();
    PageTreeView& view = window.tree_view();

    // Pressing on an item and moving the mouse starts the view's own drag (which the offscreen
    // platform ends at once): nothing moves by itself.
    QPoint start = Centre(Item("r"));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(view.viewport(), start + QPoint(0, 40));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, start + QPoint(0, 40));
    EXPECT_TRUE(OnDisk("r.dat"));
    EXPECT_EQ(view.SelectedItem(), Item("r"));

    // A page dropped on a folder goes into it; the folder is selected afterwards.
    EXPECT_TRUE(DragItem(Item("r"), Centre(Item("C"))));
    EXPECT_TRUE(OnDisk("C.grp/r.dat"));
    EXPECT_EQ(view.SelectedItem(), Item("C"));
    EXPECT_NE(Item("C/r"), 0u);

    // Between two rows counts as the row under the cursor: the lowest pixel of s's row.
    QModelIndex s = view.tree_model().IndexOf(Item("s"));
    EXPECT_TRUE(DragItem(Item("C/q"),
                         QPoint(view.visualRect(s).center().x(), view.visualRect(s).bottom())));
    EXPECT_TRUE(OnDisk("q.dat")) << "dropped on the page s: beside it, at the top level";

    // A folder dropped on a folder below it stays, without a word.
    EXPECT_TRUE(DragItem(Item("A"), Centre(Item("A/B"))));
    EXPECT_TRUE(OnDisk("A.grp/B.grp/p.dat"));
    EXPECT_TRUE(TakeShownMessages().empty());

    // Dropped on a page inside it, the system says why not.
    SetNextMessageAnswer(MessageAnswer::kOk);
    view.ExpandItem(Item("A/B"));
    EXPECT_TRUE(DragItem(Item("A"), Centre(Item("A/B/p"))));
    std::vector<ShownMessage> shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Invalid argument");
    EXPECT_TRUE(OnDisk("A.grp/B.grp/p.dat"));

    // Dropped on itself it only stays selected; empty space takes no drop.
    EXPECT_TRUE(DragItem(Item("s"), Centre(Item("s"))));
    EXPECT_EQ(view.SelectedItem(), Item("s"));
    EXPECT_FALSE(DragItem(Item("s"), QPoint(5, view.viewport()->height() - 2)));
    EXPECT_TRUE(OnDisk("s.dat"));

    // The root does not move; a link's data is not taken for an item.
    QModelIndex root = view.tree_model().IndexOf(window.tree().root());
    EXPECT_FALSE(view.tree_model().flags(root) & Qt::ItemIsDragEnabled);
}

TEST_F(WindowDropsTest, ALinkDroppedAnywhereOnTheWindowOffersANewPage) {
    Dir("News.grp");
    MainWindow& window = Open();
    window.tree_view().SelectItem(Item("News"));
    std::u16string moz = u"https://example.com/a\nNews / Views 🎉";
    auto data = std::make_unique<QMimeData>();
    data->setData("text/x-moz-url", QByteArray(reinterpret_cast<const char*>(moz.data()),
                                               static_cast<qsizetype>(moz.size() * 2)));
    QString shown_name;
    QString shown_url;
    WhenDialogShows([&](QDialog& sheet) {
        shown_name = test::Find<QLineEdit>(&sheet, "siteName")->text();
        shown_url = test::Find<QLineEdit>(&sheet, "URL")->text();
        test::PressOk(sheet);
    });
    // Over the result pane, which takes no drops of its own: the window takes it.
    EXPECT_TRUE(Drop(window.result_pane().viewport(), QPoint(20, 20), data.get(), Qt::CopyAction));
    QTRY_VERIFY_WITH_TIMEOUT(OnDisk("News.grp/News ／ Views.dat/site.ini"), 3000);
    EXPECT_EQ(shown_name, Q("News ／ Views"));
    EXPECT_EQ(shown_url, Q("https://example.com/a"));

    // Over the tree, which moves only its own items, the same.
    auto plain = std::make_unique<QMimeData>();
    plain->setText("https://example.com/b");
    WhenDialogShows([](QDialog& sheet) { test::PressOk(sheet); });
    EXPECT_TRUE(Drop(window.tree_view().viewport(), Centre(Item("News")), plain.get(),
                     Qt::CopyAction | Qt::MoveAction));
    QTRY_VERIFY_WITH_TIMEOUT(OnDisk("News.grp/新規ページ.dat/site.ini"), 3000);

    // A text too long for an address is refused with a status text; nothing opens.
    auto long_text = std::make_unique<QMimeData>();
    long_text->setText(QString("http://example.com/") + QString(2100, QLatin1Char('x')));
    EXPECT_TRUE(
        Drop(window.result_pane().viewport(), QPoint(20, 20), long_text.get(), Qt::CopyAction));
    QApplication::processEvents();
    EXPECT_EQ(window.StatusText(), Q("ドロップされたテキストが長すぎます(2100バイトまで)"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Window services that say a check is running.
class CheckingServices : public WindowServices {
  public:
    QWidget* window() override { return nullptr; }
    const settings::AppSettings& settings() const override { return settings_; }
    void SetStatusText(std::string_view text) override { status = text; }
    void LockCommands(bool) override {}
    bool CheckRunning() const override { return true; }
    void ShowProgress(int, int) override {}
    void ClearPane() override {}
    results::ResultDisplay& display() override { return display_; }
    void OpenAddress(std::string_view) override {}

    std::string status;

  private:
    settings::AppSettings settings_;
    results::ResultDocument document_;
    results::ResultDisplay display_{document_};
};

TEST(LinkDropsTest, ADropWhileACheckRunsMakesNothing) {
    QWidget window;
    CheckingServices services;
    int offered = 0;
    LinkDrops drops(
        &window, services, [&](std::optional<std::string>, std::string) { ++offered; },
        [] { return std::string("/tmp"); });
    QMimeData data;
    data.setText("http://example.com/");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted()) << "the window takes any drop";
    QApplication::processEvents();
    EXPECT_EQ(offered, 0);
}

TEST_F(WindowDropsTest, TheFavoritesAndBookmarkImportsFillTheTree) {
    MainWindow& window = Open();
    QStringList file_menu;
    for (QAction* action : window.menuBar()->actions().front()->menu()->actions()) {
        file_menu << action->text();
        EXPECT_TRUE(action->isSeparator() || action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_EQ(file_menu.mid(0, 2), (QStringList{Q("IEのお気に入りをインポート(&I)"),
                                                Q("ブックマークをインポート(&M)...")}));

    test::TempDir favorites;
    test::MakeDir(favorites / "News");
    test::WriteBytes(favorites / "News/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
    test::WriteBytes(favorites / "b.url", "[InternetShortcut]\r\nURL=http://b.example/\r\n");
    SetNextMessageAnswer(MessageAnswer::kYes);
    SetNextOpenAnswer(favorites.path());
    window.RunCommand(kImportFavorites);
    std::vector<ShownMessage> asked = TakeShownMessages();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, Sjis("IEのお気に入りをインポートします。\n\nよろしいですか？"));
    EXPECT_EQ(asked[0].caption, Sjis("確認"));
    EXPECT_EQ(window.StatusText(), Q("IEのお気に入り インポート完了(2件)"));
    EXPECT_NE(Item("IEのお気に入り/News/a"), 0u) << "the tree is rebuilt";
    EXPECT_EQ(window.tree_view().SelectedItem(), window.tree().root());

    SetNextMessageAnswer(MessageAnswer::kNo);
    window.RunCommand(kImportFavorites);
    EXPECT_FALSE(OnDisk("IEのお気に入り(1).grp")) << "answered No";
    TakeShownMessages();

    SetNextOpenAnswer(Fixture("firefox.html"));
    window.RunCommand(kImportBookmarks);
    EXPECT_EQ(window.StatusText(), Q("ブックマーク インポート完了(6件作成, 4件スキップ)"));
    EXPECT_NE(Item("firefox/Mozilla Firefox/Get Help"), 0u);
    SetNextOpenAnswer(Fixture("firefox.html"));
    window.RunCommand(kImportBookmarks);
    EXPECT_EQ(window.StatusText(), Q("新しいアドレスはありませんでした(10件スキップ)"));
    EXPECT_EQ(Item("firefox(1)"), 0u);

    test::WriteBytes(favorites / "page.html", "<!DOCTYPE html><html></html>");
    SetNextOpenAnswer(favorites / "page.html");
    SetNextMessageAnswer(MessageAnswer::kOk);
    window.RunCommand(kImportBookmarks);
    std::vector<ShownMessage> refused = TakeShownMessages();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].text.starts_with(Sjis("ブックマークとして読み込めません。")));
    EXPECT_EQ(Item("page"), 0u);
}

// A command's standard output.
std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        output.append(buffer.data(), n);
    }
    ::pclose(pipe);
    return output;
}
// The text of the PDF, pages ending in a form feed (pdftotext ends each page's text with
// an empty line, left out here).
std::string Text(const std::string& pdf) {
    std::string text = Output("pdftotext -enc UTF-8 '" + pdf + "' -");
    for (std::size_t at; (at = text.find("\n\n\f")) != std::string::npos;) {
        text.erase(at, 1);
    }
    return text;
}

// Printing to PDF files read back with poppler's tools.
class PrintTest : public testing::Test {
  protected:
    void SetUp() override {
        if (std::system("pdftotext -v >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "poppler-utils are not installed (scripts/setup)";
        }
    }

    int Pages(const std::string& pdf) {
        std::string info = Output("pdfinfo '" + pdf + "'");
        std::size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
    }
    PrintResult Print(const std::string& pdf, const QString& text, int copies = 1) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setCopyCount(copies);
        printer.setCollateCopies(true);
        return PrintText(printer, Job(text), [] { return false; });
    }
    PrintJob Job(const QString& text) {
        QFont font(desktop::ShownFamily(""));
        font.setPointSize(12);
        return PrintJob{text, font, 150, QStringLiteral("Velnora")};
    }

    test::TempDir dir_;
};

TEST_F(PrintTest, OneShortLineIsOnePageAndTheLastLineIsPrintedToo) {
    std::string pdf = dir_ / "short.pdf";
    ASSERT_EQ(Print(pdf, Q("更新チェック結果 one line")), PrintResult::kPrinted);
    EXPECT_EQ(Pages(pdf), 1);
    EXPECT_EQ(Text(pdf), "更新チェック結果 one line\n\f");
}

TEST_F(PrintTest, ALongLineWrapsWithoutSplittingACharacter) {
    QString line;
    for (int i = 0; i < 120; ++i) {
        line += QChar(0x3042 + i % 80);  // hiragana
    }
    std::string pdf = dir_ / "long.pdf";
    ASSERT_EQ(Print(pdf, line + "\n"), PrintResult::kPrinted);
    QString printed = Q(Text(pdf));
    QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 3) << "wrapped" << printed.toStdString();
    printed.remove('\n').remove('\f');
    EXPECT_EQ(printed, line) << "every character, in order";
}

TEST_F(PrintTest, PagesBreakAtThePageHeightAndCollatedCopiesRepeatTheText) {
    QString text;
    for (int i = 1; i <= 100; ++i) {
        text += QStringLiteral("line %1\n").arg(i);
    }
    std::string pdf = dir_ / "pages.pdf";
    ASSERT_EQ(Print(pdf, text), PrintResult::kPrinted);
    int pages = Pages(pdf);
    EXPECT_GE(pages, 2);
    std::string printed = Text(pdf);
    EXPECT_LT(printed.find("line 1\n"), printed.find("line 100\n"));

    std::string copies = dir_ / "copies.pdf";
    ASSERT_EQ(Print(copies, Q("short line\n"), 3), PrintResult::kPrinted);
    EXPECT_EQ(Pages(copies), 3);
    EXPECT_EQ(Text(copies), "short line\n\fshort line\n\fshort line\n\f");
}

TEST_F(PrintTest, TheLayoutWrapsAndBreaksAsMeasured) {
    // Characters 10 wide, lines 10 high, pages 35 wide and 30 high: three characters a line,
    // three lines a page.
    PrintMeasures measures{35, 30, 10};
    auto width = [](const QString&) { return 10.0; };
    std::vector<PrintPage> pages = LayOutPrintPages(Q("abcdefg\n\n\n\nh"), measures, width);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[0].size(), 7u);
    EXPECT_EQ(pages[0][3].text, "d");
    EXPECT_EQ(pages[0][3].x, 0);
    EXPECT_EQ(pages[0][3].y, 10) << "wrapped before passing the edge";
    EXPECT_EQ(pages[0][6].y, 20);
    EXPECT_TRUE(pages[1].empty()) << "empty lines crossing a page's end leave it empty";
    EXPECT_EQ(pages[2][0].text, "h");
    EXPECT_EQ(pages[2][0].y, 0);
    EXPECT_EQ(LayOutPrintPages(Q("x\n\n\n\n\n\n\n"), measures, width).size(), 1u)
        << "empty pages at the end are not printed";
    // A character wider than the page stands alone on its line, without an empty line before.
    std::vector<PrintPage> wide =
        LayOutPrintPages(Q("W"), measures, [](const QString&) { return 50.0; });
    EXPECT_EQ(wide[0][0].y, 0);
}

TEST_F(PrintTest, TheCancelButtonStopsPrintingAndLeavesTheWindowUsable) {
    QWidget window;
    window.show();
    QString text;
    for (int i = 0; i < 4000; ++i) {
        text += QStringLiteral("line %1\n").arg(i);
    }
    std::string pdf = dir_ / "cancelled.pdf";
    SetNextPrintDialogAnswer([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    QTimer::singleShot(0, [] {
        auto* button = qApp->findChild<QPushButton*>("CancelPrinting");
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* found = top->findChild<QPushButton*>("CancelPrinting")) {
                button = found;
            }
        }
        ASSERT_NE(button, nullptr);
        button->click();
    });
    EXPECT_EQ(PrintWithDialog(&window, Job(text)), PrintResult::kCancelled);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A cancelled dialog prints nothing.
    SetNextPrintDialogAnswer([](QPrinter&) { return false; });
    EXPECT_EQ(PrintWithDialog(&window, Job(text)), PrintResult::kPrinted);
}

TEST_F(WindowDropsTest, ThePrintCommandPrintsWhatThePaneShows) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    MainWindow& window = Open();
    // (Kanji that share their glyph with a radical, such as 行, come back from the PDF as the
    // radical: the text avoids them.)
    window.document().AppendText(Sjis("更新あり\n最後のもの"));
    std::string pdf = home_ / "pane.pdf";
    SetNextPrintDialogAnswer([&](QPrinter& printer) {
        EXPECT_TRUE(printer.collateCopies());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    window.RunCommand(kPrint);
    EXPECT_EQ(Text(pdf), "更新あり\n最後のもの\n\f") << "the last line too";
}

}  // namespace
}  // namespace velnora::window
