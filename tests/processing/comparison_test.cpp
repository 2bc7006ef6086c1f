#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "processing/latest_log_comparison.h"
#include "processing/update_filter.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::processing {
namespace {

using test::Sjis;

class RecordingObserver : public PipelineObserver {
  public:
    void SetStatusText(std::string_view text) override {
        texts.emplace_back(text);
        if (closing != nullptr && text == close_on) {
            closing->store(true);
        }
    }
    void ErrorLine(std::string_view) override {}
    void StatusLine(std::string_view) override {}

    std::vector<std::string> texts;
    std::string close_on;  // sets the closing flag when this text is shown
    std::atomic<bool>* closing = nullptr;
};

const std::string kNgStatus = Sjis("NGワードのチェック中...");
std::string PastLogStatus(int pass, int of) {
    return Sjis("過去ログのチェック中(") + std::to_string(pass) + "/" + std::to_string(of) + ")...";
}

// A page directory with its settings, as the pipeline hands them to the comparison.
class ComparisonTest : public ::testing::Test {
  protected:
    ComparisonTest() { observer.closing = &closing; }

    ComparisonContext Context() {
        return ComparisonContext{settings, dir.path(), ignore_image_name, observer, closing};
    }
    std::string Path(std::string_view name) { return dir / name; }
    void Write(std::string_view name, std::string_view bytes) {
        test::WriteBytes(Path(name), bytes);
    }
    std::string Read(std::string_view name) { return test::ReadBytes(Path(name)); }

    // The first pass against log0.txt.
    int Compare() {
        FirstPassResult result =
            CompareWithLatestLog(Path("log0.txt"), Path("new.txt"), Path("add.txt"), Context());
        EXPECT_FALSE(result.failure);
        return result.code;
    }
    void Filter(int current_index = 0) {
        EXPECT_FALSE(FilterUpdateLines(Path("add.txt"), current_index, Context()));
    }
    // Both passes, as the page check runs them (add.txt removed first), with log0.txt as the
    // latest past log.
    std::string Update(std::string_view latest_log, std::string_view new_text) {
        Write("log0.txt", latest_log);
        Write("new.txt", new_text);
        std::filesystem::remove(Path("add.txt"));
        Compare();
        Filter(0);
        return Read("add.txt");
    }

    test::TempDir dir;
    store::PageSettings settings;
    int ignore_image_name = 1;
    RecordingObserver observer;
    std::atomic<bool> closing{false};
};

std::string NumberedLines(int first, int last, std::string_view prefix = "line") {
    std::string text;
    for (int i = first; i <= last; ++i) {
        text += std::string(prefix) + std::to_string(i) + "\r\n";
    }
    return text;
}

// ---- First pass --------------------------------------------------------------------------

TEST_F(ComparisonTest, SameTextGivesAnEmptyAddFile) {
    Write("log0.txt", "\r\nA\r\nB");
    Write("new.txt", "\r\nA\r\nB");
    Write("add.txt", "stale\r\n");
    EXPECT_EQ(Compare(), 0);
    EXPECT_TRUE(test::Exists(Path("add.txt")));
    EXPECT_EQ(Read("add.txt"), "");
}

TEST_F(ComparisonTest, InsertedLinesAreWrittenAsRead) {
    Write("log0.txt", "A\r\nB\r\nE\r\n");
    Write("new.txt", "A\r\nX\r\nB\r\nE\r\nY\rZ\r\n");
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), "X\r\nY\rZ\r\n") << "a bare CR stays inside its line";
}

TEST_F(ComparisonTest, TheLineFeedIsPartOfTheComparedLine) {
    // The old text's last line has no line end, the new text's has: they differ, so the first
    // pass reports it; the past-log search then finds it.
    Write("log0.txt", "A\r\nB");
    Write("new.txt", "A\r\nB\r\nC");
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), "B\r\nC") << "the last line is written without a line end";
    Filter(0);
    EXPECT_EQ(Read("add.txt"), "C\r\n");
}

TEST_F(ComparisonTest, MissingFilesAndEmptySides) {
    Write("add.txt", "kept\r\n");
    EXPECT_EQ(Compare(), 2) << "no latest past log";
    Write("log0.txt", "A\r\n");
    EXPECT_EQ(Compare(), 1) << "no new text";
    EXPECT_EQ(Read("add.txt"), "kept\r\n") << "neither touches add.txt";

    settings.check_area = {"<h2>", "", 1, 0};
    Write("log0.txt", "A\r\n<h2>\r\nB\r\n");
    Write("new.txt", "A\r\nB\r\n");
    Write("add.txt", "written before\r\n");
    EXPECT_EQ(Compare(), 1);
    EXPECT_EQ(Read("add.txt"), "written before\r\n") << "no new side: nothing is written";

    Write("log0.txt", "A\r\nB\r\n");
    Write("new.txt", "A\r\n<h2>\r\nB\r\nC");
    EXPECT_EQ(Compare(), 1);
    EXPECT_EQ(Read("add.txt"), "B\r\nC") << "no old side: every line of the new side is new";
}

TEST_F(ComparisonTest, AreasLimitBothSides) {
    settings.check_area = {"BEGIN", "END", 1, 1};
    settings.ignore_area = {"[ad]", "[/ad]", 0, 0};
    Write("log0.txt", "menu 1\r\nBEGIN\r\nnews a\r\n[ad]\r\nbuy 1\r\n[/ad]\r\nEND\r\nfooter 1\r\n");
    Write("new.txt",
          "menu 2\r\nBEGIN\r\nnews b\r\nnews a\r\n[ad]\r\nbuy 2\r\n[/ad]\r\nEND\r\nfooter 2\r\n");
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), "news b\r\n");
}

TEST_F(ComparisonTest, AtMostTwoThousandLinesTakePart) {
    Write("log0.txt", NumberedLines(1, 10));
    Write("new.txt", NumberedLines(1, 2500));
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), NumberedLines(11, 2000));
}

TEST_F(ComparisonTest, ThePoolEndsASide) {
    // Each line is 999 bytes, its line feed and a NUL: 511 of them fit in 512,000 bytes.
    std::string text;
    for (int i = 0; i < 600; ++i) {
        text += std::string(999, 'x') + "\r\n";
    }
    Write("log0.txt", "other\r\n");
    Write("new.txt", text);
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt").size(), 511u * 1001u);
}

TEST_F(ComparisonTest, APhysicalLineLongerThanTheBufferIsSeveralLines) {
    std::string long_line(70000, 'a');
    Write("log0.txt", "b\r\n");
    Write("new.txt", long_line + "\r\nb\r\n");
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), long_line + "\r\n") << "its pieces are written one after another";
}

TEST_F(ComparisonTest, IgnoredDifferences) {
    struct Case {
        const char* what;
        int ignore_url;
        int ignore_image_name;
        int ignore_number_diff;
        std::string old_line;
        std::string new_line;
        bool reported;
    };
    const Case cases[] = {
        {"a changed link target is new", 0, 0, 0, "<a href=\"http://h/1\">News</a>",
         "<a href=\"http://h/2\">News</a>", true},
        {"with IGNORE_URL it is not", 1, 0, 0, "<a href=\"http://h/1\">News</a>",
         "<a href=\"http://h/2\">News</a>", false},
        {"with IGNORE_URL a changed link text still is", 1, 0, 0, "<a href=\"http://h/1\">News</a>",
         "<a href=\"http://h/2\">Sports</a>", true},
        {"a changed image source is new", 0, 0, 0, "<img src=\"http://h/a.gif\">",
         "<img src=\"http://h/b.gif\">", true},
        {"with IGNORE_IMAGE_NAME it is not", 0, 1, 0, "<img src=\"http://h/a.gif\">",
         "<img src=\"http://h/b.gif\">", false},
        {"a changed price is new", 0, 0, 0, Sjis("価格 1,200円"), Sjis("価格 1,500円"), true},
        {"with IGNORE_NUMBER_DIFF it is not", 0, 0, 1, Sjis("価格 1,200円"), Sjis("価格 1,500円"),
         false},
        {"before a line feed a trailing digit is passed over too", 0, 0, 1, Sjis("更新"),
         Sjis("更新1"), false},
    };
    for (const Case& c : cases) {
        settings.ignore_url = c.ignore_url;
        ignore_image_name = c.ignore_image_name;
        settings.ignore_number_diff = c.ignore_number_diff;
        Write("log0.txt", "top\r\n" + c.old_line + "\r\n");
        Write("new.txt", "top\r\n" + c.new_line + "\r\n");
        EXPECT_EQ(Compare(), 0);
        EXPECT_EQ(Read("add.txt"), c.reported ? c.new_line + "\r\n" : "") << c.what;
    }
}

TEST_F(ComparisonTest, ReportedLinesKeepTheirExactBytes) {
    settings.ignore_url = 1;
    ignore_image_name = 1;
    const std::string line =
        "<a href=\"http://h/n\"><img src=\"i.gif\" alt=\"\">new</a> \x01raw\x03 \x02";
    Write("log0.txt", "A\r\n");
    Write("new.txt", "A\r\n" + line + "\r\n");
    EXPECT_EQ(Compare(), 0);
    EXPECT_EQ(Read("add.txt"), line + "\r\n")
        << "attribute values come back, and the page's own control bytes stay as they were";
    Filter(0);
    EXPECT_EQ(Read("add.txt"), line + "\r\n");
}

// ---- Second pass -------------------------------------------------------------------------

TEST_F(ComparisonTest, BlankAndDigitsOnlyCandidates) {
    settings.use_old_log = 0;
    Filter();
    EXPECT_FALSE(test::Exists(Path("add.txt"))) << "no add.txt: nothing is done";
    EXPECT_TRUE(observer.texts.empty());

    Write("add.txt", "A\r\n\r\n   \r\n2006\r\n20 06\r\nB");
    Filter();
    EXPECT_EQ(Read("add.txt"), "A\r\n2006\r\n20 06\r\nB\r\n") << "every line ends in CR LF";
    settings.ignore_number_only_line = 1;
    Filter();
    EXPECT_EQ(Read("add.txt"), "A\r\nB\r\n");
    Write("add.txt", "\r\n  \r\n");
    Filter();
    EXPECT_TRUE(test::Exists(Path("add.txt")));
    EXPECT_EQ(Read("add.txt"), "") << "no candidate left: the file is emptied";
}

TEST_F(ComparisonTest, NgWordsAreFoundInTheDecodedLine) {
    settings.use_old_log = 0;
    settings.ngwords[9] = "ABC";
    settings.ngwords[3] = Sjis("広告");
    Write("add.txt", "buy &#x41;BC now\r\n" + Sjis("[広告] x") + "\r\nkeep &amp; this\r\nabc\r\n");
    Filter();
    EXPECT_EQ(Read("add.txt"), "keep &amp; this\r\nabc\r\n")
        << "survivors keep their references; the search is case-sensitive";
    EXPECT_EQ(observer.texts, std::vector<std::string>{kNgStatus});
}

TEST_F(ComparisonTest, RepeatedLinesAreKeptOnce) {
    settings.use_old_log = 0;
    const std::string text = "a\r\nb\r\na\r\na b\r\nab\r\na\r\n";
    Write("add.txt", text);
    Filter();
    EXPECT_EQ(Read("add.txt"), text);
    settings.ignore_same_text = 1;
    Filter();
    EXPECT_EQ(Read("add.txt"), "a\r\nb\r\na b\r\nab\r\n") << "only byte-identical lines repeat";
}

TEST_F(ComparisonTest, PastLogsAreSearchedBackwardsAcrossTheRing) {
    settings.use_old_log = 3;
    Write("log1.txt", "one\r\n");
    Write("log0.txt", "zero");
    Write("log24.txt", "x\r\ntwentyfour\r\n");
    Write("log23.txt", "twentythree\r\n");
    Write("add.txt", "one\r\nnew\r\nzero\r\ntwentyfour\r\ntwentythree\r\n");
    Filter(1);
    EXPECT_EQ(Read("add.txt"), "new\r\ntwentythree\r\n");
    EXPECT_EQ(observer.texts, (std::vector<std::string>{kNgStatus, PastLogStatus(1, 3),
                                                        PastLogStatus(2, 3), PastLogStatus(3, 3)}));
}

TEST_F(ComparisonTest, AMissingPastLogCountsAndTheSearchEndsWithTheLastCandidate) {
    settings.use_old_log = 4;
    Write("log0.txt", "zero\r\n");
    Write("log24.txt", "twentyfour\r\n");
    Write("log23.txt", "twentythree\r\n");
    Write("add.txt", "zero\r\ntwentyfour\r\n");
    Filter(1);
    EXPECT_EQ(Read("add.txt"), "");
    EXPECT_EQ(observer.texts, (std::vector<std::string>{kNgStatus, PastLogStatus(1, 4),
                                                        PastLogStatus(2, 4), PastLogStatus(3, 4)}))
        << "log1.txt is missing; after log0.txt and log24.txt nothing is left to search for";
}

TEST_F(ComparisonTest, PastLogLinesAreComparedLikeTheAlignment) {
    settings.use_old_log = 1;
    settings.ignore_number_diff = 1;
    settings.ignore_url = 1;
    settings.check_area = {"BEGIN", "", 0, 0};
    Write("log0.txt", "price 1,200\r\n<a href=\"http://h/old\">story</a>\r\n" + Sjis("更新") +
                          "\r\n<img src=\"a.gif\">\r\nBEGIN\r\n");
    Write("add.txt", "price 1,500\r\n<a href=\"http://h/new\">story</a>\r\n" + Sjis("更新1") +
                         "\r\n<img src=\"b.gif\">\r\nfresh\r\n");
    Filter(0);
    EXPECT_EQ(Read("add.txt"), Sjis("更新1") + "\r\nfresh\r\n")
        << "the logs are searched without the areas; without its line feed a line's trailing "
           "digit counts";
}

TEST_F(ComparisonTest, CandidateLimits) {
    settings.use_old_log = 0;
    Write("add.txt", NumberedLines(1, 2500));
    Filter();
    EXPECT_EQ(Read("add.txt"), NumberedLines(1, 2000));

    // 511 lines of 999 bytes (each with a NUL) fill the pool to 511,000 bytes; a 512th does not
    // fit with room to spare and is dropped, but a short line after it still does.
    std::string text;
    for (int i = 0; i < 520; ++i) {
        text += std::string(999, 'x') + "\r\n";
    }
    Write("add.txt", text + "short\r\n");
    Filter();
    std::string expected;
    for (int i = 0; i < 511; ++i) {
        expected += std::string(999, 'x') + "\r\n";
    }
    EXPECT_EQ(Read("add.txt"), expected + "short\r\n");
}

TEST_F(ComparisonTest, ClosingLeavesTheFileAsTheFirstPassLeftIt) {
    settings.use_old_log = 2;
    Write("log0.txt", "a\r\n");
    const std::string first_pass = "a\r\nb\r\n";
    Write("add.txt", first_pass);
    closing = true;
    Filter(0);
    EXPECT_EQ(Read("add.txt"), first_pass) << "closing before the pass";

    closing = false;
    observer.close_on = PastLogStatus(1, 2);
    Filter(0);
    EXPECT_EQ(Read("add.txt"), first_pass) << "closing during the search of the past logs";
    EXPECT_EQ(observer.texts.back(), PastLogStatus(1, 2));

    closing = false;
    observer.close_on = kNgStatus;
    Filter(0);
    EXPECT_EQ(Read("add.txt"), first_pass) << "closing while NG words are checked";
}

// ---- Both passes -------------------------------------------------------------------------

TEST_F(ComparisonTest, AMovedLineIsNotNew) {
    EXPECT_EQ(Update("A\r\nB\r\n", "B\r\nA\r\n"), "");
    settings.use_old_log = 0;
    EXPECT_EQ(Update("A\r\nB\r\n", "B\r\nA\r\n").size(), 3u) << "without the search it is";
}

TEST_F(ComparisonTest, ACheckAreaMissingFromTheOldSideLeavesTheDecisionToThePastLogs) {
    settings.check_area = {"<main>", "", 1, 0};
    EXPECT_EQ(Update("old a\r\nold b\r\n", "<main>\r\nold b\r\nfresh\r\n"), "fresh\r\n");
    EXPECT_EQ(Update("old a\r\n", "new b\r\n"), "") << "missing from both: nothing is new";
}

}  // namespace
}  // namespace velnora::processing
