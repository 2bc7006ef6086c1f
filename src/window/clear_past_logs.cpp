#include "window/clear_past_logs.h"

#include <vector>

#include "fetch/reload.h"
#include "store/clear_page_logs.h"
#include "store/item_directory.h"
#include "window/message_box.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

struct PageToClear {
    std::string name;
    std::string directory;
};

// The pages below the folder, in the tree's order.
void CollectPages(const store::PageTree& tree, store::ItemId folder, const std::string& directory,
                  std::vector<PageToClear>& pages) {
    for (store::ItemId child = tree.FirstChild(folder); child != 0;
         child = tree.NextSibling(child)) {
        const store::PageTree::Node* node = tree.Find(child);
        auto child_directory = store::ItemDirectory(directory, node->name, node->kind);
        if (!child_directory) {
            continue;
        }
        if (node->kind == store::KIND_PAGE) {
            pages.push_back({node->name, std::move(*child_directory)});
        } else if (node->kind == store::KIND_FOLDER) {
            CollectPages(tree, child, *child_directory, pages);
        }
    }
}

}  // namespace

void ClearPastLogs(const store::ItemRecord& record, const store::PageTree& tree,
                   WindowServices& services) {
    // A record without a directory (a page whose sheet is open before the page exists) has
    // nothing to clear; its empty path must not lead to files elsewhere.
    if (record.node.path.empty()) {
        return;
    }
    if (ShowMessage(services.window(), tree_texts::kClearQuestion, tree_texts::kClearCaption,
                    MessageButtons::kYesNoDefaultNo,
                    MessageIcon::kWarning) != MessageAnswer::kYes) {
        return;
    }
    HomeWriteScope writing(services);
    if (!writing) {
        return;
    }
    services.SetStatusText(tree_texts::kClearing);
    if (record.node.kind == store::KIND_PAGE) {
        store::ClearPageLogs(record.node.path);
    } else {
        std::vector<PageToClear> pages;
        CollectPages(tree, record.node.item, record.node.path, pages);
        int total = static_cast<int>(pages.size());
        services.ShowProgress(0, total);
        for (int done = 0; done < total; ++done) {
            const PageToClear& page = pages[static_cast<std::size_t>(done)];
            services.SetStatusText(
                fetch::PageProgressText(tree_texts::kClearingPagePrefix, page.name));
            store::ClearPageLogs(page.directory);
            services.ShowProgress(done + 1, total);
        }
        services.ShowProgress(0, 0);
    }
    services.SetStatusText(tree_texts::kCleared);
}

}  // namespace velnora::window
