#include "fetch/reload.h"

#include "fetch/messages.h"
#include "fetch/page_walk.h"
#include "text/bounded_string.h"

namespace velnora::fetch {

std::string PageProgressText(std::string_view prefix, std::string_view page_name) {
    std::string text(prefix);
    text.append(text::CutToBuffer(page_name, 101));
    text.append("\"...");
    return text;
}

void ShowStoredResults(const store::PageTree& tree, store::ItemId selected, bool all, int n_reload,
                       CheckObserver& observer) {
    store::ItemRecord item;
    if (tree.BuildTreeNode(selected, item.node) != 0) {
        return;
    }
    observer.LockCommands(false);
    observer.ClearPane();
    if (item.node.kind == store::KIND_PAGE) {
        observer.SetStatusText(PageProgressText(messages::kLoadingPrefix, item.node.name));
        observer.ShowResultsAfterCheck(item, n_reload);
    } else {
        PageWalk walk(tree);
        store::ItemRecord page;
        for (bool found = walk.First(selected, page); found; found = walk.Next(page)) {
            observer.SetStatusText(PageProgressText(messages::kLoadingPrefix, page.node.name));
            observer.ShowResultsAfterCheck(page, all ? 1 : 0);
        }
    }
    observer.CaretToStart();
    observer.SetStatusText("");
    observer.LockCommands(true);
}

}  // namespace velnora::fetch
