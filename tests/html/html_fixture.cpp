// Writes the program's three HTML files from a page tree of hostile update texts, with what the
// pane shows beside them, for tests/html/check_html_files.py to read with a real HTML parser.
//
//     html_fixture OUTPUT_DIRECTORY
//
// It makes OUTPUT_DIRECTORY/home (the pages), and writes into OUTPUT_DIRECTORY (all Shift_JIS):
//   saved.html      the saved log of the pane after "全てリロード"
//   pane.txt        the pane's text, settings links left out
//   history.html    the link history after opening every link of the pane
//   browser.html    the browser file for the root
//   block<N>.txt    what the pane shows of the N-th block's update text, images left out

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "html/browser_file.h"
#include "html/document_head.h"
#include "html/html_file.h"
#include "html/link_history.h"
#include "html/saved_log.h"
#include "results/display.h"
#include "results/link_targets.h"
#include "settings/app_settings.h"
#include "settings/settings_views.h"
#include "store/page_tree.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace {

using velnora::test::Sjis;

struct Page {
    const char* name;
    const char* settings;
    const char* text;  // UTF-8, lines separated by \n
};

const Page kPages[] = {
    {"Evil & Co", "",
     "<script>alert(1)</script> &lt;script&gt;alert(2)&lt;/script&gt; 5 &lt; 6 &amp; 7\n"
     "<a href=\"javascript:alert(1)\">js link</a> <a href=\"file:///etc/passwd\">file link</a>\n"
     "<a href=\"http://e.com/?a=1&amp;b=2\">amp link</a> "
     "<a href=\"http://e.com/&quot; onmouseover=&quot;alert(3)\">quote link</a>\n"
     "<img src=\"http://e.com/i.png\" alt=\"say &quot;hi&quot; <b>\"> "
     "<img src=\"javascript:alert(4)\" alt=\"bad\"> "
     "<img src=\"data:text/html,&lt;script&gt;\" alt=\"data\">\n"
     "<a href=\"http://e.com/n\">linked <img src=\"ftp://e.com/x.gif\" alt=\"pic\"> image</a>\n"
     "日本語の行 <a href=\"HTTPS://e.com/up\">大文字</a>"},
    {"Raw", "AS_TEXT=1\r\n",
     "<a href=\"http://x.com/\">x</a><script>bad()</script>\n&amp; &lt;b&gt; <b>bold</b>"},
    {"Feed", "",
     "<a href=\"https://e.com/rss\">item</a> description with <iframe src=\"http://x/\">"},
};

std::string UpdateText(const char* utf8) {
    std::string text = Sjis(utf8);
    std::string stored;
    for (char c : text) {
        if (c == '\n') {
            stored += '\r';
        }
        stored += c;
    }
    return stored;
}

bool Write(const std::string& path, const std::string& text) {
    if (!velnora::files::WriteFileAtomically(path, text)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// The document's text without the texts of its settings links and, when asked, of the images
// that a browser shows as images.
std::string ShownText(const velnora::results::ResultDocument& document, bool without_images) {
    std::vector<std::pair<std::size_t, std::size_t>> left_out;
    for (const auto& link : document.Links()) {
        if (velnora::results::IsSettingsTarget(link.target)) {
            left_out.emplace_back(link.start, link.start + link.length);
        }
    }
    if (without_images) {
        for (const auto& image : document.Images()) {
            if (velnora::results::IsOpenableTarget(image.source)) {
                left_out.emplace_back(image.start, image.start + image.length);
            }
        }
    }
    std::sort(left_out.begin(), left_out.end());
    std::string text;
    std::size_t position = 0;
    for (auto [start, end] : left_out) {
        text += document.TextRange(position, start);
        position = end;
    }
    text += document.TextRange(position, document.Length());
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velnora;
    if (argc != 2) {
        std::fprintf(stderr, "usage: html_fixture OUTPUT_DIRECTORY\n");
        return 2;
    }
    std::string out = argv[1];
    std::string home = out + "/home/";
    files::MakeDirectories(home + "data");
    for (const Page& page : kPages) {
        std::string dir = home + "data/" + page.name + ".dat";
        files::MakeDirectories(dir);
        if (!Write(dir + "/site.ini",
                   std::string("[CONFIG]\r\nURL=http://e.com/") + "\r\n" + page.settings) ||
            !Write(dir + "/result.ini", "[RESULT]\r\nCODE=3\r\n") ||
            !Write(dir + "/index.txt", "0") || !Write(dir + "/add0.txt", UpdateText(page.text))) {
            return 1;
        }
    }
    settings::AppSettings app;
    app.header = "%link; %config; %comment;";
    app.image_link = 1;
    results::DisplaySettings display = settings::DisplaySettingsFrom(app);
    results::PaneAppearance look = settings::PaneAppearanceFrom(app);
    std::tm now = html::LocalNow();

    store::PageTree tree(home);
    store::PopulateTree(tree);
    results::ResultDocument pane;
    results::ResultDisplay shown(pane);
    shown.SetSettings(display);
    std::vector<std::string> blocks;
    for (store::ItemId item = tree.FirstChild(tree.root()); item != 0;
         item = tree.NextSibling(item)) {
        store::ItemRecord page;
        tree.BuildTreeNode(item, page.node);
        shown.ShowResultsAfterCheck(page, 1);

        results::ResultDocument block;
        results::ResultDisplay block_display(block);
        block_display.SetSettings(display);
        std::string bytes;
        files::ReadWholeFile(page.node.path + "/add0.txt", bytes);
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find("\r\n", start);
            end = end == std::string::npos ? bytes.size() : end;
            block_display.ShowStoredLine(page, bytes.substr(start, end - start));
            start = end + 2;
        }
        blocks.push_back(ShownText(block, true));
    }
    for (std::size_t i = 0; i < pane.Links().size(); ++i) {
        if (!results::IsSettingsTarget(pane.Links()[i].target) &&
            !html::AppendLinkToHistory(home, pane, i, now)) {
            std::fprintf(stderr, "cannot record link %zu\n", i);
            return 1;
        }
    }
    std::string error;
    bool ok = html::WriteHtmlFile(out + "/saved.html", html::SavedLogHtml(pane, look, now),
                                  html::kSharedFilePermissions, &error) &&
              Write(out + "/pane.txt", ShownText(pane, false)) &&
              Write(out + "/history.html",
                    [&] {
                        std::string bytes;
                        files::ReadWholeFile(html::HistoryFilePath(home, now), bytes);
                        return bytes;
                    }()) &&
              html::WriteHtmlFile(out + "/browser.html",
                                  html::BrowserFileHtml(tree, tree.root(), display, look, now),
                                  html::kPrivateFilePermissions, &error);
    for (std::size_t i = 0; ok && i < blocks.size(); ++i) {
        ok = Write(out + "/block" + std::to_string(i) + ".txt", blocks[i]);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the files: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
