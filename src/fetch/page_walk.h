#pragma once

// The walk of a check over the page tree: depth first, in the tree's order, below one item,
// yielding the pages that take part in automatic checks.

#include <algorithm>

#include "store/page_files.h"
#include "store/page_tree.h"
#include "store/records.h"
#include "text/bounded_string.h"

namespace velnora::fetch {

// The longest name of a file that a check writes or reads in a page directory.
inline constexpr std::size_t kLongestPageFileName =
    std::max({store::kSiteIni.size(), store::kResultIni.size(), store::kIndexFile.size(),
              store::kHeadFile.size(), store::kNewFile.size(), store::kAddFile.size(),
              store::kResponseFile.size(), store::kReceivingFile.size(),
              std::string_view("log24.txt").size(), std::string_view("add24.txt").size()});
// A page directory longer than this is left out of checks: not all of its files would fit in a
// path (the directory, a separator and the file's name).
inline constexpr std::size_t kMaxCheckedPagePath = text::kPathSize - 1 - 1 - kLongestPageFileName;

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
