#include "search/past_log_search.h"

#include <algorithm>

#include "fetch/page_walk.h"
#include "fetch/reload.h"
#include "files/text_file.h"
#include "search/line_filter.h"
#include "search/normalise.h"
#include "search/texts.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "store/settings_files.h"

namespace velnora::search {

namespace {

// Appends the lines of one update text that hold the pattern; false when the search was
// cancelled. `folded` is the room for a line's folded form, kept from line to line.
bool SearchFile(const std::string& path, const SearchPattern& pattern,
                const std::atomic<bool>& cancel, std::u16string& folded,
                std::vector<std::string>& hits) {
    files::TextReader reader;
    if (!reader.Open(path)) {
        return true;
    }
    std::string line;
    while (reader.ReadLine(line)) {
        if (cancel.load(std::memory_order_relaxed)) {
            return false;
        }
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
        }
        if (!pattern.filter.MayContain(line)) {
            continue;
        }
        // The folded form ends at a NUL byte, as a stored line does.
        Normalise(line, folded);
        if (ContainsNormalised(folded, pattern.folded)) {
            line.resize(std::min(line.size(), line.find('\0')));
            hits.push_back(line);
        }
    }
    return true;
}

}  // namespace

SearchPattern::SearchPattern(std::string_view text)
    : folded([text] {
          std::u16string codes;
          Normalise(text, codes);
          return codes;
      }()),
      filter(folded) {}

std::vector<std::string> SearchPage(std::string_view page_directory, const SearchPattern& pattern,
                                    const std::atomic<bool>& cancel) {
    std::vector<std::string> hits;
    if (pattern.folded.empty()) {
        return hits;
    }
    std::u16string folded;
    int index = store::ReadLogIndex(page_directory);
    for (int j = 0; j < store::kLogSlots; ++j) {
        if (cancel.load(std::memory_order_relaxed)) {
            break;
        }
        auto path =
            store::PagePath(page_directory, store::UpdateFileName(store::SlotBefore(index, j)));
        if (path && !SearchFile(*path, pattern, cancel, folded, hits)) {
            break;
        }
    }
    return hits;
}

std::size_t SearchPastLogs(const store::PageTree& tree, store::ItemId item,
                           std::string_view search_text, const std::atomic<bool>& cancel,
                           SearchObserver& observer) {
    SearchPattern pattern(search_text);
    std::size_t count = 0;
    auto search = [&](const store::ItemRecord& page) {
        observer.SearchingPage(page);
        std::vector<std::string> hits = SearchPage(page.node.path, pattern, cancel);
        if (!hits.empty()) {
            count += hits.size();
            observer.PageHits(page, std::move(hits));
        }
    };

    store::ItemRecord record;
    const store::PageTree::Node* node = tree.Find(item);
    if (node == nullptr || tree.BuildTreeNode(item, record.node) != 0) {
        return 0;
    }
    if (node->kind == store::KIND_PAGE) {
        store::ReadPageSettings(record.node.path, record.settings);
        search(record);
        return count;
    }
    fetch::PageWalk walk(tree);
    store::ItemRecord page;
    for (bool found = walk.First(item, page); found && !cancel.load(std::memory_order_relaxed);
         found = walk.Next(page)) {
        search(page);
    }
    return count;
}

std::string SearchingText(std::string_view page_name) {
    return fetch::PageProgressText(kSearchingPrefix, page_name);
}

}  // namespace velnora::search
