#include "html/saved_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "html/document_head.h"
#include "html/escape.h"
#include "html/html_file.h"
#include "html/html_support.h"
#include "results/link_targets.h"
#include "results/results_support.h"

namespace velnora::html {
namespace {

using velnora::test::Sjis;

TEST(Escape, TextAndAttributesCarryNoMarkup) {
    struct Case {
        const char* sentence;
        std::string in;
        std::string text;
        std::string attribute;
    };
    const Case cases[] = {
        {"markup characters become references", "<b a=\"x\">&amp;",
         "&lt;b a=&quot;x&quot;&gt;&amp;amp;", "&lt;b a=&quot;x&quot;&gt;&amp;amp;"},
        {"line feeds break lines in text only", "a\nb", "a<br>\nb", "a\nb"},
        {"double-byte characters stay, a backslash or < as second byte too", Sjis("表ソ") + "\x81<",
         Sjis("表ソ") + "?&lt;", Sjis("表ソ") + "?&lt;"},
        {"a lead byte at the end cannot swallow what follows", "x\x82", "x?", "x?"},
    };
    for (const Case& c : cases) {
        std::string text;
        AppendEscapedText(text, c.in);
        EXPECT_EQ(text, c.text) << c.sentence;
        std::string attribute;
        AppendEscapedAttribute(attribute, c.in);
        EXPECT_EQ(attribute, c.attribute) << c.sentence;
    }
    std::string link;
    AppendLink(link, "javascript:alert(1)", "<x>");
    EXPECT_EQ(link, "&lt;x&gt;") << "only web and FTP targets become links";
    link.clear();
    AppendLink(link, "http://e.com/?a=1&b=\"2\"", "x");
    EXPECT_EQ(link, "<a href=\"http://e.com/?a=1&amp;b=&quot;2&quot;\">x</a>");
}

TEST(DocumentHead, LineForLineWithColoursRedAndBlueSwapped) {
    results::PaneAppearance look;
    look.color = 255;  // pure red in the settings' byte order
    look.back_color = 0x123456;
    look.point = 11;
    look.line_height = 150;
    EXPECT_EQ(DocumentHead(look, test::May6()),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
              "<html lang=\"ja\">\n"
              "<head>\n"
              "<title>" +
                  Sjis("更新チェック結果") +
                  " (2024/05/06 07:08.09)</title>\n"
                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
                  "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\n"
                  "<style type=\"text/css\">\n"
                  "<!--\n"
                  "body {\n"
                  " background-color: #563412;\n"
                  " color: #FF0000;\n"
                  " font-size: 11pt;\n"
                  " line-height: 150%;\n"
                  "}\n"
                  "-->\n"
                  "</style>\n"
                  "<link rel=\"stylesheet\" type=\"text/css\" href=\"default.css\">\n"
                  "</head>\n"
                  "<body>\n");
    EXPECT_EQ(HtmlColor(0xFF0000), "#0000FF");
}

TEST(SavedLog, ThePanesTextWithItsLinksAndNoSettingsLink) {
    results::PaneAppearance look;
    results::ResultDocument document;
    std::string head = DocumentHead(look, test::May6());
    EXPECT_EQ(SavedLogHtml(document, look, test::May6()), head + "\n</body>\n</html>\n")
        << "an empty pane gives the head and the closing lines";

    document.AppendLink("http://e.com/?a&b", "Site", true);
    document.AppendLink(results::SettingsTarget(7), Sjis("▽"), false);
    document.AppendText(Sjis(" <script>alert(\"x\")</script> & 日本\n"));
    document.AppendLink("http://e.com/x", "<b>", false);
    document.AppendText("\n");
    EXPECT_EQ(SavedLogHtml(document, look, test::May6()),
              head + "<a href=\"http://e.com/?a&amp;b\">Site</a> " +
                  Sjis(" &lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; 日本<br>\n") +
                  "<a href=\"http://e.com/x\">&lt;b&gt;</a><br>\n\n</body>\n</html>\n");
    EXPECT_EQ(DefaultSavedLogName(test::May6()), "20240506-070809.html");
}

TEST(HtmlFile, ReplacedWholeInTextModeNeverThroughALink) {
    velnora::test::TempDir temp;
    std::string path = temp / "out.html";
    ASSERT_TRUE(WriteHtmlFile(path, "a\nb\n", kPrivateFilePermissions));
    EXPECT_EQ(velnora::test::ReadBytes(path), "a\r\nb\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u) << "owner only";

    std::string elsewhere = temp / "elsewhere.txt";
    velnora::test::WriteBytes(elsewhere, "keep");
    std::string link = temp / "link.html";
    ASSERT_EQ(::symlink(elsewhere.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteHtmlFile(link, "new", kSharedFilePermissions));
    EXPECT_EQ(velnora::test::ReadBytes(elsewhere), "keep");
    EXPECT_EQ(velnora::test::ReadBytes(link), "new");
    std::string error;
    EXPECT_FALSE(WriteHtmlFile(temp / "missing/x.html", "x", kSharedFilePermissions, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace velnora::html
