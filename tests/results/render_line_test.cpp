#include "results/render_line.h"

#include <gtest/gtest.h>

#include "processing/char_refs.h"
#include "results/results_support.h"

namespace velnora::results {
namespace {

using test::MarkupUtf8;
using test::Sjis;

struct Row {
    const char* sentence;
    const char* line;   // UTF-8
    const char* shown;  // UTF-8 markup of the document
    int image_link = 0;
    int disp_image_name = 0;
};

std::string Rendered(std::string_view line_utf8, int image_link = 0, int disp_image_name = 0) {
    DisplaySettings settings = test::DefaultDisplaySettings();
    settings.image_link = image_link;
    settings.disp_image_name = disp_image_name;
    ResultDocument document;
    RenderLine(document, Sjis(line_utf8), settings);
    return MarkupUtf8(document);
}

void ExpectRows(std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        EXPECT_EQ(Rendered(row.line, row.image_link, row.disp_image_name), row.shown)
            << row.sentence;
    }
}

// Whether the character reference decoder is in place (it is written separately; until it
// lands, the tests of decoded text are skipped rather than failed).
bool DecoderPresent() {
    std::string probe = "&amp;";
    processing::DecodeCharRefs(probe);
    return probe == "&";
}

TEST(RenderLine, Links) {
    ExpectRows({
        {"a plain line ends with a line feed", "日本語のテキスト", "日本語のテキスト\n"},
        {"an empty line is a line feed", "", "\n"},
        {"a link between texts keeps the spaces around it",
         "前 <a href=\"http://h/a.html\">リンク</a> 後", "前 {リンク|http://h/a.html} 後\n"},
        {"two links in a row are separated by one space",
         "<a href=\"http://a/\">A</a><a href=\"http://b/\">B</a>", "{A|http://a/} {B|http://b/}\n"},
        {"a link followed by text is not", "<a href=\"http://a/\">A</a>b", "{A|http://a/}b\n"},
        {"spaces before a link are shown, spaces after the last markup are not",
         "<a href=\"http://a/\">A</a>   <a href=\"http://b/\">B</a>   ",
         "{A|http://a/}   {B|http://b/}\n"},
        {"a link whose text is only spaces disappears", "<a href=\"http://a/\">   </a>x", "x\n"},
        {"a link left open runs to the end of the line", "<a href=\"http://a/\">rest of it",
         "{rest of it|http://a/}\n"},
        {"a second link start shows the first link's text as plain text",
         "<a href=\"http://a/\">one<a href=\"http://b/\">two</a>", "one{two|http://b/}\n"},
        {"a link target without its closing quote ends the line", "x<a href=\"http://a/", "x\n"},
        {"a closing tag without a link shows its text as plain text", "plain</a>after",
         "plainafter\n"},
        {"the feed item link of an RSS title", "Title <a href=\"http://feed/item1\">→[link]</a>",
         "Title {→[link]|http://feed/item1}\n"},
        {"a link to a script is shown as its text", "<a href=\"javascript:alert(1)\">click</a>!",
         "click!\n"},
        {"a link to a local file is shown as its text", "<a href=\"file:///etc/passwd\">f</a>",
         "f\n"},
    });
}

TEST(RenderLine, LessThanSignsThatAreNotMarkup) {
    ExpectRows({
        {"a less-than sign inside text is text", "a < b", "a < b\n"},
        {"a less-than sign near the end does not hide the text before it", "price <", "price <\n"},
        {"nor when spaces follow it", "x <  ", "x <  \n"},
        {"an unknown tag is text", "<b>bold</b>", "<b>bold</b>\n"},
        {"an upper-case link is not markup", "<A HREF=\"http://a/\">A</A>",
         "<A HREF=\"http://a/\">A</A>\n"},
    });
}

TEST(RenderLine, ImagesAlone) {
    const char* full = "<img src=\"http://h/p/pic.png\" alt=\"写真\">";
    const char* no_alt = "<img src=\"http://h/p/pic.png\">";
    ExpectRows({
        {"alt text, plain", full, "[画像:写真]\n", 0, 0},
        {"alt text wins over the file name", full, "[画像:写真]\n", 0, 1},
        {"alt text as a link to the source", full, "{[画像:写真]|http://h/p/pic.png}\n", 1, 0},
        {"no alt text, no name shown", no_alt, "[画像]\n", 0, 0},
        {"no alt text, the file name after the last slash", no_alt, "[画像:pic.png]\n", 0, 1},
        {"no alt text, linked", no_alt, "{[画像]|http://h/p/pic.png}\n", 1, 0},
        {"no alt text, named and linked", no_alt, "{[画像:pic.png]|http://h/p/pic.png}\n", 1, 1},
        {"an empty alt text still counts", "<img src=\"http://h/a.gif\" alt=\"\">", "[画像:]\n", 0,
         1},
        {"a source without a slash is its own name", "<img src=\"pic.gif\">", "[画像:pic.gif]\n", 0,
         1},
        {"an image without source is never a link", "<img alt=\"a\">", "[画像:a]\n", 1, 1},
        {"an image without anything", "<img>", "[画像]\n", 1, 1},
        {"an image with an inline data source is not a link",
         "<img src=\"data:image/png;base64,AAAA\">", "[画像]\n", 1, 0},
        {"spaces around an image disappear", "  <img alt=\"a\">  ", "[画像:a]\n", 0, 0},
        {"text around an image stays", "x <img alt=\"a\"> y", "x [画像:a] y\n", 0, 0},
        {"a greater-than sign inside the alt text does not end the tag", "<img alt=\"a>b\">c",
         "[画像:a>b]c\n", 0, 0},
        {"a tag without its greater-than sign ends the line", "t<img alt=\"a\"", "t[画像:a]\n", 0,
         0},
        {"two images in a row, linked, are separated by a space",
         "<img src=\"http://h/1.gif\"><img src=\"http://h/2.gif\">",
         "{[画像]|http://h/1.gif} {[画像]|http://h/2.gif}\n", 1, 0},
    });
}

TEST(RenderLine, ImagesInsideLinks) {
    for (int image_link : {0, 1}) {
        ExpectRows({
            {"an image inside a link links to the link's target, whatever IMAGE_LINK says",
             "<a href=\"http://a/\"><img src=\"http://i/b.gif\" alt=\"B\"></a>",
             "{[画像:B]|http://a/}\n", image_link, 0},
            {"text before and after the image stays a link, spaced from it",
             "<a href=\"http://a/\">x<img src=\"http://i/b.gif\">z</a>",
             "{x|http://a/} {[画像]|http://a/} {z|http://a/}\n", image_link, 0},
        });
    }
}

TEST(RenderLine, CharacterReferencesAreDecodedOnlyForWhatIsShown) {
    if (!DecoderPresent()) {
        GTEST_SKIP() << "the character reference decoder is not in place yet";
    }
    ExpectRows({
        {"text, link text and target are decoded",
         "&lt;b&gt; <a href=\"http://x/?a=1&amp;b=2\">A&amp;B</a>",
         "<b> {A&B|http://x/?a=1&b=2}\n"},
        {"a decoded less-than sign is not taken for markup", "&lt;a href=\"http://x/\">y",
         "<a href=\"http://x/\">y\n"},
        {"alt text is decoded", "<img alt=\"&quot;x&quot;\">", "[画像:\"x\"]\n"},
        {"a target that decodes to a script is refused",
         "<a href=\"&#106;avascript:alert(1)\">x</a>", "x\n"},
        {"the source of a linked image is decoded", "<img src=\"http://i/a.gif?x=1&amp;y=2\">",
         "{[画像]|http://i/a.gif?x=1&y=2}\n", 1, 0},
    });
}

}  // namespace
}  // namespace velnora::results

namespace velnora::results {
namespace {

TEST(RenderLine, ImagesAreRecordedWhereTheirTextsStand) {
    DisplaySettings settings = test::DefaultDisplaySettings();
    settings.image_link = 1;
    ResultDocument document;
    RenderLine(document,
               test::Sjis("a <img src=\"http://e.com/p.png\" alt=\"&amp;絵\"> "
                          "<a href=\"http://e.com/\">b<img src=\"x.gif\"></a> <img alt=\"\">"),
               settings);
    EXPECT_EQ(test::MarkupUtf8(document),
              "a {[画像:&絵]|http://e.com/p.png} {b|http://e.com/} {[画像]|http://e.com/}"
              "[画像:]\n")
        << "a run of spaces alone disappears";
    const std::vector<ImageRecord>& images = document.Images();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(document.TextRange(images[0].start, images[0].start + images[0].length),
              test::Sjis("[画像:&絵]"));
    EXPECT_EQ(images[0].source, "http://e.com/p.png");
    EXPECT_EQ(images[0].alt, test::Sjis("&絵"));
    EXPECT_EQ(document.TextRange(images[1].start, images[1].start + images[1].length),
              test::Sjis("[画像]"));
    EXPECT_EQ(images[1].source, "x.gif");
    EXPECT_FALSE(images[1].alt.has_value());
    EXPECT_TRUE(images[2].source.empty());
    EXPECT_EQ(images[2].alt, "");
    document.Clear();
    EXPECT_TRUE(document.Images().empty());
}

}  // namespace
}  // namespace velnora::results
