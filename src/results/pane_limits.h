#pragma once

// The fixed sizes of the result pane. The text itself has no limit: a long check shows
// everything it found.

#include <cstddef>

namespace velnora::results {

// Page blocks whose start is recorded for the block jumps; later blocks are shown but not listed.
inline constexpr std::size_t kMaxBlockStarts = 2000;

// Keyword occurrences recorded for "next highlight"; later ones are coloured but not recorded.
inline constexpr std::size_t kMaxRecordedHighlights = 1000;

// Bytes of a link target kept by the line renderer.
inline constexpr std::size_t kMaxLinkTargetBytes = 65535;

// While a page's file is shown, the status bar counts the lines from this line on, every
// kProgressEveryLines lines.
inline constexpr int kProgressFromLine = 100;
inline constexpr int kProgressEveryLines = 10;

}  // namespace velnora::results
