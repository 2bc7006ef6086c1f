#pragma once

// Character positions of the result pane. A Shift_JIS double-byte character (a lead byte and a
// trail byte) counts as one position; every other byte, a line feed included, counts as one.

#include <cstddef>
#include <string>
#include <string_view>

namespace velnora::results {

constexpr bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Bytes of the character at offset i: 2 for a lead byte followed by a trail byte, else 1.
std::size_t CharacterSize(std::string_view text, std::size_t i);

// Characters in text.
std::size_t CountCharacters(std::string_view text);

// The byte offset at which character number `position` begins (text.size() when the text has no
// more characters).
std::size_t ByteOffsetOf(std::string_view text, std::size_t position);

// True when some lead byte of the text has no trail byte after it.
bool HasLoneLeadByte(std::string_view text);

// Replaces every lead byte that has no trail byte after it with '?'. A text so mended splits into
// the same characters on its own as inside any longer text, so positions never shift when texts
// are joined.
void MendLoneLeadBytes(std::string& text);

}  // namespace velnora::results
