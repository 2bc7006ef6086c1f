#pragma once

// Keyword highlighting of the result pane.

#include <cstddef>
#include <string_view>

#include "results/document.h"

namespace velnora::results {

// Highlights every occurrence of the keyword from the position to the end of the document
// (ResultDocument::Highlight: all are coloured, the first kMaxRecordedHighlights recorded).
// Matches as the find command finds (text_find.h); occurrences may overlap. An empty keyword
// finds nothing.
void HighlightKeyword(ResultDocument& document, std::size_t from, std::string_view keyword);

}  // namespace velnora::results
