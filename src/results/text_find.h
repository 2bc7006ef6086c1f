#pragma once

// Finding a text in the result pane as the find command and the keyword highlighting do: letter
// case is ignored (ASCII, full-width Latin, Greek and Cyrillic letters alike), any other character
// must be the same, and a match need not be a whole word. Matches start on characters.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "results/document.h"

namespace velnora::results {

struct FoundRange {
    std::size_t start = 0;  // character positions, end exclusive
    std::size_t end = 0;
};

// The first occurrence of the pattern that starts at or after the position; nothing when there
// is none or the pattern is empty.
std::optional<FoundRange> FindNoCase(const ResultDocument& document, std::size_t from,
                                     std::string_view pattern);
// Every occurrence that starts at or after the position, in order, in one pass; occurrences may
// overlap (each character may start one).
void ForEachNoCase(const ResultDocument& document, std::size_t from, std::string_view pattern,
                   const std::function<void(FoundRange)>& found);

}  // namespace velnora::results
