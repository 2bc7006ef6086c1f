#include "html/link_history.h"

#include <gtest/gtest.h>

#include "html/html_support.h"
#include "results/results_support.h"

namespace velnora::html {
namespace {

using velnora::test::Sjis;

class LinkHistoryTest : public testing::Test {
  protected:
    LinkHistoryTest() {
        // A page block: the header link, its settings link, and two links inside it.
        header_ = document_.AppendLink("http://e.com/", Sjis("サイト"), true);
        document_.AppendLink(results::SettingsTarget(3), Sjis("▽"), false);
        document_.AppendText("\n");
        document_.AppendLink("http://e.com/a?x=1&y=2", "<A>", false);
        document_.AppendText(" ");
        document_.AppendLink("http://e.com/b", "B", false);
    }

    std::string Record(std::size_t link, const std::tm& day) {
        EXPECT_TRUE(AppendLinkToHistory(home_, document_, link, day));
        return velnora::test::ReadBytes(HistoryFilePath(home_, day));
    }

    velnora::test::TempDir temp_;
    std::string home_ = temp_.path() + "/";
    results::ResultDocument document_;
    std::size_t header_ = 0;
};

const char kHead[] =
    "<html lang=\"ja\">\r\n<head>\r\n<title>Velnora\x97\x9A\x97\xF0 (2024/05/06)</title>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
    "<style type=\"text/css\">\r\n<!--\r\nbody { font-size: 10pt; line-height: 170%; }\r\n"
    "a { text-decoration: none; }\r\na:link { color : black }\r\na:visited { color: blue }\r\n"
    "//-->\r\n</style>\r\n</head>\r\n<body>\r\n";

TEST_F(LinkHistoryTest, OneFileADayOneLineALinkWithItsPageInBrackets) {
    std::tm day = test::May6();
    EXPECT_EQ(Record(0, day), std::string(kHead) + "<a href=\"http://e.com/\">" + Sjis("サイト") +
                                  "</a><br>\r\n</body></html>\r\n")
        << "a header link is written alone";
    std::string second = Record(2, day);
    EXPECT_EQ(second, std::string(kHead) + "<a href=\"http://e.com/\">" + Sjis("サイト") +
                          "</a><br>\r\n<a href=\"http://e.com/a?x=1&amp;y=2\">&lt;A&gt;</a>" +
                          "&nbsp;&nbsp;" + Sjis("【") + "<a href=\"http://e.com/\">" +
                          Sjis("サイト") + "</a>" + Sjis("】") + "<br>\r\n</body></html>\r\n");
    EXPECT_EQ(HistoryFilePath(home_, day), home_ + "history/history-2024-05-06.html");

    std::tm next = day;
    next.tm_mday = 7;
    std::string next_day = Record(3, next);
    EXPECT_NE(next_day.find("(2024/05/07)"), std::string::npos);
    EXPECT_NE(next_day.find("http://e.com/b"), std::string::npos);
    EXPECT_EQ(velnora::test::ReadBytes(HistoryFilePath(home_, day)), second)
        << "the day before keeps its file";
}

TEST_F(LinkHistoryTest, AFileWithoutOurClosingLineLosesNothing) {
    std::tm day = test::May6();
    velnora::test::MakeDir(home_ + "history");
    struct Case {
        const char* sentence;
        std::string before;
        std::string kept;
    };
    const Case cases[] = {
        {"edited by hand after the closing line",
         "<p>my note</p>\r\n</body></html>\r\n<p>mine</p>\r\n",
         "<p>my note</p>\r\n</body></html>\r\n<p>mine</p>\r\n"},
        {"cut short inside an entry", "<a href=\"http://e.com/x\">x</a><br>\r\n<a hr",
         "<a href=\"http://e.com/x\">x</a><br>\r\n<a hr\r\n"},
        {"closing line without CR", "<a href=\"http://e.com/x\">x</a><br>\n</body></html>\n",
         "<a href=\"http://e.com/x\">x</a><br>\n</body></html>\n"},
    };
    for (const Case& c : cases) {
        velnora::test::WriteBytes(HistoryFilePath(home_, day), c.before);
        EXPECT_EQ(Record(3, day), c.kept + "<a href=\"http://e.com/b\">B</a>&nbsp;&nbsp;" +
                                      Sjis("【") + "<a href=\"http://e.com/\">" + Sjis("サイト") +
                                      "</a>" + Sjis("】") + "<br>\r\n</body></html>\r\n")
            << c.sentence;
    }
}

TEST_F(LinkHistoryTest, NothingIsRecordedWhereTheDirectoryCannotBe) {
    velnora::test::WriteBytes(home_ + "history", "a file where the directory would be");
    std::string error;
    EXPECT_FALSE(AppendLinkToHistory(home_, document_, 0, test::May6(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(AppendLinkToHistory(home_, document_, 99, test::May6()));
}

}  // namespace
}  // namespace velnora::html
