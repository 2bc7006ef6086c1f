#include "results/display.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <chrono>

#include "files/file_system.h"
#include "results/pane_limits.h"
#include "results/results_support.h"
#include "store/log_index.h"
#include "store/settings_files.h"

namespace velnora::results {
namespace {

using test::Markup;
using test::MarkupUtf8;
using test::PageFile;
using test::RecordingListener;
using test::RecordingStatus;
using test::Sjis;
using test::StoredText;

// 2024/05/06 07:08:09 in local time.
std::time_t FileTime() {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 6;
    local.tm_hour = 7;
    local.tm_min = 8;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

class ResultDisplayTest : public ::testing::Test {
  protected:
    ResultDisplayTest() : page_(test::MakePage(temp_, "Page", "http://example.com/")) {
        document_.SetListener(&listener_);
        EXPECT_EQ(store::WritePageSettings(page_.node.path, page_.settings), 0);
        DisplaySettings settings = test::DefaultDisplaySettings();
        settings.header = "== %link; %date; %time;";
        display_.SetSettings(settings);
    }

    void Write(std::string_view file, const std::string& bytes) {
        std::string path = PageFile(page_, file);
        velnora::test::WriteBytes(path, bytes);
        utimbuf times{FileTime(), FileTime()};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    void ChangeSettings(void (*change)(DisplaySettings&)) {
        DisplaySettings settings = display_.settings();
        change(settings);
        display_.SetSettings(settings);
    }

    std::string Shown() const { return MarkupUtf8(document_); }

    velnora::test::TempDir temp_;
    store::ItemRecord page_;
    ResultDocument document_;
    RecordingListener listener_;
    RecordingStatus status_;
    ResultDisplay display_{document_, &status_};
};

constexpr const char* kHeader = "== {Page|http://example.com/} 2024/05/06 07:08:09\n";

TEST_F(ResultDisplayTest, UpdateTextIsABlockWithHeaderLinesAndAnEmptyLine) {
    Write("add3.txt",
          StoredText({"", "新しい <a href=\"http://example.com/n\">記事</a>", "終わり"}));
    document_.AppendText("before\n");
    EXPECT_TRUE(display_.ShowUpdateText(page_, 3));
    EXPECT_EQ(Shown(), std::string("before\n") + kHeader +
                           "\n新しい {記事|http://example.com/n}\n終わり\n\n");
    EXPECT_EQ(document_.BlockStarts(), std::vector<std::size_t>{7});
    EXPECT_EQ(listener_.events.front(), "runs [before\n]");
    EXPECT_EQ(listener_.events[1], "begin");
    EXPECT_EQ(listener_.events.back(), "end");
    EXPECT_EQ(document_.Links()[1].header_index, 0);
}

TEST_F(ResultDisplayTest, AsTextPageIsShownAsStored) {
    page_.settings.as_text = 1;
    const char* line = "<a href=\"http://x/\">&amp;</a>   <img alt=\"a\">";
    Write("add0.txt", StoredText({line}));
    EXPECT_TRUE(display_.ShowUpdateText(page_, 0));
    EXPECT_EQ(Shown(), std::string(kHeader) + line + "\n\n");
    EXPECT_EQ(document_.Links().size(), 1u) << "only the header link";
}

TEST_F(ResultDisplayTest, EmptyOrMissingFileShowsNothing) {
    Write("add0.txt", "");
    EXPECT_TRUE(display_.ShowUpdateText(page_, 0));
    EXPECT_FALSE(display_.ShowUpdateText(page_, 1));
    EXPECT_FALSE(display_.ShowCurrentText(page_, 1));
    EXPECT_EQ(document_.Length(), 0u);
    EXPECT_TRUE(document_.BlockStarts().empty());
}

TEST_F(ResultDisplayTest, UpdateTextLongerThanTheLimitEndsWithANotice) {
    ChangeSettings([](DisplaySettings& s) { s.max_disp_line = 3; });
    page_.settings.browse_url = "http://example.com/browse";
    Write("add0.txt", StoredText({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(display_.ShowUpdateText(page_, 0));
    EXPECT_EQ(Shown(),
              "== {Page|http://example.com/browse} 2024/05/06 07:08:09\n1\n2\n3\n"
              "\n【！】違いが大きすぎます。( {Page|http://example.com/} )\n\n");
    EXPECT_EQ(document_.Links().back().header_index, static_cast<int>(document_.Links().size()) - 1)
        << "the notice's page link is a header link";

    // Exactly MAX_DISP_LINE lines show without the notice.
    document_.Clear();
    page_.settings.browse_url.clear();
    Write("add0.txt", StoredText({"1", "2", "3"}));
    display_.ShowUpdateText(page_, 0);
    EXPECT_EQ(Shown(), std::string(kHeader) + "1\n2\n3\n\n");
}

TEST_F(ResultDisplayTest, CurrentTextHasNoLineLimitAndFallsBackToTheLog) {
    ChangeSettings([](DisplaySettings& s) { s.max_disp_line = 2; });
    Write("log4.txt", StoredText({"log a", "log b", "log c"}));
    EXPECT_TRUE(display_.ShowCurrentText(page_, 4));
    EXPECT_EQ(Shown(), std::string(kHeader) + "log a\nlog b\nlog c\n\n");

    document_.Clear();
    Write("new.txt", StoredText({"new a", "new b", "new c"}));
    EXPECT_TRUE(display_.ShowCurrentText(page_, 4));
    EXPECT_EQ(Shown(), std::string(kHeader) + "new a\nnew b\nnew c\n\n");
}

TEST_F(ResultDisplayTest, LongTextCountsItsLinesOnTheStatusBar) {
    ChangeSettings([](DisplaySettings& s) { s.max_disp_line = 2000; });
    std::string bytes;
    for (int i = 1; i <= 125; ++i) {
        bytes += "line\r\n";
    }
    Write("add0.txt", bytes);
    display_.ShowUpdateText(page_, 0);
    std::vector<std::string> expected = {"表示中(100行)...", "表示中(110行)...", "表示中(120行)...",
                                         ""};
    EXPECT_EQ(status_.texts, expected);

    status_.texts.clear();
    Write("add1.txt", StoredText({"short"}));
    display_.ShowUpdateText(page_, 1);
    EXPECT_TRUE(status_.texts.empty()) << "a short text leaves the status bar alone";
}

TEST_F(ResultDisplayTest, LongCheckShowsEverything) {
    // 2000 lines of 80 characters: far beyond the 128,000 characters a text control of old
    // could hold. Everything is shown, and quickly.
    ChangeSettings([](DisplaySettings& s) {
        s.max_disp_line = 2000;
        s.use_highlight = 1;
        s.highlights[0] = "needle";
    });
    std::string bytes;
    std::string line =
        Sjis("行") + std::string(63, 'x') + "needle" + "<a href=\"http://example.com/\">link</a>";
    for (int i = 0; i < 2000; ++i) {
        bytes += line + "\r\n";
    }
    Write("add0.txt", bytes);
    auto begun = std::chrono::steady_clock::now();
    display_.ShowUpdateText(page_, 0);
    auto elapsed = std::chrono::steady_clock::now() - begun;
    EXPECT_GT(document_.Length(), 150000u);
    EXPECT_EQ(document_.Links().size(), 2001u);
    EXPECT_EQ(document_.Highlights().size(), kMaxRecordedHighlights);
    EXPECT_EQ(listener_.highlighted, 2000u);
    EXPECT_TRUE(Shown().ends_with("xneedle{link|http://example.com/}\n\n"));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

TEST_F(ResultDisplayTest, ResultsWithCountZeroFollowTheResultCode) {
    struct Row {
        int code;  // -1: no result.ini
        int nochange_msg;
        const char* shown;
    };
    const Row rows[] = {
        {1, 1, "■{Page|http://example.com/} : 更新なし\n"},
        {2, 1, "■{Page|http://example.com/} : 最終更新日に変化なし\n"},
        {4, 1, "■{Page|http://example.com/} : ｴﾗｰ発生\n"},
        {0, 1, ""},
        {-1, 1, ""},
        {5, 1, ""},
        {1, 0, ""},
        {2, 0, ""},
        {4, 0, ""},
        {3, 0, "== {Page|http://example.com/} 2024/05/06 07:08:09\nnewest\n\n"},
        {3, 1, "== {Page|http://example.com/} 2024/05/06 07:08:09\nnewest\n\n"},
    };
    ASSERT_TRUE(store::WriteLogIndex(page_.node.path, 2));
    Write("add2.txt", StoredText({"newest"}));
    Write("add1.txt", StoredText({"older"}));
    for (const Row& row : rows) {
        std::string result = PageFile(page_, "result.ini");
        if (row.code >= 0) {
            EXPECT_EQ(store::WriteResultCode(page_.node.path, row.code), 0);
        } else {
            ASSERT_TRUE(files::RemoveFile(result));
        }
        ChangeSettings(row.nochange_msg ? +[](DisplaySettings& s) { s.nochange_msg = 1; }
                                        : +[](DisplaySettings& s) { s.nochange_msg = 0; });
        document_.Clear();
        display_.ShowResultsAfterCheck(page_, 0);
        EXPECT_EQ(Shown(), row.shown)
            << "code " << row.code << ", NOCHANGE_MSG " << row.nochange_msg;
    }
}

TEST_F(ResultDisplayTest, UpdateTextsGoBackRoundTheRingAndSkipMissingOnes) {
    ASSERT_TRUE(store::WriteLogIndex(page_.node.path, 1));
    Write("add1.txt", StoredText({"one"}));
    Write("add0.txt", StoredText({"zero"}));
    Write("add24.txt", StoredText({"twenty-four"}));
    Write("add22.txt", StoredText({"twenty-two"}));  // add23.txt is missing
    Write("add2.txt", StoredText({"two: the oldest slot, reached only by going all round"}));
    display_.ShowResultsAfterCheck(page_, 5);
    std::string h = kHeader;
    EXPECT_EQ(Shown(),
              h + "one\n\n" + h + "zero\n\n" + h + "twenty-four\n\n" + h + "twenty-two\n\n");
    EXPECT_EQ(document_.BlockStarts().size(), 4u);

    document_.Clear();
    display_.ShowResultsAfterCheck(page_, 60);
    EXPECT_EQ(document_.BlockStarts().size(), 5u) << "a large count goes round the ring once";
}

TEST_F(ResultDisplayTest, ShowingResultsLoadsThePageSettingsIntoTheCallersRecord) {
    store::PageSettings stored;
    stored.url = "http://example.com/";
    stored.browse_url = "http://example.com/stored";
    stored.as_text = 1;
    ASSERT_EQ(store::WritePageSettings(page_.node.path, stored), 0);
    ASSERT_TRUE(store::WriteLogIndex(page_.node.path, 0));
    Write("add0.txt", StoredText({"<b>"}));
    display_.ShowResultsAfterCheck(page_, 1);
    EXPECT_EQ(page_.settings.browse_url, "http://example.com/stored");
    EXPECT_EQ(page_.settings.as_text, 1);
    EXPECT_EQ(Shown(), "== {Page|http://example.com/stored} 2024/05/06 07:08:09\n<b>\n\n");
}

TEST_F(ResultDisplayTest, StatusAndErrorLines) {
    display_.StatusLine(page_, Sjis("更新なし"));
    display_.ErrorLine(page_, Sjis("接続できません"));
    EXPECT_EQ(Shown(),
              "■{Page|http://example.com/} : 更新なし\n"
              "■{Page|http://example.com/} --- エラー : 接続できません\n");
    std::vector<std::string> status = {"更新なし", "接続できません"};
    EXPECT_EQ(status_.texts, status);
    std::vector<std::string> events = {"begin",
                                       "runs [■] [Page] [ : 更新なし\n]",
                                       "end",
                                       "begin",
                                       "runs [■] [Page] [ --- エラー : 接続できません\n]",
                                       "end"};
    for (auto& event : listener_.events) {
        event = test::Utf8(event);
    }
    EXPECT_EQ(listener_.events, events);

    // Inside an open batch a status line opens none of its own.
    listener_.events.clear();
    document_.BeginBatch(BatchView::kTextOnly);
    display_.StatusLine(page_, "x");
    document_.EndBatch();
    EXPECT_EQ(listener_.events.front(), "begin text");
    EXPECT_EQ(listener_.events.back(), "end text");
    EXPECT_EQ(listener_.events.size(), 3u);
}

TEST_F(ResultDisplayTest, KeywordsAreHighlightedFromTheBlockStartHeaderIncluded) {
    ChangeSettings([](DisplaySettings& s) {
        s.use_highlight = 1;
        s.highlights[0] = "new";
        s.highlights[3] = "PAGE";
        s.highlights[5] = Sjis("記事");
    });
    document_.AppendText("new page before the block\n");
    Write("add0.txt", StoredText({"News: 記事 and news"}));
    display_.ShowUpdateText(page_, 0);
    // The block: "== Page 2024/05/06 07:08:09\n" (28 characters) starting at 26, then the line.
    std::vector<std::pair<std::size_t, std::size_t>> hits;
    for (const HighlightHit& hit : document_.Highlights()) {
        hits.emplace_back(hit.start, hit.end);
    }
    std::vector<std::pair<std::size_t, std::size_t>> expected = {
        {29, 33}, {54, 57}, {60, 62}, {67, 70}};
    EXPECT_EQ(hits, expected) << "sorted by start, whatever keyword found them";
    EXPECT_EQ(document_.TextRange(54, 57), "New");
    EXPECT_EQ(document_.TextRange(60, 62), Sjis("記事"));
}

TEST_F(ResultDisplayTest, MoreThanAThousandHitsAreAllColouredAndAThousandRecorded) {
    ChangeSettings([](DisplaySettings& s) {
        s.use_highlight = 1;
        s.highlights[9] = "ab";
        s.max_disp_line = 2000;
    });
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += "ab AB aB Ab\r\n";
    }
    Write("add0.txt", bytes);
    display_.ShowUpdateText(page_, 0);
    EXPECT_EQ(listener_.highlighted, 1200u);
    ASSERT_EQ(document_.Highlights().size(), kMaxRecordedHighlights);
    std::size_t first = document_.Highlights().front().start;
    for (std::size_t i = 0; i < kMaxRecordedHighlights; ++i) {
        document_.NextHighlight();
    }
    EXPECT_EQ(document_.NextHighlight()->start, first) << "next highlight wraps to the first hit";
}

}  // namespace
}  // namespace velnora::results
