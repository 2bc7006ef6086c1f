#include "results/header_line.h"

#include <gtest/gtest.h>

#include "results/display_settings.h"
#include "results/results_support.h"

namespace velnora::results {
namespace {

using test::MarkupUtf8;
using test::Sjis;

store::ItemRecord Page() {
    store::ItemRecord page;
    page.node.item = 7;
    page.node.name = Sjis("日記");
    page.settings.url = "http://example.com/diary/";
    page.settings.comment = Sjis("毎日");
    return page;
}

// 2024/01/02 03:04:05 in local time.
std::time_t LocalTime() {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::string Header(std::string_view template_utf8, const store::ItemRecord& page,
                   std::optional<std::time_t> time) {
    ResultDocument document;
    AppendHeaderLine(document, Sjis(template_utf8), page, time);
    return MarkupUtf8(document);
}

TEST(HeaderLine, DefaultTemplate) {
    ResultDocument document;
    AppendHeaderLine(document, test::DefaultDisplaySettings().header, Page(), LocalTime());
    EXPECT_EQ(MarkupUtf8(document),
              "■■■■■ {日記|http://example.com/diary/} ■■■■■ (2024/01/02 03:04:05) {▽|#7}\n");
    ASSERT_EQ(document.Links().size(), 2u);
    EXPECT_EQ(document.Links()[1].header_index, 0) << "the settings link belongs to the header";
}

TEST(HeaderLine, Placeholders) {
    store::ItemRecord page = Page();
    store::ItemRecord browsed = Page();
    browsed.settings.browse_url = "http://example.com/view/";
    struct Row {
        const char* sentence;
        const char* header;
        const store::ItemRecord* page;
        bool with_time;
        const char* shown;
    };
    const Row rows[] = {
        {"placeholders are recognised in any letter case", "%LINK; %Date; %TiMe; %Comment;", &page,
         true, "{日記|http://example.com/diary/} 2024/01/02 03:04:05 毎日\n"},
        {"the link goes to BROWSE_URL when it is set", "%link;", &browsed, false,
         "{日記|http://example.com/view/}\n"},
        {"without a file time the date and time are empty", "[%date;|%time;]", &page, false,
         "[|]\n"},
        {"percent signs that begin no placeholder stay", "100% %x %link %date;;%", &page, false,
         "100% %x %link ;%\n"},
        {"a placeholder cut short at the end stays", "a %commen", &page, false, "a %commen\n"},
        {"two links in a row are separated by a space", "%link;%config;", &page, false,
         "{日記|http://example.com/diary/} {▽|#7}\n"},
        {"line breaks of the template become line feeds", "■\r\n%link;\rx\ny", &page, false,
         "■\n{日記|http://example.com/diary/}\nx\ny\n"},
        {"the comment is not read for placeholders", "%comment;", nullptr, false, "%link;\n"},
        {"an empty template is a line feed", "", &page, false, "\n"},
    };
    store::ItemRecord commented = Page();
    commented.settings.comment = "%link;";
    for (const Row& row : rows) {
        const store::ItemRecord& shown_page = row.page != nullptr ? *row.page : commented;
        EXPECT_EQ(Header(row.header, shown_page,
                         row.with_time ? std::optional<std::time_t>(LocalTime()) : std::nullopt),
                  row.shown)
            << row.sentence;
    }
}

TEST(HeaderLine, PageWithoutAWebAddressShowsItsNameWithoutLink) {
    store::ItemRecord page = Page();
    page.settings.url = "file:///home/user/notes.html";
    ResultDocument document;
    AppendHeaderLine(document, Sjis("■ %link; %config;"), page, std::nullopt);
    EXPECT_EQ(MarkupUtf8(document), "■ 日記 {▽|#7}\n");
    EXPECT_EQ(document.Links()[0].header_index, kNoLink);
}

}  // namespace
}  // namespace velnora::results
