#include "fetch/reload.h"

#include "fetch/messages.h"
#include "fetch/page_walk.h"
#include "text/bounded_string.h"

namespace velnora::fetch {

std::string LoadingText(std::string_view name) {
    std::string text(messages::kLoadingPrefix);
    text.append(text::CutToBuffer(name, 101));
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
        observer.SetStatusText(LoadingText(item.node.name));
        observer.ShowResultsAfterCheck(item, n_reload);
    } else {
        PageWalk walk(tree);
        store::ItemRecord page;
        for (bool found = walk.First(selected, page); found; found = walk.Next(page)) {
            observer.SetStatusText(LoadingText(page.node.name));
            observer.ShowResultsAfterCheck(page, all ? 1 : 0);
        }
    }
    observer.CaretToStart();
    observer.SetStatusText("");
    observer.LockCommands(true);
}

}  // namespace velnora::fetch
