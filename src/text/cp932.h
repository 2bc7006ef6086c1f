#pragma once

// Conversion between Shift_JIS (code page 932) and Unicode.
//
// The program keeps all of its text as Shift_JIS bytes; Unicode appears only at the edges: UTF-8
// and ISO-2022-JP bodies of pages, file names on disk, and the text of the widgets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::text {

// The Shift_JIS code of a UTF-16 code unit, from the main table or else the supplement
// (characters that pages write with code points other than the table's own). The code is below
// 0x100 for a single byte. Nothing when neither table has the code unit.
std::optional<std::uint16_t> FindShiftJis(std::uint16_t unit);

// Writes the code of a code unit as high byte and low byte (high byte 0 for a single byte), or
// the two bytes "??" when it has none.
void UnicodeToShiftJis(std::uint16_t unit, unsigned char out[2]);

// The UTF-16 code unit of a Shift_JIS code (a single byte below 0x100, or lead << 8 | second);
// nothing when the code stands for no character.
std::optional<std::uint16_t> ShiftJisToUnicode(std::uint16_t code);

// Whole-text conversions. The lenient forms put U+FFFD (towards Unicode) or "?" (towards
// Shift_JIS) in place of what has no counterpart, and count those places in *unmapped when
// given. The strict forms give nothing instead, for file names, which must never be mangled.
std::string ShiftJisToUtf8(std::string_view sjis, int* unmapped = nullptr);
std::string Utf8ToShiftJis(std::string_view utf8, int* unmapped = nullptr);
std::u16string ShiftJisToUtf16(std::string_view sjis, int* unmapped = nullptr);
std::string Utf16ToShiftJis(std::u16string_view utf16, int* unmapped = nullptr);
std::optional<std::string> ShiftJisToUtf8Strict(std::string_view sjis);
std::optional<std::string> Utf8ToShiftJisStrict(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t code);
// Decodes one UTF-8 character at text[i] and advances i; nothing for a malformed sequence
// (overlong forms, surrogates and values above U+10FFFF included), which is skipped one byte.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i);
// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);

}  // namespace velnora::text
