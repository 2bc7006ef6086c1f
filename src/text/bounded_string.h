#pragma once

// Bounded string routines. Every path, URL and short text of the program is built against the
// size of the fixed buffer that the stored formats were designed around; a result that would not
// fit is refused instead of being cut, and the caller gives up rather than work on a cut path.
//
// "size" is the buffer size including the terminating zero, so a buffer of size 261 holds at
// most 260 bytes. Each routine returns 0, or -1 when the result would not fit.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velnora::text {

inline constexpr std::size_t kPathSize = 261;  // at most 260 bytes of path
inline constexpr std::size_t kUrlSize = 2101;  // at most 2100 bytes of URL
inline constexpr std::size_t kWordSize = 65;   // keywords, NG words, markers, account fields

// Replaces the buffer with text. A refused copy leaves the buffer unchanged.
int BoundedCopy(std::string& buffer, std::size_t size, std::string_view text);

// Appends text. A refused append leaves the buffer unchanged.
int BoundedAppend(std::string& buffer, std::size_t size, std::string_view text);

// Appends at most n bytes of text.
int BoundedAppendN(std::string& buffer, std::size_t size, std::string_view text, std::size_t n);

// Appends the pieces in order; at the first piece that does not fit it stops with -1, keeping
// the pieces already appended.
int BoundedAppendAll(std::string& buffer, std::size_t size,
                     std::initializer_list<std::string_view> texts);

// Empties the buffer, then appends the pieces as BoundedAppendAll does.
int BoundedJoin(std::string& buffer, std::size_t size,
                std::initializer_list<std::string_view> texts);

// Text as a buffer of the given size holds it when read from a file: at most size - 1 bytes, and
// never the lead byte of a double-byte character without its second byte.
std::string CutToBuffer(std::string_view text, std::size_t size);

}  // namespace velnora::text
