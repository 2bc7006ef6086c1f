#include "results/highlight.h"

#include "results/text_find.h"

namespace velnora::results {

void HighlightKeyword(ResultDocument& document, std::size_t from, std::string_view keyword) {
    // Occurrences may overlap: the search goes on one character after the start of each.
    for (auto hit = FindNoCase(document, from, keyword); hit;
         hit = FindNoCase(document, hit->start + 1, keyword)) {
        document.Highlight(hit->start, hit->end);
    }
}

}  // namespace velnora::results
