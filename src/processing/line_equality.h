#pragma once

// The equality of lines that the comparison uses, and a key that lets a search skip most of the
// lines that cannot be equal.

#include <cstdint>
#include <string_view>

namespace velnora::processing {

// Line equality of the comparison: spaces never count; with ignore_number_diff digits do not
// either; with skip_hidden an attribute value hidden by HideAttributeValues is passed over.
bool LinesEqual(std::string_view a, std::string_view b, bool ignore_number_diff, bool skip_hidden);

// Equal lines have equal keys: the key is made from the bytes that LinesEqual compares, and
// from whether anything that it passes over follows the last of them. Different keys therefore
// mean different lines; equal keys still need LinesEqual.
std::uint64_t LineKey(std::string_view line, bool ignore_number_diff, bool skip_hidden);

}  // namespace velnora::processing
