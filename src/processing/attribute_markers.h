#pragma once

// Which attribute values a page's comparison passes over, and the line form it compares.
// HideAttributeValues and RestoreAttributeValues themselves are declared in comparison.h.

#include <string>

#include "processing/comparison.h"

namespace velnora::processing {

// Image sources are hidden with the program's IGNORE_IMAGE_NAME, link targets with the page's
// IGNORE_URL; LinesEqual then passes over hidden values.
bool HidesAttributeValues(const ComparisonContext& context);

// The form of a line that the comparison looks at: its attribute values hidden as above.
void HideForComparison(std::string& line, const ComparisonContext& context);

}  // namespace velnora::processing
