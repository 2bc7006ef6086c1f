#pragma once

#include <string>
#include <string_view>

namespace velnora::test {

// The Shift_JIS bytes of a UTF-8 literal, so that tests can write Japanese text readably.
std::string Sjis(std::string_view utf8);

// The UTF-8 form of Shift_JIS bytes, for readable failure messages.
std::string Utf8(std::string_view sjis);

}  // namespace velnora::test
