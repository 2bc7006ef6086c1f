#include "pane/result_pane.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

#include "desktop/fonts.h"
#include "desktop/qt_text.h"
#include "results/display.h"
#include "results/link_targets.h"
#include "results/results_support.h"
#include "settings/app_settings.h"
#include "settings/settings_views.h"

namespace velnora::pane {
namespace {

using results::test::StoredText;
using test::Sjis;

const QColor kYellow(255, 255, 0);

// The format of the character at the position (a default one for a line break).
QTextCharFormat FormatAt(const ResultPane& pane, std::size_t position) {
    int at = static_cast<int>(position);
    QTextBlock block = pane.document()->findBlock(at);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment fragment = it.fragment();
        if (fragment.contains(at)) {
            return fragment.charFormat();
        }
    }
    return QTextCharFormat();
}

class ResultPaneTest : public ::testing::Test {
  protected:
    ResultPaneTest() : page_(results::test::MakePage(temp_, "Page", "http://example.com/")) {
        results::DisplaySettings settings = results::test::DefaultDisplaySettings();
        settings.header = "== %link; %config;";
        display_.SetSettings(settings);
        pane_.resize(420, 240);
        pane_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&pane_));
    }

    // Writes add<index>.txt with the lines (UTF-8) and shows it as a block.
    void ShowLines(int index, std::initializer_list<std::string_view> lines) {
        velnora::test::WriteBytes(
            results::test::PageFile(page_, "add" + std::to_string(index) + ".txt"),
            StoredText(lines));
        ASSERT_TRUE(display_.ShowUpdateText(page_, index));
    }

    // Blocks of `lines` numbered lines each, so that the pane scrolls.
    void ShowBlocks(int blocks, int lines) {
        results::DisplaySettings settings = display_.settings();
        settings.max_disp_line = 2000;
        display_.SetSettings(settings);
        for (int b = 0; b < blocks; ++b) {
            std::string text;
            for (int i = 0; i < lines; ++i) {
                text += "line " + std::to_string(b) + "." + std::to_string(i) + "\r\n";
            }
            velnora::test::WriteBytes(
                results::test::PageFile(page_, "add" + std::to_string(b) + ".txt"), text);
            ASSERT_TRUE(display_.ShowUpdateText(page_, b));
        }
    }

    void UseHighlights(std::initializer_list<std::string_view> keywords) {
        results::DisplaySettings settings = display_.settings();
        settings.use_highlight = 1;
        int i = 0;
        for (std::string_view keyword : keywords) {
            settings.highlights[i++] = Sjis(keyword);
        }
        display_.SetSettings(settings);
    }

    // A point of the viewport on the middle of the character at the position.
    QPoint PointOn(std::size_t position) {
        pane_.document()->documentLayout()->documentSize();
        QTextCursor cursor(pane_.document());
        cursor.setPosition(static_cast<int>(position));
        QRect left = pane_.cursorRect(cursor);
        cursor.setPosition(static_cast<int>(position) + 1);
        QRect right = pane_.cursorRect(cursor);
        int x = right.top() == left.top() ? (left.left() + right.left()) / 2 : left.left() + 2;
        return QPoint(x, left.center().y());
    }

    std::size_t LinkStart(std::string_view target_prefix) const {
        for (const results::LinkRecord& link : document_.Links()) {
            if (link.target.rfind(target_prefix, 0) == 0) {
                return link.start;
            }
        }
        ADD_FAILURE() << "no link to " << target_prefix;
        return 0;
    }

    // Distance of the caret's line from the top of the view, in pixels.
    int CaretFromTop() const { return pane_.cursorRect().top(); }

    velnora::test::TempDir temp_;
    store::ItemRecord page_;
    results::ResultDocument document_;
    results::ResultDisplay display_{document_};
    ResultPane pane_{document_, settings::PaneAppearanceFrom(settings::AppSettings{})};
};

TEST_F(ResultPaneTest, ShowsTheDocumentsTextWithLinksAtTheirPositions) {
    ShowLines(0, {"新しい <a href=\"http://example.com/n\">記事</a> です",
                  "<a href=\"http://example.com/i\"><img src=\"a.png\" alt=\"絵\"></a> 終わり"});

    EXPECT_EQ(pane_.toPlainText(), desktop::FromSjis(document_.Text()));
    EXPECT_EQ(static_cast<std::size_t>(pane_.document()->characterCount() - 1), document_.Length());

    ASSERT_EQ(document_.Links().size(), 4u);  // header, settings, article, image
    for (const results::LinkRecord& link : document_.Links()) {
        SCOPED_TRACE(test::Utf8(link.target));
        for (std::size_t p = link.start; p < link.start + link.length; ++p) {
            QTextCharFormat format = FormatAt(pane_, p);
            EXPECT_TRUE(format.isAnchor());
            EXPECT_EQ(format.anchorHref(), desktop::FromSjis(link.target));
            EXPECT_TRUE(format.fontUnderline());
            EXPECT_EQ(format.foreground().color(), QColor(Qt::black));
        }
        EXPECT_FALSE(FormatAt(pane_, link.start + link.length).isAnchor());
    }
    EXPECT_TRUE(results::IsSettingsTarget(document_.Links()[1].target));
    EXPECT_EQ(
        desktop::FromSjis(document_.TextRange(
            document_.Links()[1].start, document_.Links()[1].start + document_.Links()[1].length)),
        QString::fromUtf8("▽"));

    QTextCharFormat plain = FormatAt(pane_, 0);
    EXPECT_FALSE(plain.isAnchor());
    EXPECT_EQ(plain.foreground().color(), QColor(Qt::black));
    EXPECT_EQ(plain.background().style(), Qt::NoBrush);
}

TEST_F(ResultPaneTest, KeywordHitsHaveTheHighlightBackground) {
    UseHighlights({"記事", "END"});
    ShowLines(0, {"記事 one", "<a href=\"http://example.com/n\">記事</a> end"});

    ASSERT_EQ(document_.Highlights().size(), 3u);
    for (const results::HighlightHit& hit : document_.Highlights()) {
        for (std::size_t p = hit.start; p < hit.end; ++p) {
            EXPECT_EQ(FormatAt(pane_, p).background().color(), kYellow) << p;
        }
    }
    // A hit inside a link stays a link.
    EXPECT_TRUE(FormatAt(pane_, document_.Highlights()[1].start).isAnchor());
    EXPECT_EQ(FormatAt(pane_, document_.Highlights()[0].end).background().style(), Qt::NoBrush);
}

TEST_F(ResultPaneTest, KeepsPositionsForEveryCharacter) {
    // A carriage return before a line feed, a NUL, a lone lead byte, half-width kana and a text
    // far beyond the old 128,000-character limit all keep one widget position per character.
    document_.AppendText(std::string("a\r\nb") + '\0' + "c\x82" + "\xb1\xb2\n");
    document_.AppendLink("http://example.com/", Sjis("リンク"), false);
    std::string line = std::string(99, 'x') + "\n";
    for (int i = 0; i < 1300; ++i) {
        document_.AppendText(line);
    }
    document_.AppendLink("http://example.com/end", "end", false);

    EXPECT_EQ(static_cast<std::size_t>(pane_.document()->characterCount() - 1), document_.Length());
    std::size_t last = document_.Links().back().start;
    EXPECT_EQ(FormatAt(pane_, last).anchorHref(), QString("http://example.com/end"));
    EXPECT_FALSE(FormatAt(pane_, last - 1).isAnchor());
}

TEST_F(ResultPaneTest, ClearingEmptiesThePaneAndNewTextKeepsTheLineSpacing) {
    ShowLines(0, {"<a href=\"http://example.com/n\">link</a>"});
    QTest::mouseMove(pane_.viewport(), PointOn(LinkStart("http://example.com/n")));
    QSignalSpy hovered(&pane_, &ResultPane::linkHovered);

    document_.Clear();
    EXPECT_TRUE(pane_.toPlainText().isEmpty());
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).toInt(), results::kNoLink);

    ShowLines(1, {"after", "two"});
    EXPECT_EQ(pane_.toPlainText(), desktop::FromSjis(document_.Text()));
    for (QTextBlock block = pane_.document()->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight);
    }
}

TEST_F(ResultPaneTest, ANewPaneShowsWhatTheDocumentAlreadyHolds) {
    UseHighlights({"key"});
    ShowLines(0, {"a key <a href=\"http://example.com/n\">link</a>"});
    ResultPane second(document_, pane_.appearance());
    EXPECT_EQ(second.toPlainText(), pane_.toPlainText());
    EXPECT_TRUE(FormatAt(second, LinkStart("http://example.com/n")).isAnchor());
    EXPECT_EQ(FormatAt(second, document_.Highlights()[0].start).background().color(), kYellow);
}

TEST_F(ResultPaneTest, APageDisplayFreezesTheViewAndKeepsItsScrollPosition) {
    ShowBlocks(3, 40);
    pane_.document()->documentLayout()->documentSize();
    QScrollBar* scroll = pane_.verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 300);
    scroll->setValue(200);

    document_.BeginBatch();
    EXPECT_FALSE(pane_.updatesEnabled());
    document_.AppendText("more\n");
    document_.EndBatch();
    EXPECT_TRUE(pane_.updatesEnabled());

    // The view stays and so does the user's selection, even one reaching the end.
    QTextCursor selection(pane_.document());
    selection.setPosition(10);
    selection.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    pane_.setTextCursor(selection);
    scroll->setValue(200);
    ShowBlocks(1, 30);  // the first page again, at the end
    EXPECT_EQ(scroll->value(), 200);
    EXPECT_EQ(pane_.textCursor().selectionStart(), 10);

    // The past-log search gathers text without touching the view.
    document_.BeginBatch(results::BatchView::kTextOnly);
    EXPECT_TRUE(pane_.updatesEnabled());
    document_.AppendText("found\n");
    document_.EndBatch();
    EXPECT_TRUE(pane_.toPlainText().endsWith("found\n"));
}

TEST_F(ResultPaneTest, HoveringTellsWhichLinkIsUnderTheMouse) {
    ShowLines(0, {"text <a href=\"http://example.com/n\">link</a> after"});
    QSignalSpy hovered(&pane_, &ResultPane::linkHovered);
    std::size_t link = LinkStart("http://example.com/n");

    QTest::mouseMove(pane_.viewport(), PointOn(link + 1));
    QTest::mouseMove(pane_.viewport(), PointOn(link + 2));  // the same link: no news
    QTest::mouseMove(pane_.viewport(), PointOn(LinkStart("\x01")));
    QTest::mouseMove(pane_.viewport(), PointOn(link + 6));  // " after"

    ASSERT_EQ(hovered.count(), 3);
    EXPECT_EQ(hovered.at(0).at(0).toInt(), 2);
    EXPECT_EQ(hovered.at(1).at(0).toInt(), 1);
    EXPECT_EQ(hovered.at(2).at(0).toInt(), results::kNoLink);
}

TEST_F(ResultPaneTest, ClickAndEnterActivateTheLinkUnderThem) {
    ShowLines(0, {"text <a href=\"http://example.com/n\">link</a> after"});
    QSignalSpy activated(&pane_, &ResultPane::linkActivated);
    std::size_t link = LinkStart("http://example.com/n");

    QTest::mouseClick(pane_.viewport(), Qt::LeftButton, {}, PointOn(link + 3));
    QTest::mouseClick(pane_.viewport(), Qt::LeftButton, {}, PointOn(LinkStart("\x01")));
    QTest::mouseClick(pane_.viewport(), Qt::LeftButton, {}, PointOn(link + 6));  // plain text
    pane_.SetCaret(link);
    QTest::keyClick(&pane_, Qt::Key_Return);
    pane_.SetCaret(link + 4);  // just after the link
    QTest::keyClick(&pane_, Qt::Key_Enter);

    ASSERT_EQ(activated.count(), 3);
    EXPECT_EQ(activated.at(0).at(0).toInt(), 2);
    EXPECT_EQ(activated.at(1).at(0).toInt(), 1);
    EXPECT_EQ(activated.at(2).at(0).toInt(), 2);
}

TEST_F(ResultPaneTest, ShiftClickPutsTheCaretOnALinkWithoutOpeningIt) {
    ShowLines(0, {"text <a href=\"http://example.com/n\">link</a> after"});
    QSignalSpy activated(&pane_, &ResultPane::linkActivated);
    std::size_t link = LinkStart("http://example.com/n");

    QTest::mouseClick(pane_.viewport(), Qt::LeftButton, Qt::ShiftModifier, PointOn(link + 2));
    EXPECT_EQ(activated.count(), 0);
    EXPECT_TRUE(pane_.SelectionIsEmpty());
    EXPECT_EQ(pane_.SelectionStart(), link + 2);
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::optional<std::string>("http://example.com/n"));

    // On a settings link Shift+click is an ordinary click that extends the selection.
    pane_.SetCaret(0);
    QTest::mouseClick(pane_.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      PointOn(LinkStart("\x01")));
    EXPECT_FALSE(pane_.SelectionIsEmpty());
    EXPECT_EQ(activated.count(), 0);
}

TEST_F(ResultPaneTest, TabKeysAreLeftToTheWindow) {
    QSignalSpy tab(&pane_, &ResultPane::tabPressed);
    QSignalSpy backtab(&pane_, &ResultPane::backtabPressed);
    QTest::keyClick(&pane_, Qt::Key_Tab);
    QTest::keyClick(&pane_, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(&pane_, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(tab.count(), 1);
    EXPECT_EQ(backtab.count(), 2);
}

TEST_F(ResultPaneTest, SettingsLinksCountOnlyForAnyLinkAt) {
    ShowLines(0, {"text <a href=\"http://example.com/n\">link</a> after"});
    std::size_t settings = LinkStart("\x01");
    std::size_t link = LinkStart("http://example.com/n");

    EXPECT_FALSE(pane_.LinkAt(settings));
    EXPECT_EQ(pane_.AnyLinkAt(settings), std::optional<std::size_t>(1));
    EXPECT_EQ(pane_.LinkAt(link + 3), std::optional<std::size_t>(2));
    EXPECT_FALSE(pane_.LinkAt(link + 4));
    EXPECT_FALSE(pane_.AnyLinkAt(link - 1));

    // The address to copy is that of the link at the selection's start.

    pane_.SetCaret(link + 3);
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::optional<std::string>("http://example.com/n"));
    QTextCursor selection(pane_.document());
    selection.setPosition(static_cast<int>(link + 1));
    selection.setPosition(static_cast<int>(link + 8), QTextCursor::KeepAnchor);
    pane_.setTextCursor(selection);
    EXPECT_FALSE(pane_.SelectionIsEmpty());
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::optional<std::string>("http://example.com/n"));

    pane_.SetCaret(settings);
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::nullopt);
    pane_.SetCaret(link - 1);
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::nullopt);
}

TEST_F(ResultPaneTest, AContextMenuMovesTheCaretUnderTheMouseWhenNothingIsSelected) {
    ShowLines(0, {"text <a href=\"http://example.com/n\">link</a> after"});
    QSignalSpy wanted(&pane_, &ResultPane::contextMenuWanted);
    std::size_t link = LinkStart("http://example.com/n");
    pane_.SetCaret(0);

    QPoint point = PointOn(link + 2);
    EXPECT_EQ(pane_.CharacterAt(point), std::optional<std::size_t>(link + 2));
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pane_.viewport()->mapToGlobal(point));
    QApplication::sendEvent(pane_.viewport(), &event);

    ASSERT_EQ(wanted.count(), 1);
    EXPECT_EQ(pane_.SelectionStart(), link + 2);
    EXPECT_EQ(pane_.LinkTargetAtSelection(), std::optional<std::string>("http://example.com/n"));
    EXPECT_EQ(pane_.CharacterAt(QPoint(pane_.viewport()->width() - 3, point.y())), std::nullopt);
}

TEST_F(ResultPaneTest, BlockJumpsScrollEachPageBlockToTheTop) {
    EXPECT_FALSE(pane_.NextBlock());
    ShowBlocks(4, 30);
    const std::vector<std::size_t>& starts = document_.BlockStarts();
    ASSERT_EQ(starts.size(), 4u);

    // From the top, the first block is already the first line: next goes to the second.
    ASSERT_TRUE(pane_.NextBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[1]);
    EXPECT_LE(std::abs(CaretFromTop()), 3);
    ASSERT_TRUE(pane_.NextBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[2]);
    EXPECT_LE(std::abs(CaretFromTop()), 3);

    ASSERT_TRUE(pane_.PreviousBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[1]);
    ASSERT_TRUE(pane_.PreviousBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[0]);
    EXPECT_EQ(pane_.verticalScrollBar()->value(), 0);
    EXPECT_FALSE(pane_.PreviousBlock());

    // From the middle of the second block, back is the second block's start.
    pane_.verticalScrollBar()->setValue(pane_.verticalScrollBar()->value() + 300);
    ASSERT_TRUE(pane_.NextBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[1]);
    pane_.verticalScrollBar()->setValue(pane_.verticalScrollBar()->value() + 100);
    ASSERT_TRUE(pane_.PreviousBlock());
    EXPECT_EQ(pane_.SelectionStart(), starts[1]);
}

TEST_F(ResultPaneTest, NextHighlightSelectsEachHitInTurnAndTakesTheFocus) {
    UseHighlights({"key"});
    ShowLines(0, {"a key and", "another key"});
    ASSERT_EQ(document_.Highlights().size(), 2u);
    pane_.clearFocus();

    for (int i : {0, 1, 0}) {
        ASSERT_TRUE(pane_.NextHighlight());
        const results::HighlightHit& hit = document_.Highlights()[static_cast<std::size_t>(i)];
        EXPECT_EQ(static_cast<std::size_t>(pane_.textCursor().selectionStart()), hit.start);
        EXPECT_EQ(static_cast<std::size_t>(pane_.textCursor().selectionEnd()), hit.end);
    }
    EXPECT_TRUE(pane_.hasFocus());

    document_.Clear();
    EXPECT_FALSE(pane_.NextHighlight());
}

TEST_F(ResultPaneTest, DisplaySettingsFallBackToAJapaneseFaceWhenTheFaceIsMissing) {
    // "ＭＳ Ｐゴシック" is not installed here
    results::PaneAppearance appearance = settings::PaneAppearanceFrom(settings::AppSettings{});
    appearance.face_name = Sjis("存在しない書体");
    appearance.point = 12;
    appearance.bold = 1;
    appearance.italic = 1;
    pane_.ApplyAppearance(appearance);

    EXPECT_EQ(pane_.appearance().face_name, Sjis("存在しない書体"));
    QString family = pane_.font().family();
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
        << family.toStdString();
    EXPECT_EQ(pane_.font().pointSize(), 12);
    EXPECT_TRUE(pane_.font().bold());
    EXPECT_TRUE(pane_.font().italic());
    EXPECT_EQ(desktop::ShownFamily(settings::AppSettings{}.face_name), family);

    // An installed face is used as it is.
    QString installed = QFontDatabase::families(QFontDatabase::Latin).value(0);
    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(desktop::ShownFamily(desktop::ToSjis(installed)), installed);
}

TEST_F(ResultPaneTest, DisplaySettingsRecolourTheTextAndKeepLinksAndHighlights) {
    UseHighlights({"key"});
    ShowLines(0, {"a key <a href=\"http://example.com/n\">link</a>"});
    std::size_t link = LinkStart("http://example.com/n");
    std::size_t hit = document_.Highlights()[0].start;

    results::PaneAppearance appearance = settings::PaneAppearanceFrom(settings::AppSettings{});
    appearance.color = 0x0000FF;            // red
    appearance.back_color = 0x203040;       // R 0x40, G 0x30, B 0x20
    appearance.highlight_color = 0x00FF00;  // green
    appearance.point = 12;
    appearance.line_height = 150;  // 12 × 150 × 20 / 100 = 360 twips: 18 points
    pane_.ApplyAppearance(appearance);

    EXPECT_EQ(pane_.palette().color(QPalette::Base), QColor(0x40, 0x30, 0x20));
    for (std::size_t p : {std::size_t{0}, link, hit}) {
        EXPECT_EQ(FormatAt(pane_, p).foreground().color(), QColor(255, 0, 0)) << p;
    }
    EXPECT_TRUE(FormatAt(pane_, link).isAnchor());
    EXPECT_TRUE(FormatAt(pane_, link).fontUnderline());
    EXPECT_EQ(FormatAt(pane_, hit).background().color(), kYellow);

    qreal pixels = 18.0 * pane_.logicalDpiY() / 72.0;
    int blocks = 0;
    for (QTextBlock block = pane_.document()->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight);
        EXPECT_DOUBLE_EQ(block.blockFormat().lineHeight(), pixels);
        ++blocks;
    }
    EXPECT_GE(blocks, 3);

    // New text takes the new colours.
    ShowLines(1, {"second key"});
    std::size_t second = document_.Highlights().back().start;
    EXPECT_EQ(FormatAt(pane_, second).background().color(), QColor(0, 255, 0));
    EXPECT_EQ(FormatAt(pane_, second).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(pane_.document()->lastBlock().blockFormat().lineHeight(), pixels);
}

TEST_F(ResultPaneTest, ANonPositiveLineHeightKeepsTheFontsOwnSpacing) {
    results::PaneAppearance appearance = settings::PaneAppearanceFrom(settings::AppSettings{});
    appearance.line_height = 0;
    pane_.ApplyAppearance(appearance);
    ShowLines(0, {"one", "two"});
    for (QTextBlock block = pane_.document()->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.blockFormat().lineHeightType(), QTextBlockFormat::SingleHeight);
    }
    EXPECT_EQ(results::LineSpacingTwips(appearance), 0);
    appearance.line_height = 130;
    appearance.point = 9;
    EXPECT_EQ(results::LineSpacingTwips(appearance), 234);  // 9 × 130 × 20 / 100
}

}  // namespace
}  // namespace velnora::pane
