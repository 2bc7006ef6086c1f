#pragma once

// The alignment of two sides of lines (the latest past log and the new text): which lines of the
// new side have no counterpart on the old side.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velnora::processing {

struct AlignmentRules {
    bool ignore_number_diff = false;  // digits do not count (IGNORE_NUMBER_DIFF)
    bool skip_hidden = false;         // hidden attribute values do not count
};

// The new side's lines (1-based numbers, ascending) that a shortest edit script from the old
// side to the new side adds: their count is the new side's size less the length of a longest
// common subsequence, lines compared with LinesEqual. Each side holds at most kMaxCompareLines
// lines; both hold at least one.
std::vector<std::uint16_t> AlignLines(std::span<const std::string_view> old_lines,
                                      std::span<const std::string_view> new_lines,
                                      const AlignmentRules& rules);

}  // namespace velnora::processing
