#pragma once

// Base64 (RFC 4648 section 4 alphabet) as the Authorization line and the stored password form
// use it. Decoding never fails: it reads any text, so a damaged stored password still gives a
// defined (if wrong) result.

#include <string>
#include <string_view>

namespace velnora::fetch {

// ceil(8n / 6) characters, then "=" up to a multiple of four.
std::string EncodeBase64(std::string_view bytes);

// Takes the text in groups of four characters, the last group completed with "=". A character
// outside the alphabet ("=" among them) counts as 0. Each group gives three bytes, of which it
// keeps two when its fourth character is "=", and one when its third is "=" as well. The
// result is the first (sum of the kept counts) of the 3-bytes-per-group output, so that for
// well-formed text it is exactly the encoded bytes.
std::string DecodeBase64(std::string_view text);

}  // namespace velnora::fetch
