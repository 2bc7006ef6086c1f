#pragma once

// The walk of a check over the page tree: depth first, in the tree's order, below one item,
// yielding the pages that take part in automatic checks.

#include "store/page_tree.h"
#include "store/records.h"

namespace velnora::fetch {

// A page directory longer than this is left out of checks: its files would not fit.
inline constexpr std::size_t kMaxCheckedPagePath = 250;

class PageWalk {
  public:
    explicit PageWalk(const store::PageTree& tree) : tree_(tree) {}

    // Starts below the item (NextPage's first call) and gives the first page.
    bool First(store::ItemId start, store::ItemRecord& page);
    // The next page; false when the walk is over.
    bool Next(store::ItemRecord& page);

  private:
    // The candidate after the item: its next sibling, or the next sibling of the first ancestor
    // that has one, without leaving the start's subtree; 0 at the end.
    store::ItemId After(store::ItemId item);
    bool FromCandidate(store::ItemId candidate, store::ItemRecord& page);

    const store::PageTree& tree_;
    store::ItemId start_ = 0;     // 0 once the walk is over
    store::ItemId position_ = 0;  // the last page given
};

}  // namespace velnora::fetch
