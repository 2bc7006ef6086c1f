#include "results/document.h"

#include <gtest/gtest.h>

#include "results/pane_limits.h"
#include "results/results_support.h"

namespace velnora::results {
namespace {

using test::Markup;
using test::MarkupUtf8;
using test::RecordingListener;
using test::Sjis;

TEST(ResultDocument, PositionsCountADoubleByteCharacterAndALineFeedAsOne) {
    ResultDocument document;
    document.AppendText(Sjis("日本語ab\n"));
    document.AppendText(Sjis("ｴ表"));  // a half-width kana is one byte, one position
    EXPECT_EQ(document.Length(), 8u);
    EXPECT_EQ(document.ByteOffset(3), 6u);
    EXPECT_EQ(document.ByteOffset(7), 10u);
    EXPECT_EQ(document.ByteOffset(8), 12u) << "the end";
    EXPECT_EQ(document.TextRange(1, 4), Sjis("本語a"));
    EXPECT_EQ(document.TextRange(6, 99), Sjis("ｴ表"));
}

TEST(ResultDocument, LeadByteWithoutItsTrailBecomesAQuestionMark) {
    // Whole, a character is one position; split between two appends, each half stands alone,
    // so a position never depends on what is appended later.
    ResultDocument whole;
    whole.AppendText("\x82\xa0");  // あ
    EXPECT_EQ(whole.Length(), 1u);

    ResultDocument split;
    split.AppendText("\x82");
    split.AppendText("\xa0");
    EXPECT_EQ(split.Length(), 2u);
    EXPECT_EQ(split.Text(), "?\xa0");

    ResultDocument before_line_feed;  // a line feed is never taken for a trail byte
    before_line_feed.AppendText("a\x81\nb");
    EXPECT_EQ(before_line_feed.Text(), "a?\nb");
    EXPECT_EQ(before_line_feed.Length(), 4u);
}

TEST(ResultDocument, LinkRecordsCarryPositionsAndTheirBlocksHeader) {
    ResultDocument document;
    document.AppendLink("http://before/", "x", false);
    document.AppendText(Sjis("■"));
    EXPECT_EQ(document.AppendLink("http://page/", Sjis("ページ"), true), 2u);
    document.AppendText(" ");
    document.AppendLink(SettingsTarget(42), Sjis("▽"), false);
    document.AppendText("\n");
    document.AppendLink("http://second/", "S", true);
    document.AppendLink("http://in/", "in", false);

    const auto& links = document.Links();
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].header_index, kNoLink) << "a link before any header has none";
    EXPECT_EQ(links[1].start, 2u);
    EXPECT_EQ(links[1].length, 3u);
    EXPECT_EQ(links[1].header_index, 1) << "a header link holds its own index";
    EXPECT_EQ(links[2].target,
              "\x01"
              "42");
    EXPECT_EQ(links[2].header_index, 1) << "the settings link is not a header";
    EXPECT_EQ(links[3].header_index, 3);
    EXPECT_EQ(links[4].header_index, 3);
    EXPECT_EQ(document.CurrentHeaderIndex(), 3);
    EXPECT_EQ(links[4].start, 10u) << "after the space between the two links";
}

TEST(ResultDocument, OnlyWebAndFtpTargetsBecomeLinks) {
    struct Row {
        const char* target;
        bool link;
    };
    const Row rows[] = {
        {"http://example.com/", true},
        {"HTTPS://example.com/", true},
        {"Ftp://example.com/file", true},
        {"\x01"
         "12",
         true},  // a settings link
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {"file:///etc/passwd", false},
        {"data:text/html,<b>x</b>", false},
        {"mailto:someone@example.com", false},
        {" http://example.com/", false},  // the scheme must begin the target
        {"http:example.com", false},
        {"example.com", false},
        {"", false},
    };
    for (const Row& row : rows) {
        ResultDocument document;
        document.AppendText("<");
        document.AppendLink(row.target, "text", false);
        document.AppendText(">");
        EXPECT_EQ(document.Text(), "<text>") << row.target;
        EXPECT_EQ(document.Links().size(), row.link ? 1u : 0u) << row.target;
        EXPECT_EQ(document.LinkAt(2).has_value() || document.AnyLinkAt(2).has_value(), row.link)
            << row.target;
    }
}

TEST(ResultDocument, RefusedLinkKeepsTheSpacingAndARefusedHeaderEndsTheBlock) {
    ResultDocument document;
    document.AppendLink("http://page/", "P", true);
    document.AppendLink("javascript:void(0)", "J", false);
    document.AppendLink("http://a/", "A", false);
    EXPECT_EQ(Markup(document), "{P|http://page/} J {A|http://a/}");

    document.AppendText("\n");
    document.AppendLink("file:///home", "H", true);
    document.AppendLink("http://b/", "B", false);
    EXPECT_EQ(document.Links().back().header_index, kNoLink)
        << "a link below a refused header is not filed under the previous page";
}

TEST(ResultDocument, LinkAtPosition) {
    ResultDocument document;
    document.AppendText("ab");
    document.AppendLink("http://x/", Sjis("リンク"), true);  // positions 2 to 4
    document.AppendText(" ");
    document.AppendLink(SettingsTarget(3), Sjis("▽"), false);  // position 6 (after the space)
    document.AppendText("\n");

    EXPECT_FALSE(document.LinkAt(1));
    EXPECT_EQ(document.LinkAt(2), 0u);
    EXPECT_EQ(document.LinkAt(4), 0u);
    EXPECT_FALSE(document.LinkAt(5)) << "the end of a link is outside it";
    EXPECT_FALSE(document.LinkAt(6)) << "a settings link counts as none";
    EXPECT_EQ(document.AnyLinkAt(6), 1u) << "but hovering and clicking find it";
    EXPECT_FALSE(document.LinkAt(100));
    EXPECT_EQ(document.LinkTargetAt(3), "http://x/");
    EXPECT_FALSE(document.LinkTargetAt(6));
    EXPECT_EQ(SettingsTargetItem(document.Links()[1].target), 3u);
    EXPECT_FALSE(SettingsTargetItem("\x01"));
    EXPECT_FALSE(SettingsTargetItem("http://x/"));
}

TEST(ResultDocument, BatchesNestAndReportTheirRunsAtTheEnd) {
    ResultDocument document;
    RecordingListener listener;
    document.SetListener(&listener);

    document.AppendText("outside");
    document.BeginBatch();
    document.AppendText("a");
    document.AppendText("b");
    document.BeginBatch();  // a status line inside a page display
    document.AppendLink("http://x/", "L", true);
    document.EndBatch();
    EXPECT_TRUE(document.InBatch());
    document.AppendText("c");
    document.EndBatch();
    document.EndBatch();  // one end too many does nothing
    document.BeginBatch(BatchView::kTextOnly);
    document.EndBatch();

    std::vector<std::string> expected = {"runs [outside]", "begin",   "runs [ab] [L] [c]", "end",
                                         "begin text",     "end text"};
    EXPECT_EQ(listener.events, expected);
    EXPECT_EQ(listener.runs_reported, document.Runs().size());

    // A link before a batch puts no space before the batch's first link.
    document.AppendLink("http://z/", "Z", false);
    document.BeginBatch();
    document.AppendLink("http://y/", "M", false);
    document.EndBatch();
    EXPECT_TRUE(Markup(document).ends_with("{Z|http://z/}{M|http://y/}"));
}

TEST(ResultDocument, HighlightReportsTheTextItColoursFirst) {
    ResultDocument document;
    RecordingListener listener;
    document.SetListener(&listener);
    document.BeginBatch();
    document.AppendText("abc");
    document.Highlight(1, 2);
    document.AppendText("d");
    document.EndBatch();
    std::vector<std::string> expected = {"begin", "runs [abc]", "runs [d]", "end"};
    EXPECT_EQ(listener.events, expected);
    EXPECT_EQ(listener.highlighted, 1u);
}

TEST(ResultDocument, ClearEmptiesTextAndTables) {
    ResultDocument document;
    RecordingListener listener;
    document.SetListener(&listener);
    document.AppendLink("http://x/", "L", true);
    document.AddBlockStart(0);
    document.Highlight(0, 1);
    document.Clear();
    EXPECT_EQ(document.Length(), 0u);
    EXPECT_TRUE(document.Text().empty());
    EXPECT_TRUE(document.Runs().empty());
    EXPECT_TRUE(document.Links().empty());
    EXPECT_TRUE(document.BlockStarts().empty());
    EXPECT_TRUE(document.Highlights().empty());
    EXPECT_FALSE(document.NextHighlight());
    EXPECT_EQ(document.CurrentHeaderIndex(), kNoLink);
    EXPECT_EQ(listener.events.back(), "cleared");
    document.AppendLink("http://y/", "M", false);
    EXPECT_EQ(Markup(document), "{M|http://y/}") << "no space left over from before the clear";
}

TEST(ResultDocument, BlockStartsKeepTheirLimit) {
    ResultDocument document;
    for (std::size_t i = 0; i < kMaxBlockStarts + 5; ++i) {
        document.AddBlockStart(i);
    }
    EXPECT_EQ(document.BlockStarts().size(), kMaxBlockStarts);
    EXPECT_EQ(document.BlockStarts().back(), kMaxBlockStarts - 1);
}

TEST(ResultDocument, AppendingManyLinesStaysCheapAndMergesPlainRuns) {
    ResultDocument document;
    RecordingListener listener;
    document.SetListener(&listener);
    document.BeginBatch();
    for (int i = 0; i < 20000; ++i) {
        document.AppendText(Sjis("行のテキスト "));
        document.AppendLink("http://example.com/", "link", false);
        document.AppendText("\n");
    }
    document.EndBatch();
    EXPECT_EQ(document.Length(), 20000u * 12);
    EXPECT_EQ(document.Links().size(), 20000u);
    EXPECT_LT(document.Runs().size(), 20000u * 3) << "plain pieces are gathered";
    EXPECT_EQ(listener.runs_reported, document.Runs().size());
    // Position lookups find the right bytes anywhere in a long document.
    std::size_t last_line = 19999u * 12;
    EXPECT_EQ(document.TextRange(last_line, last_line + 3), Sjis("行のテ"));
    EXPECT_EQ(document.LinkAt(last_line + 7), 19999u);
    EXPECT_TRUE(MarkupUtf8(document).starts_with("行のテキスト {link|http://example.com/}\n行"));
}

}  // namespace
}  // namespace velnora::results
