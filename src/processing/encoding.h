#pragma once

// The encodings a page body can be decoded from, and how they are named.

#include <optional>
#include <string_view>

namespace velnora::processing {

enum class Encoding : int {
    kShiftJis = 0,
    kIso2022Jp = 1,
    kEucJp = 2,
    kUtf8 = 3,
};

// The start encoding for a page's CHARSET_SEL: 2 ISO-2022-JP, 3 EUC-JP, 4 UTF-8, anything else
// (0 automatic, 1 Shift_JIS, out of range) Shift_JIS.
Encoding EncodingForCharsetSel(int charset_sel);

// The test of a header line or a meta tag token that contains "charset": "charset=euc-jp" or
// "charset=x-euc-jp" gives EUC-JP, else "charset=iso-2022-jp" ISO-2022-JP, else "charset=utf-8"
// UTF-8 (letter case ignored); any other text gives nothing.
std::optional<Encoding> CharsetInText(std::string_view text);

// An encoding named exactly (letter case ignored): "utf-8", "euc-jp", "iso-2022-jp", "x-euc-jp".
std::optional<Encoding> EncodingByName(std::string_view name);

}  // namespace velnora::processing
