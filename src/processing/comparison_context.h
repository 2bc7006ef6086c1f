#pragma once

// What both passes of the comparison read: the page's settings, the program's
// IGNORE_IMAGE_NAME, and the run they belong to.

#include <atomic>
#include <string>

#include "processing/page_check.h"
#include "store/records.h"

namespace velnora::processing {

struct ComparisonContext {
    const store::PageSettings& settings;
    std::string page_directory;
    int ignore_image_name = 1;
    PipelineObserver& observer;
    const std::atomic<bool>& closing;
};

}  // namespace velnora::processing
