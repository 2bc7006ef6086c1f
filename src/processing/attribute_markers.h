#pragma once

// Hidden attribute values: which attribute values a page's comparison passes over, how they are
// marked in a line, and the line form the comparison looks at.

#include <string>

#include "processing/comparison_context.h"

namespace velnora::processing {

// Marks the value of every src (mode 0, in img tags) or href (mode 1, in tags beginning with a)
// attribute so that LinesEqual passes over it; RestoreAttributeValues undoes it exactly.
void HideAttributeValues(std::string& line, int mode);
void RestoreAttributeValues(std::string& line);

// Image sources are hidden with the program's IGNORE_IMAGE_NAME, link targets with the page's
// IGNORE_URL; LinesEqual then passes over hidden values.
bool HidesAttributeValues(const ComparisonContext& context);

// The form of a line that the comparison looks at: its attribute values hidden as above.
void HideForComparison(std::string& line, const ComparisonContext& context);

}  // namespace velnora::processing
