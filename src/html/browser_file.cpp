#include "html/browser_file.h"

#include <algorithm>

#include "fetch/messages.h"
#include "fetch/page_walk.h"
#include "fetch/reload.h"
#include "files/text_file.h"
#include "html/document_head.h"
#include "html/document_html.h"
#include "html/escape.h"
#include "html/texts.h"
#include "results/display.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "store/settings_files.h"

namespace velnora::html {

namespace {

// One update text as a block; false when the file cannot be opened.
bool AppendUpdateText(std::string& html, const store::ItemRecord& page, int slot,
                      const results::DisplaySettings& display) {
    auto path = store::PagePath(page.node.path, store::UpdateFileName(slot));
    files::TextReader reader;
    if (!path || !reader.Open(*path)) {
        return false;
    }
    const store::PageSettings& settings = page.settings;
    html.append("<hr><h2>");
    AppendLink(html, settings.browse_url.empty() ? settings.url : settings.browse_url,
               page.node.name);
    html.append("</h2>\n<p>");
    results::ResultDocument lines;
    results::ResultDisplay shown(lines);
    shown.SetSettings(display);
    std::string line;
    while (reader.ReadLine(line)) {
        shown.ShowStoredLine(page, line);
    }
    AppendDocumentHtml(html, lines, ImageForm::kAsImages);
    html.append("</p>");
    return true;
}

void ShowLoading(results::StatusSink* status, std::string_view name) {
    if (status != nullptr) {
        status->SetStatusText(fetch::PageProgressText(fetch::messages::kLoadingPrefix, name));
    }
}

}  // namespace

std::string BrowserFilePath(std::string_view home_directory) {
    std::string path(home_directory);
    path.append(kBrowserFileName);
    return path;
}

void AppendPageBlocks(std::string& html, store::ItemRecord page, int count,
                      const results::DisplaySettings& display) {
    store::ReadPageSettings(page.node.path, page.settings);
    int index = store::ReadLogIndex(page.node.path);
    count = std::min(count, store::kLogSlots);
    for (int j = 0; j < count; ++j) {
        AppendUpdateText(html, page, store::SlotBefore(index, j), display);
    }
}

std::string BrowserFileHtml(const store::PageTree& tree, store::ItemId item,
                            const results::DisplaySettings& display,
                            const results::PaneAppearance& appearance, const std::tm& now,
                            results::StatusSink* status) {
    std::string html = DocumentHead(appearance, now);
    store::ItemRecord record;
    const store::PageTree::Node* node = tree.Find(item);
    if (node != nullptr && tree.BuildTreeNode(item, record.node) == 0) {
        if (node->kind == store::KIND_PAGE) {
            ShowLoading(status, record.node.name);
            AppendPageBlocks(html, record, display.n_reload, display);
        } else {
            fetch::PageWalk walk(tree);
            store::ItemRecord page;
            for (bool found = walk.First(item, page); found; found = walk.Next(page)) {
                ShowLoading(status, page.node.name);
                if (store::ReadResultCode(page.node.path) == store::RESULT_UPDATED) {
                    AppendPageBlocks(html, page, 1, display);
                }
            }
        }
    }
    html.append(kDocumentClosing);
    return html;
}

}  // namespace velnora::html
