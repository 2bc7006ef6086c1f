#include "window/clear_past_logs.h"

#include "store/clear_page_logs.h"
#include "store/item_directory.h"
#include "text/bounded_string.h"
#include "window/message_box.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

// Clears the pages below the folder, counting them in *done of total; with services null, only
// counts.
void ClearBelow(const store::PageTree& tree, store::ItemId folder, const std::string& directory,
                WindowServices* services, int& done, int total) {
    for (store::ItemId child = tree.FirstChild(folder); child != 0;
         child = tree.NextSibling(child)) {
        const store::PageTree::Node* node = tree.Find(child);
        auto child_directory = store::ItemDirectory(directory, node->name, node->kind);
        if (!child_directory) {
            continue;
        }
        if (node->kind == store::KIND_PAGE) {
            ++done;
            if (services == nullptr) {
                continue;
            }
            std::string status(tree_texts::kClearingPagePrefix);
            status.append(text::CutToBuffer(node->name, 101));
            status.append("\"...");
            services->SetStatusText(status);
            store::ClearPageLogs(*child_directory);
            services->ShowProgress(done, total);
        } else if (node->kind == store::KIND_FOLDER) {
            ClearBelow(tree, child, *child_directory, services, done, total);
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
        int total = 0;
        ClearBelow(tree, record.node.item, record.node.path, nullptr, total, 0);
        int done = 0;
        services.ShowProgress(0, total);
        ClearBelow(tree, record.node.item, record.node.path, &services, done, total);
        services.ShowProgress(0, 0);
    }
    services.SetStatusText(tree_texts::kCleared);
}

}  // namespace velnora::window
