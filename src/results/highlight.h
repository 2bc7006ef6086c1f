#pragma once

// Keyword highlighting of the result pane.

#include <cstddef>
#include <string_view>

#include "results/document.h"

namespace velnora::results {

// Highlights every occurrence of the keyword from the position to the end of the document
// (ResultDocument::Highlight: all are coloured, the first kMaxRecordedHighlights recorded).
// Letters match without regard to case: ASCII letters, and the full-width Latin, Greek and
// Cyrillic letters of Shift_JIS; other characters, both bytes of a double-byte character
// included, match exactly. Occurrences start on character boundaries and may overlap:
// the search goes on one character after the start of each. An empty keyword finds nothing.
void HighlightKeyword(ResultDocument& document, std::size_t from, std::string_view keyword);

}  // namespace velnora::results
