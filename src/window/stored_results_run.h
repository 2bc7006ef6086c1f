#pragma once

// "リロード" and "全てリロード" of a folder or the root in the window: the stored results of
// every page the check's walk yields, shown a few pages at a time between turns of the event
// loop, so that the window paints and answers the keyboard throughout and Esc can stop it. A
// single page is shown at once.

#include <QObject>
#include <functional>

#include "fetch/check_observer.h"
#include "fetch/page_walk.h"
#include "store/page_tree.h"

namespace velnora::window {

class StoredResultsRun : public QObject {
    Q_OBJECT

  public:
    // progress(done, total) follows the pages shown; (0, 0) when the run is over. filling(true)
    // comes once the pane is cleared for a folder's pages, filling(false) when they are all in
    // it (or the run was stopped): the pane may gather the text out of sight meanwhile.
    StoredResultsRun(const store::PageTree& tree, fetch::CheckObserver& observer,
                     std::function<void(int done, int total)> progress,
                     std::function<void(bool filling)> filling = {});

    // Starts showing the stored results below the item (for a page: at once). `all`: every
    // page's latest update text; otherwise what each page's result code says.
    void Start(store::ItemId selected, bool all, int n_reload);
    // Stops after the page being shown; what is shown stays.
    void Stop();
    bool running() const { return running_; }

  private:
    void Step();
    void Finish(bool stopped);

    const store::PageTree& tree_;
    fetch::CheckObserver& observer_;
    std::function<void(int, int)> progress_;
    std::function<void(bool)> filling_;
    fetch::PageWalk walk_;
    store::ItemRecord page_;
    bool has_page_ = false;
    bool all_ = false;
    bool running_ = false;
    int done_ = 0;
    int total_ = 0;
};

// The pages the check's walk yields below an item (1 for a page).
int CountWalkedPages(const store::PageTree& tree, store::ItemId selected);

}  // namespace velnora::window
