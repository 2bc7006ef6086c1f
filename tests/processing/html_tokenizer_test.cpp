#include "processing/html_tokenizer.h"

#include <gtest/gtest.h>

#include <string>

#include "processing/extraction_harness.h"
#include "support/sjis.h"

namespace velnora::processing {
namespace {

using test::ExpectExtracts;
using test::Extract;
using test::ExtractionRun;
using test::WithCharsetSel;
using velnora::test::Sjis;

struct Case {
    const char* what;
    std::string body;
    std::string expected;
};

void ExpectCases(const std::vector<Case>& cases, const ExtractionOptions& options = {},
                 bool as_text = false) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectExtracts(c.body, c.expected, options, as_text);
    }
}

TEST(HtmlTokenizer, CollapsesBlanksAndLineBreaksBetweenText) {
    ExpectCases({
        {"a blank and a source line break between words give one blank", "a \r\nb<br>", "a b"},
        {"a source line break alone joins the words", "a\r\nb<br>", "ab"},
        {"a p tag puts the words on two lines", "a<p>b<br>", "a\nb"},
        {"several breaking tags give no empty line", "a<br><br><p>b<br>", "a\nb"},
        {"blanks and breaks between two tags make one line feed", "a <br> \t<p>\nb<br>", "a\nb"},
        {"text after a breaking tag at the start begins with an empty line", "<p>a<br>", "\na"},
        {"blanks before the first text are one blank", "  a<br>", " a"},
        {"unknown tags are ignored and their text kept", "<html><body>a<x-y>b</body>", "ab"},
        {"character references stay as written", "a&amp;b&#x41;<br>", "a&amp;b&#x41;"},
    });
}

TEST(HtmlTokenizer, FullWidthSpacesBecomeBlanks) {
    const std::string space = "\x81\x40";
    ExpectCases({
        {"one full-width space between words is one blank", "a" + space + "b<br>", "a b"},
        {"two full-width spaces are two blanks", "a" + space + space + "b<br>", "a  b"},
        {"a full-width space after a kanji is found", Sjis("日") + space + "x<br>",
         Sjis("日") + " x"},
        {"a character whose second byte is 0x81 before an @ stays whole",
         Sjis("ａ") + "@" + Sjis("＝") + "@<br>", Sjis("ａ") + "@" + Sjis("＝") + "@"},
    });
}

TEST(HtmlTokenizer, SkipsScriptStyleAndSelectContent) {
    ExpectCases({
        {"a script holding a comparison is dropped whole",
         "a<script>if (x < y && y<p) document.write('<p>b');</script>c<br>", "ac"},
        {"the end string matches in any letter case", "a<SCRIPT>x</ScRiPt>c<br>", "ac"},
        {"a style element is dropped", "a<style>p { color: red }</style>c<br>", "ac"},
        {"a select with its options is dropped", "a<select><option>1</option></select>c<br>", "ac"},
        {"an optgroup is dropped", "a<optgroup label=x>y</optgroup>c<br>", "ac"},
        {"a second < inside a half-matched end string is not compared again",
         "<script>a</scr</script>b</script>c<br>", "c"},
        {"a Shift_JIS character inside a script is dropped",
         "<script>" + Sjis("表示") + "</script>" + Sjis("後") + "<br>", Sjis("後")},
    });
}

TEST(HtmlTokenizer, CopiesPreContentUnchanged) {
    ExpectCases({
        {"pre content follows the text before it and the text after it has an empty line",
         "a<pre>x</pre>b<br>", "ax\n\nb"},
        {"tags inside pre are written as their characters", "<pre><b>x</b>  y</pre>",
         "<b>x</b>  y\n"},
        {"CR LF and LF CR give one line feed each, bare CR and LF one each",
         "<pre>1\r\n2\n\r3\r\r4\n\n5</pre>", "1\n2\n3\n\n4\n\n5\n"},
        {"the end string matches in any letter case", "<pre>x</PRE>y<br>", "x\n\ny"},
        {"a half-matched end string is written in lower case", "<pre>a</PRx</pre>", "a</prx\n"},
        {"a half-matched end string before a line end", "<pre>a</p\r\nb</pre>", "a</p\nb\n"},
        {"a second < inside a half-matched end string is copied and hides the end string",
         "<pre>a<</pre>b<br>", "a<</pre>b<br>"},
        {"a Shift_JIS character inside pre is copied", "<pre>" + Sjis("整形") + "</pre>",
         Sjis("整形") + "\n"},
    });
}

TEST(HtmlTokenizer, CommentsAndDeclarationsVanish) {
    ExpectCases({
        {"a comment vanishes", "a<!-- b <p> c -->d<br>", "ad"},
        {"a comment of dashes only ends at the first -->", "a<!---->b<!-- x --->c<br>", "abc"},
        {"an unterminated comment swallows the rest of the page", "a<!-- b <p> c", "a"},
        {"a document type declaration vanishes", "<!DOCTYPE html>a<br>", "a"},
        {"a CDATA section vanishes up to its first >", "a<![CDATA[x]]>b<br>", "ab"},
        {"<!- without a second dash is a declaration", "a<!-x>b<br>", "ab"},
    });
}

TEST(HtmlTokenizer, PlainTextPagesAreCopiedWhole) {
    ExpectCases(
        {
            {"tags are not interpreted and the last text is written", "a <b>x</b>\r\nc",
             "a <b>x</b>\nc"},
            {"line ends as in pre", "1\r\n2\n\r3\r\r4\n\n5", "1\n2\n3\n\n4\n\n5"},
            {"blanks are not collapsed", "a   b\t\tc", "a   b\t\tc"},
        },
        {}, true);
}

TEST(HtmlTokenizer, WritesTheTextAfterTheLastTagAtTheEndOfTheBody) {
    ExpectCases({
        {"the page's last words are written", "a<p>last words", "a\nlast words"},
        {"pending blanks and line breaks after them are not", "a<p>b  \r\n", "a\nb"},
        {"full-width spaces are replaced as at a tag", "x\x81\x40y", "x y"},
        {"a page without any tag is written", "only text", "only text"},
        {"text inside an unfinished tag is not written", "a<b x=", "a"},
        {"an unfinished script is not written", "a<script>x", "a"},
    });
    // Before the header block has ended there is no body to finish.
    TextAccumulator accumulator;
    StringTextOutput output;
    ExtractedTextWriter writer(output);
    test::RecordingSelector selector;
    HtmlTokenizer tokenizer(accumulator, writer, selector, {});
    accumulator.AddVisible('x');
    tokenizer.EndBody();
    writer.FlushText();
    EXPECT_EQ(output.text(), "");
}

TEST(HtmlTokenizer, DropsZeroBytesWithoutEffect) {
    using namespace std::string_literals;
    ExpectCases({
        {"in text", "a\0b<p\0>c"s, "ab\nc"},
        {"between blanks", "a \0 b<br>"s, "a b"},
        {"in a quoted value", "<a href=\"x\0y\">t</a>"s, "<a href=\"xy\">t</a>"},
        {"in a comment's end", "a<!-- x -\0->b<br>"s, "ab"},
        {"in a script's end string", "a<script>x</scr\0ipt>b<br>"s, "ab"},
        {"in pre content and its end string", "<pre>x\0y</pr\0e>"s, "xy\n"},
        {"between a lead byte and its second byte", "\x93\0\xfa<br>"s, "\x93\xfa"},
    });
    ExpectCases({{"in plain text", "a\0b\r\0\nc"s, "ab\nc"}}, {}, true);
}

TEST(HtmlTokenizer, StopsRightAfterATagThatSelectsAnEncoding) {
    const std::string body = "<p>a<meta charset=\"utf-8\">rest<br>";
    ExtractionRun run;
    std::size_t taken = run.tokenizer().Take(body);
    EXPECT_EQ(taken, body.find('>', 4) + 1);
    ASSERT_EQ(run.selected().size(), 1u);
    EXPECT_EQ(run.selected()[0], Encoding::kUtf8);
    run.Feed(std::string_view(body).substr(taken));
    EXPECT_EQ(run.Finish(), "\narest");

    // Fed in any pieces, the text and the selection are the same.
    ExpectExtracts(body, "\narest", {}, false, {Encoding::kUtf8});
    // Without detection the tag is taken like any other and nothing stops.
    ExtractionRun fixed(WithCharsetSel(1));
    EXPECT_EQ(fixed.tokenizer().Take(body), body.size());
    EXPECT_TRUE(fixed.selected().empty());
}

TEST(HtmlTokenizer, BoundsLongTextAndLongTags) {
    // Text between two tags keeps its first 65,533 bytes.
    const std::string text(70000, 'a');
    EXPECT_EQ(Extract(text + "<br>").text, std::string(65533, 'a'));
    ExpectExtracts(text + "<br>b<br>", std::string(65533, 'a') + "\nb");
    // The blank pending in front of the last byte that fits is written with it.
    ExpectExtracts(std::string(65532, 'a') + " bc<br>", std::string(65532, 'a') + " b");

    // A tag text keeps 65,535 bytes: "a", "href" and their two NULs leave 65,528 for the value.
    const std::string value(70000, 'x');
    ExpectExtracts("<a href=\"" + value + "\">t</a>",
                   "<a href=\"" + std::string(65528, 'x') + "\">t</a>");
}

TEST(HtmlTokenizer, ResetStartsANewPage) {
    TextAccumulator accumulator;
    StringTextOutput output;
    ExtractedTextWriter writer(output);
    test::RecordingSelector selector;
    HtmlTokenizer tokenizer(accumulator, writer, selector, test::WithTableSetting(2));
    tokenizer.BeginBody(false);
    tokenizer.Take("<rss><table><tr><a href=x><pre>y");
    tokenizer.Reset();
    tokenizer.BeginBody(false);
    tokenizer.Take("a<item>b</a>c<td>d");
    tokenizer.EndBody();
    writer.FlushText();
    // No RSS mode, pre, open link or row is left over from the first page (the blank pending
    // in the accumulator is its owner's to reset).
    EXPECT_EQ(output.text(), "\n<a href=\"x\">y abc\nd");
}

}  // namespace
}  // namespace velnora::processing
