#include "processing/comparison.h"

namespace velnora::processing {

int CompareWithLatestLog(std::string_view, std::string_view, std::string_view,
                         const ComparisonContext&) {
    return 1;
}
void FilterUpdateLines(std::string_view, int, const ComparisonContext&) {}
bool LinesEqual(std::string_view a, std::string_view b, bool, bool) {
    return a == b;
}
void HideAttributeValues(std::string&, int) {}
void RestoreAttributeValues(std::string&) {}

}  // namespace velnora::processing
