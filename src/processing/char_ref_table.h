#pragma once

// The table of character references: the HTML 4 names the program knows, and numeric codes whose
// Shift_JIS form is not what the code page conversion gives (or that it cannot convert at all).

#include <cstdint>
#include <span>
#include <string_view>

namespace velnora::processing {

struct CharRefRow {
    std::string_view name;         // empty for rows that serve numeric references only
    std::uint16_t code;            // the Unicode code point the row stands for
    std::string_view replacement;  // Shift_JIS text of 1 to 4 bytes
};

// Searched in order; names are unique and so are codes. A code without a row is converted with
// UnicodeToShiftJis.
std::span<const CharRefRow> CharRefTable();

}  // namespace velnora::processing
