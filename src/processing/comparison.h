#pragma once

// Which lines of a page's new text are new: the alignment with the latest past log, then the
// filter against blank lines, NG words, the number rules, repeats and the older past logs.

#include <atomic>
#include <string>
#include <string_view>

#include "processing/page_check.h"
#include "store/records.h"

namespace velnora::processing {

// What both passes read: the page's settings, the program's IGNORE_IMAGE_NAME, and the run.
struct ComparisonContext {
    const store::PageSettings& settings;
    std::string page_directory;
    int ignore_image_name = 1;
    PipelineObserver& observer;
    const std::atomic<bool>& closing;
};

// First pass: writes the lines of new_text that the alignment with latest_log leaves unmatched
// to add_path. 0 when the alignment ran; 1 when new_text cannot be opened or one side has no
// lines; 2 when latest_log cannot be opened.
int CompareWithLatestLog(std::string_view latest_log, std::string_view new_text,
                         std::string_view add_path, const ComparisonContext& context);

// Second pass: rewrites add_path with the candidates that survive the filters and the search of
// the past logs, starting at the current log index.
void FilterUpdateLines(std::string_view add_path, int current_index,
                       const ComparisonContext& context);

// Line equality of the comparison: spaces never count; with ignore_number_diff digits do not
// either; with skip_hidden an attribute value hidden by HideAttributeValues is passed over.
bool LinesEqual(std::string_view a, std::string_view b, bool ignore_number_diff, bool skip_hidden);

// Marks the value of every src (mode 0, in img tags) or href (mode 1, in tags beginning with a)
// attribute so that LinesEqual passes over it; RestoreAttributeValues undoes it exactly.
void HideAttributeValues(std::string& line, int mode);
void RestoreAttributeValues(std::string& line);

}  // namespace velnora::processing
