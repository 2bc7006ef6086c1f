#pragma once

// Character references in extracted text. The extraction keeps them as the page wrote them;
// whoever reads the text for a person or a comparison decodes each line first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::processing {

// Replaces named and numeric references in place with Shift_JIS text. Never lengthens the line.
void DecodeCharRefs(std::string& line);

// The replacement of the first table row with this name (letter case significant).
std::optional<std::string_view> CharRefByName(std::string_view name);
// The replacement of the first table row, named or not, with this code.
std::optional<std::string_view> CharRefByCode(std::uint16_t code);

}  // namespace velnora::processing
