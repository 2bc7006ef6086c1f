#pragma once

// Shift_JIS byte classes. A byte in 0x81-0x9F or 0xE0-0xFC is the lead byte of a two-byte
// character; scans of paths and texts skip the byte after it, so that a backslash, a slash or a
// letter inside a character is never taken for a delimiter.

#include <cstddef>
#include <string_view>

namespace velnora::text {

constexpr bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool IsLeadByte(char byte) {
    return IsLeadByte(static_cast<unsigned char>(byte));
}

constexpr unsigned char AsciiLower(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// The largest position not above limit that does not fall between the two bytes of a character.
std::size_t CharacterBoundary(std::string_view text, std::size_t limit);

// Position of the first single-byte occurrence of byte, skipping second bytes of characters;
// npos when there is none.
std::size_t FindByte(std::string_view text, char byte, std::size_t from = 0);

// Position of the last single-byte occurrence of byte; npos when there is none.
std::size_t FindLastByte(std::string_view text, char byte);

// Compares two Shift_JIS texts with ASCII letters folded to lower case (second bytes of
// characters are compared as they are). Negative, zero or positive as strcmp.
int CompareNoCase(std::string_view a, std::string_view b);

inline bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

inline bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// The text without the spaces and tabs at its ends (neither byte is ever a second byte).
inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace velnora::text
