#pragma once

// The absolute address of a link or image target, as the extracted text records it.

#include <string>
#include <string_view>

namespace velnora::processing {

// A value beginning with "http://", "https://" or "ftp://" (letter case ignored) is taken as it
// stands. Otherwise it is resolved against the base by RFC 3986 section 5.2 (a reference with a
// scheme of its own is absolute; a base that is not absolute with an authority leaves the value
// exactly as written). The result then has every byte up to 0x20 or from 0x7F, and each of
// " < > \ ^ ` { | }, written as %XX with upper-case hex ("%" and "#" stay). A result longer than
// 9,999 bytes gives the value unchanged.
std::string AbsoluteAddress(std::string_view value, std::string_view base);

}  // namespace velnora::processing
