#pragma once

// The past-log search: the stored update texts of one page, or of every page under a folder,
// searched for a text in the folded form (normalise.h). It reads the page files itself and knows
// no widgets: the window runs it on a worker thread, velnora-cli on its own thread.
//
// For each page, the 25 update texts of its log ring are read newest first (the slot of
// index.txt, then back round the ring); a missing or unreadable one is passed over. A line is
// searched as it is stored, markup and character references included, up to its first
// character without a full-width form (a tab ends the searchable part). The lines that hold the
// text are handed on per page, in the order found.

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/line_filter.h"
#include "store/page_tree.h"
#include "store/records.h"

namespace velnora::search {

// Search texts longer than this (bytes of Shift_JIS) are refused by the dialog and the command
// line.
inline constexpr std::size_t kMaxSearchTextBytes = 128;

// What a search reports, on the thread that runs it.
class SearchObserver {
  public:
    virtual ~SearchObserver() = default;
    // The page is about to be searched.
    virtual void SearchingPage(const store::ItemRecord& page) = 0;
    // The lines of the page that hold the text (at least one), each without its line feed.
    virtual void PageHits(const store::ItemRecord& page, std::vector<std::string> lines) = 0;
};

// A search text folded, with its line filter: made once for a whole search.
struct SearchPattern {
    explicit SearchPattern(std::string_view text);

    std::u16string folded;
    LineFilter filter;
};

// The lines of the page's update texts that hold the pattern, newest text first, lines in file
// order. Stops between lines when `cancel` is set, keeping what it found.
std::vector<std::string> SearchPage(std::string_view page_directory, const SearchPattern& pattern,
                                    const std::atomic<bool>& cancel);

// Searches the item: a page alone (its settings read from its site.ini), or every page that the
// check's walk yields below a folder or the root, in the walk's order (pages and folders left
// out of automatic checks are left out here too). Stops when `cancel` is set. Returns the number
// of lines found.
std::size_t SearchPastLogs(const store::PageTree& tree, store::ItemId item,
                           std::string_view search_text, const std::atomic<bool>& cancel,
                           SearchObserver& observer);

// 検索中 "name"...: the status bar text while a page is searched (the name cut to 100 bytes).
std::string SearchingText(std::string_view page_name);

}  // namespace velnora::search
