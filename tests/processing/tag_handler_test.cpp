#include "processing/tag_handler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processing/extraction_harness.h"
#include "support/sjis.h"

namespace velnora::processing {
namespace {

using test::ExpectExtracts;
using test::WithCharsetSel;
using test::WithPageUrl;
using test::WithTableSetting;
using velnora::test::Sjis;

struct Case {
    const char* what;
    std::string body;
    std::string expected;
};

void ExpectCases(const std::vector<Case>& cases, const ExtractionOptions& options = {}) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectExtracts(c.body, c.expected, options);
    }
}

const ExtractionOptions kPage = WithPageUrl("http://h/d/p.html");

TEST(TagHandler, BreakingAndInlineTags) {
    ExpectCases({
        {"hr, dt, input and /th end lines", "a<hr>b<dt>c<input type=text>d</th>e", "a\nb\nc\nd\ne"},
        {"names are compared in any letter case", "a<BR>b<Div>c</P>d", "a\nb\nc\nd"},
        {"br/ is a name of its own and br / a br with a token", "a<br/>b<br />c", "a\nb\nc"},
        {"table and /table end lines", "a<table>b</table>c", "a\nb\nc"},
        {"span, font and b change nothing", "a<span>b</span><b>c</b><font x=1>d</font>e", "abcde"},
        {"h1 and /h1 in lower case end lines", "a<h1>b</h1>c", "a\nb\nc"},
        {"H1 in capitals ends no line, /H1 does", "a<H1>b</H1>c", "ab\nc"},
        {"an opening frameset ends no line, its closing tag does", "a<frameset>b</frameset>c",
         "ab\nc"},
        {"noembed is not known", "a<noembed>b</noembed>c", "abc"},
        {"an empty tag is nothing", "a<>b", "ab"},
    });
}

TEST(TagHandler, TablesFollowTheTableSetting) {
    const std::string table =
        "<table><tr><td>a<br>b</td><td>c</td></tr><tr><td>d</td></tr></table>e";
    SCOPED_TRACE("TABLE_SETTING 0: every cell is a line");
    ExpectExtracts(table, "\na\nb\nc\nd\ne", WithTableSetting(0));
    SCOPED_TRACE("TABLE_SETTING 1: a cell's content stays on one line");
    ExpectExtracts(table, "\na b\nc\nd\ne", WithTableSetting(1));
    SCOPED_TRACE("TABLE_SETTING 2: a row is one line, cells separated by blanks");
    ExpectExtracts(table, "\na b c\nd\ne", WithTableSetting(2));
    SCOPED_TRACE("/table ends a row that was never closed");
    ExpectExtracts("<table><tr><td>a<td>b</table>c<br>d", "\na b\nc\nd", WithTableSetting(2));
}

TEST(TagHandler, LinksAreWrittenWithAbsoluteAddresses) {
    ExpectCases(
        {
            {"a relative href is resolved against the page URL", "<a href=\"x.html\">t</a>",
             "<a href=\"http://h/d/x.html\">t</a>"},
            {"HREF in capitals is a link", "<A HREF=\"../x.html\">t</A>",
             "<a href=\"http://h/x.html\">t</a>"},
            {"an absolute address is kept as written", "<a href='HTTP://Other/A B'>t</a>",
             "<a href=\"HTTP://Other/A B\">t</a>"},
            {"the blank before a link is written before its markup", "go <a href=x>t</a> on<br>",
             "go <a href=\"http://h/d/x\">t</a> on"},
            {"a link without href writes nothing but is closed", "a<a name=x>t</a>", "at</a>"},
            {"the next link closes the one before", "<a href=1>x<a href=2>y</a>",
             "<a href=\"http://h/d/1\">x</a><a href=\"http://h/d/2\">y</a>"},
            {"a /a without an open link writes nothing", "a</a>b", "ab"},
            {"a br at the end of a link closed by td gives a blank and a line feed",
             "<a href=x>t<br><td>u", "<a href=\"http://h/d/x\">t \n</a>\nu"},
            {"a br at the end of a link closed by /tr gives a blank and a line feed",
             "<a href=x>t<br></tr>u", "<a href=\"http://h/d/x\">t \n</a>\nu"},
            {"a br at the end of a link closed by the next link does too",
             "<a href=x>t<br><a href=y>u</a>",
             "<a href=\"http://h/d/x\">t \n</a><a href=\"http://h/d/y\">u</a>"},
            {"a br at the end of a link closed by /a gives only the blank", "<a href=x>t<br></a>u",
             "<a href=\"http://h/d/x\">t </a>u"},
            {"a br followed by more link text is a blank inside the link", "<a href=x>t<br>v</a>",
             "<a href=\"http://h/d/x\">t v</a>"},
            {"unsafe bytes of a resolved address are escaped",
             "<a href=\"a b|" + Sjis("日") + "\">t</a>",
             "<a href=\"http://h/d/a%20b%7C%93%FA\">t</a>"},
        },
        kPage);
}

TEST(TagHandler, BaseTagGivesTheBaseOfLaterLinks) {
    ExpectCases(
        {
            {"a link after a base tag is resolved against its address",
             "<base href=\"http://b/e/\"><a href=\"../x\">t</a>", "<a href=\"http://b/x\">t</a>"},
            {"BASE HREF in capitals counts", "<BASE HREF=\"http://b/e/\"><a href=x>t</a>",
             "<a href=\"http://b/e/x\">t</a>"},
            {"only the first href of a base tag counts",
             "<base href=http://b/ href=http://c/><a href=x>t</a>", "<a href=\"http://b/x\">t</a>"},
            {"links before the base tag use the page URL", "<a href=x>t</a><base href=http://b/>",
             "<a href=\"http://h/d/x\">t</a>"},
        },
        kPage);

    const std::string longest = "http://b/" + std::string(989, 'e') + "/";  // 999 characters
    ASSERT_EQ(longest.size(), 999u);
    ExpectExtracts("<base href=\"" + longest + "\"><a href=x>t</a>",
                   "<a href=\"" + longest + "x\">t</a>", kPage);
    ExpectExtracts("<base href=\"" + longest + "e\"><a href=x>t</a>",
                   "<a href=\"http://h/d/x\">t</a>", kPage);
}

TEST(TagHandler, ImagesKeepTheirSourceAndAlternativeText) {
    ExpectCases(
        {
            {"src and alt are both written", "<img src=\"i.png\" alt=\"pic\">",
             "<img src=\"http://h/d/i.png\" alt=\"pic\">"},
            {"src is written before alt whatever their order", "<img alt=pic src=i.png>",
             "<img src=\"http://h/d/i.png\" alt=\"pic\">"},
            {"an empty alt is left out", "<img src=i.png alt=\"\">",
             "<img src=\"http://h/d/i.png\">"},
            {"an empty src is left out", "<img src='' alt=a>", "<img alt=\"a\">"},
            {"an img with neither is only the markup", "<img>", "<img>"},
            {"SRC and ALT in capitals count", "<IMG SRC=i.png ALT=Pic>",
             "<img src=\"http://h/d/i.png\" alt=\"Pic\">"},
            {"the blanks around an image are kept", "a <img src=i.png> b<br>",
             "a <img src=\"http://h/d/i.png\"> b"},
            {"alt text keeps its characters", "<img alt=\"" + Sjis("写真") + "\">",
             "<img alt=\"" + Sjis("写真") + "\">"},
        },
        kPage);
}

TEST(TagHandler, OnlyTheFirstThousandTokensOfATagAreSeen) {
    auto image_with_fillers = [](int fillers) {
        std::string tag = "<img";
        for (int i = 0; i < fillers; ++i) {
            tag += " x";
        }
        return tag + " src=y alt=z>";
    };
    // img, 997 fillers, src and y are tokens 0 to 999; alt and z lie beyond.
    ExpectExtracts(image_with_fillers(997), "<img src=\"http://h/d/y\">", kPage);
    // With one filler more, src is the last token counted and its value is not seen.
    ExpectExtracts(image_with_fillers(998), "<img>", kPage);
    ExpectExtracts(image_with_fillers(5000), "<img>", kPage);
}

TEST(TagHandler, MetaAndXmlTagsSelectTheEncoding) {
    struct EncodingCase {
        const char* what;
        std::string tag;
        std::vector<Encoding> selected;
    };
    const std::vector<EncodingCase> cases = {
        {"a content value naming EUC-JP",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">",
         {Encoding::kEucJp}},
        {"a charset attribute naming UTF-8", "<meta charset=\"UTF-8\">", {Encoding::kUtf8}},
        {"META CHARSET in capitals", "<META CHARSET=iso-2022-jp>", {Encoding::kIso2022Jp}},
        {"a charset attribute naming Shift_JIS changes nothing", "<meta charset=Shift_JIS>", {}},
        {"the content test comes before the charset attribute",
         "<meta content=\"charset=utf-8\" charset=\"x-euc-jp\">",
         {Encoding::kUtf8, Encoding::kEucJp}},
        {"an xml declaration's encoding",
         "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>",
         {Encoding::kEucJp}},
        {"an xml declaration in capitals", "<?XML ENCODING='utf-8'?>", {Encoding::kUtf8}},
        {"an xml declaration naming Shift_JIS changes nothing",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>",
         {}},
        {"charset=utf-8 in an xml declaration is not its test", "<?xml x=\"charset=utf-8\"?>", {}},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectExtracts(c.tag + "a", "a", {}, false, c.selected);
        ExpectExtracts(c.tag + "a", "a", WithCharsetSel(1), false, {});
    }
}

TEST(TagHandler, RssFeedsGiveLabelledLinesAndItemLinks) {
    const std::string arrow = Sjis("→");
    const std::string rss2 =
        "<?xml version=\"1.0\"?>\r\n<rss version=\"2.0\"><channel><title>Feed</title>"
        "<link>http://f/</link>\r\n<item><title>T1</title><link>http://f/1</link>"
        "<dc:date>2024-01-01</dc:date><description>line1\r\nline2</description></item>"
        "</channel></rss>";
    SCOPED_TRACE("RSS 2.0");
    ExpectExtracts(rss2, "\nFeed <a href=\"http://f/\">" + arrow +
                             "[link]</a>\nT1 <a href=\"http://f/1\">" + arrow + "[link]</a>\n" +
                             Sjis("【date】:") + "2024-01-01\nline1\nline2");

    const std::string rss1 =
        "<rdf:RDF xmlns:rdf=\"x\"><channel><title>F</title><link>http://f/</link></channel>"
        "<item><title>T</title><link>http://f/1</link><dc:creator>Me</dc:creator></item>"
        "</rdf:RDF>";
    SCOPED_TRACE("RSS 1.0");
    ExpectExtracts(rss1, "\nF <a href=\"http://f/\">" + arrow +
                             "[link]</a>\nT <a href=\"http://f/1\">" + arrow + "[link]</a>\n" +
                             Sjis("【creator】:") + "Me");

    const std::string atom =
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>X</title><link href=\"http://a/\"/>"
        "<entry><title>Y</title><link rel=\"alternate\" href=\"http://a/1\"/>"
        "<updated>2024</updated></entry></feed>";
    SCOPED_TRACE("Atom does not switch RSS mode on");
    ExpectExtracts(atom, "\nX\nY\n2024");
}

TEST(TagHandler, RssNamesAndTheirLetterCase) {
    ExpectCases({
        {"fields are labelled, dc: left out of the label",
         "<rss><language>ja</language><managingEditor>m</managingEditor><dc:date>d</dc:date>",
         "\n" + Sjis("【language】:") + "ja\n" + Sjis("【managingEditor】:") + "m\n" +
             Sjis("【date】:") + "d"},
        {"structure and field names are matched in their own letter case",
         "<rss><Item>a<LANGUAGE>b<Rss>c", "abc"},
        {"description keeps the page's line breaks", "<rss><description>a\r\nb\nc</description>d",
         "a\nb\ncd"},
        {"outside RSS mode description and link mean nothing",
         "<description>a\r\nb</description><link>c</link>", "abc"},
        {"rss switches RSS mode on only in lower case", "<RSS><item>a", "a"},
        {"a link with attributes is not an item link", "<rss><link href=x>a</link>b",
         "a\">" + Sjis("→") + "[link]</a>\nb"},
    });
}

}  // namespace
}  // namespace velnora::processing
