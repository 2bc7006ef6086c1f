#pragma once

// The text of files and drops from other programs, as UTF-8: they write UTF-8 (or UTF-16 with a
// byte order mark); older Japanese files are Shift_JIS.

#include <string>
#include <string_view>

namespace velnora::imports {

// The bytes as UTF-8: a UTF-16 text with its byte order mark converted, a UTF-8 byte order
// mark removed; other bytes kept as they are.
std::string WithoutByteOrderMark(std::string_view bytes);

// The text as UTF-8: WithoutByteOrderMark, then bytes that are no UTF-8 read as Shift_JIS.
std::string TextAsUtf8(std::string_view bytes);

// UTF-16 bytes (little-endian unless a byte order mark says otherwise) as UTF-8.
std::string Utf16AsUtf8(std::string_view bytes);

}  // namespace velnora::imports
