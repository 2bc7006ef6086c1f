#include "html/browser_file.h"

#include <gtest/gtest.h>

#include "html/document_head.h"
#include "html/html_support.h"
#include "results/results_support.h"
#include "store/page_tree.h"

namespace velnora::html {
namespace {

using velnora::test::Sjis;

class BrowserFileTest : public testing::Test {
  protected:
    BrowserFileTest() { velnora::test::MakeDir(temp_ / "data"); }

    // A page "data/<name>.dat" with its result code, index and update texts (slot, UTF-8 text).
    void AddPage(const std::string& name, int code, int index,
                 const std::vector<std::pair<int, std::string>>& texts,
                 const std::string& settings = "") {
        std::string dir = temp_ / ("data/" + name + ".dat");
        velnora::test::MakeDir(dir);
        velnora::test::WriteBytes(dir + "/site.ini",
                                  "[CONFIG]\r\nURL=http://e.com/" + name + "\r\n" + settings);
        velnora::test::WriteBytes(dir + "/result.ini",
                                  "[RESULT]\r\nCODE=" + std::to_string(code) + "\r\n");
        velnora::test::WriteBytes(dir + "/index.txt", std::to_string(index));
        for (const auto& [slot, text] : texts) {
            velnora::test::WriteBytes(dir + "/add" + std::to_string(slot) + ".txt", Sjis(text));
        }
    }

    // The document's body: what follows the head, without the closing lines.
    std::string Body(const std::string& item_name = "") {
        store::PageTree tree(temp_.path() + "/");
        store::PopulateTree(tree);
        store::ItemId item = tree.root();
        for (store::ItemId child = tree.FirstChild(item); child != 0;
             child = tree.NextSibling(child)) {
            if (tree.Find(child)->name == item_name) {
                item = child;
            }
        }
        std::string html = BrowserFileHtml(tree, item, display_, look_, test::May6());
        std::string head = DocumentHead(look_, test::May6());
        EXPECT_TRUE(html.starts_with(head));
        EXPECT_TRUE(html.ends_with(kDocumentClosing));
        return html.substr(head.size(), html.size() - head.size() - kDocumentClosing.size());
    }

    velnora::test::TempDir temp_;
    results::DisplaySettings display_ = results::test::DefaultDisplaySettings();
    results::PaneAppearance look_;
};

TEST_F(BrowserFileTest, APageShowsItsNewestTextsGoingBackPastMissingOnes) {
    display_.n_reload = 3;
    AddPage("Site", 3, 2, {{1, "one"}, {0, "zero\r\nline two"}, {24, "too old"}},
            "BROWSE_URL=http://e.com/read\r\n");
    EXPECT_EQ(Body("Site"),
              "<hr><h2><a href=\"http://e.com/read\">Site</a></h2>\n<p>one<br>\n</p>"
              "<hr><h2><a href=\"http://e.com/read\">Site</a></h2>\n<p>zero<br>\nline "
              "two<br>\n</p>");
}

TEST_F(BrowserFileTest, AFolderShowsTheLatestTextOfEachUpdatedPage) {
    AddPage("A", 3, 1, {{1, "a new"}, {0, "a old"}});
    AddPage("B", 1, 0, {{0, "b unchanged"}});
    AddPage("C", 3, 0, {{0, "c new"}});
    AddPage("Off", 3, 0, {{0, "left out"}}, "DISABLE_AUTO_CHECK=1\r\n");
    EXPECT_EQ(Body(),
              "<hr><h2><a href=\"http://e.com/A\">A</a></h2>\n<p>a new<br>\n</p>"
              "<hr><h2><a href=\"http://e.com/C\">C</a></h2>\n<p>c new<br>\n</p>");
}

TEST_F(BrowserFileTest, AFolderWithoutUpdatesGivesTheHeadAndTheClosingLines) {
    AddPage("A", 1, 0, {{0, "a"}});
    AddPage("B", 2, 0, {{0, "b"}});
    EXPECT_EQ(Body(), "");
}

TEST_F(BrowserFileTest, PageMarkupCannotRunButLinksAndImagesStillWork) {
    AddPage("Evil", 3, 0,
            {{0,
              "<script>alert(1)</script> &lt;b&gt; &amp; x\r\n"
              "<a href=\"javascript:alert(1)\">js</a> <a href=\"file:///etc/passwd\">file</a>\r\n"
              "<a href=\"http://e.com/?a=1&amp;b=2\">ok</a>\r\n"
              "<img src=\"http://e.com/i.png\" alt=\"say &quot;hi&quot;\"> "
              "<img src=\"javascript:x\" alt=\"bad\">"}});
    EXPECT_EQ(Body(),
              "<hr><h2><a href=\"http://e.com/Evil\">Evil</a></h2>\n<p>"
              "&lt;script&gt;alert(1)&lt;/script&gt; &lt;b&gt; &amp; x<br>\n"
              "js file<br>\n"
              "<a href=\"http://e.com/?a=1&amp;b=2\">ok</a><br>\n"
              "<img src=\"http://e.com/i.png\" alt=\"say &quot;hi&quot;\">" +
                  Sjis("[画像:bad]") + "<br>\n</p>");
}

TEST_F(BrowserFileTest, AnAsTextPageIsTextThroughout) {
    AddPage("Raw", 3, 0, {{0, "<a href=\"http://e.com/\">x</a> &amp;"}}, "AS_TEXT=1\r\n");
    EXPECT_EQ(Body(),
              "<hr><h2><a href=\"http://e.com/Raw\">Raw</a></h2>\n<p>"
              "&lt;a href=&quot;http://e.com/&quot;&gt;x&lt;/a&gt; &amp;amp;<br>\n</p>");
}

}  // namespace
}  // namespace velnora::html
