#pragma once

// The second pass of the comparison: the lines the alignment found are weeded (blank lines,
// digits-only lines, NG words, repeats) and searched for in the page's recent past logs; add.txt
// is rewritten with what remains.

#include <optional>
#include <string_view>

#include "processing/comparison_context.h"
#include "processing/file_failure.h"

namespace velnora::processing {

// Rewrites add_path with the candidates that survive the filters and the search of the past
// logs, starting at the current log index. A failure to read a past log that exists, or to
// write add_path, is returned; add_path is then left as the first pass wrote it.
[[nodiscard]] std::optional<FileFailure> FilterUpdateLines(std::string_view add_path,
                                                           int current_index,
                                                           const ComparisonContext& context);

}  // namespace velnora::processing
