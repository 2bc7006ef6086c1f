#pragma once

// The first pass of the comparison: the new text aligned with the latest past log, over the part
// of each that the check area and the ignore area allow; the lines of the new text left
// unmatched become the candidates of add.txt.

#include <optional>
#include <string_view>

#include "processing/comparison_context.h"
#include "processing/file_failure.h"

namespace velnora::processing {

struct FirstPassResult {
    enum Code : int {
        kAligned = 0,          // the alignment ran
        kNoNewTextOrSide = 1,  // the new text cannot be opened, or one side holds no line
        kNoLatestLog = 2,      // the latest past log cannot be opened
    };
    Code code = kAligned;
    // A file that exists but could not be read, or add.txt that could not be written.
    std::optional<FileFailure> failure;
};

// Writes the lines of new_text that the alignment with latest_log leaves unmatched to add_path.
[[nodiscard]] FirstPassResult CompareWithLatestLog(std::string_view latest_log,
                                                   std::string_view new_text,
                                                   std::string_view add_path,
                                                   const ComparisonContext& context);

}  // namespace velnora::processing
