#pragma once

#include <cstddef>
#include <string_view>

namespace velnora::processing {

// The first place where pattern occurs in text, ASCII letters compared without regard to case;
// npos when there is none or either is empty.
std::size_t ContainsNoCase(std::string_view text, std::string_view pattern);

}  // namespace velnora::processing
