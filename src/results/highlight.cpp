#include "results/highlight.h"

#include "results/text_find.h"

namespace velnora::results {

void HighlightKeyword(ResultDocument& document, std::size_t from, std::string_view keyword) {
    // Occurrences may overlap: each character may start one.
    ForEachNoCase(document, from, keyword,
                  [&](FoundRange hit) { document.Highlight(hit.start, hit.end); });
}

}  // namespace velnora::results
