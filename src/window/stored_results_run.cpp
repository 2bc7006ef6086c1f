#include "window/stored_results_run.h"

#include <QElapsedTimer>
#include <QTimer>

#include "fetch/messages.h"
#include "fetch/reload.h"

namespace velnora::window {

namespace {

// How long one turn may show pages before the event loop gets its turn: well below the 100 ms
// within which the window must answer.
constexpr qint64 kSliceMilliseconds = 20;

}  // namespace

int CountWalkedPages(const store::PageTree& tree, store::ItemId selected) {
    const store::PageTree::Node* node = tree.Find(selected);
    if (node == nullptr) {
        return 0;
    }
    if (node->kind == store::KIND_PAGE) {
        return 1;
    }
    fetch::PageWalk walk(tree);
    store::ItemRecord page;
    int count = 0;
    for (bool found = walk.First(selected, page); found; found = walk.Next(page)) {
        ++count;
    }
    return count;
}

StoredResultsRun::StoredResultsRun(const store::PageTree& tree, fetch::CheckObserver& observer,
                                   std::function<void(int, int)> progress,
                                   std::function<void(bool)> filling)
    : tree_(tree),
      observer_(observer),
      progress_(std::move(progress)),
      filling_(std::move(filling)),
      walk_(tree) {}

void StoredResultsRun::Start(store::ItemId selected, bool all, int n_reload) {
    store::TreeNode node;
    if (running_ || tree_.BuildTreeNode(selected, node) != 0) {
        return;
    }
    if (node.kind == store::KIND_PAGE) {
        // One page is shown at once.
        fetch::ShowStoredResults(tree_, selected, all, n_reload, observer_);
        return;
    }
    observer_.LockCommands(false);
    observer_.ClearPane();
    running_ = true;
    all_ = all;
    done_ = 0;
    total_ = CountWalkedPages(tree_, selected);
    has_page_ = walk_.First(selected, page_);
    progress_(0, total_);
    if (filling_) {
        filling_(true);
    }
    Step();
}

void StoredResultsRun::Step() {
    if (!running_) {
        return;
    }
    QElapsedTimer slice;
    slice.start();
    while (has_page_ && slice.elapsed() < kSliceMilliseconds) {
        if (done_ % 16 == 0) {
            observer_.SetStatusText(
                fetch::PageProgressText(fetch::messages::kLoadingPrefix, page_.node.name));
        }
        observer_.ShowResultsAfterCheck(page_, all_ ? 1 : 0);
        ++done_;
        has_page_ = walk_.Next(page_);
    }
    if (!has_page_) {
        Finish(false);
        return;
    }
    progress_(done_, total_);
    QTimer::singleShot(0, this, [this] { Step(); });
}

void StoredResultsRun::Stop() {
    if (running_) {
        Finish(true);
    }
}

void StoredResultsRun::Finish(bool stopped) {
    running_ = false;
    has_page_ = false;
    if (filling_) {
        filling_(false);
    }
    observer_.CaretToStart();
    // "処理を中止しました。" when Esc stopped it.
    observer_.SetStatusText(stopped ? fetch::messages::kProcessingAborted : std::string_view());
    progress_(0, 0);
    observer_.LockCommands(true);
}

}  // namespace velnora::window
