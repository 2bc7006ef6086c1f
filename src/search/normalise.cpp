#include "search/normalise.h"

#include <cstdint>

#include "text/fold_tables.h"
#include "text/shift_jis.h"

namespace velnora::search {

namespace {

constexpr std::uint16_t kLongVowelMark = 0x815B;  // ー
constexpr std::uint16_t kFullWidthMinus =
    0x817C;  // －, the folded form of every long vowel and minus
constexpr std::uint16_t kFullWidthVu = 0x8394;  // ヴ

constexpr unsigned char kHalfWidthVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kHalfWidthSemiVoicedMark = 0xDF;  // ﾟ
constexpr unsigned char kHalfWidthU = 0xB3;               // ｳ
constexpr unsigned char kHalfWidthLongVowelMark = 0xB0;   // ｰ

// The half-width kana that take the voiced mark (ｶ to ﾄ, and ﾊ to ﾎ, which also take the
// semi-voiced mark). Their voiced forms follow their full-width forms in the code page: + 1 for
// voiced, + 2 for semi-voiced.
constexpr bool TakesSemiVoicedMark(unsigned char byte) {
    return byte >= 0xCA && byte <= 0xCE;
}

constexpr bool TakesVoicedMark(unsigned char byte) {
    return (byte >= 0xB6 && byte <= 0xC4) || TakesSemiVoicedMark(byte);
}

std::uint16_t FoldDouble(std::uint16_t code) {
    return code == kLongVowelMark ? kFullWidthMinus : text::FullWidthCapital(code);
}

}  // namespace

void Normalise(std::string_view text, std::u16string& out) {
    out.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        unsigned char byte = bytes[i];
        unsigned char next = i + 1 < size ? bytes[i + 1] : 0;
        std::uint16_t code = 0;
        std::size_t used = 1;
        if (text::IsLeadByte(byte)) {
            if (next == 0) {
                return;  // a lead byte without its second byte
            }
            code = FoldDouble(static_cast<std::uint16_t>(byte << 8 | next));
            used = 2;
        } else if (next == kHalfWidthVoicedMark && byte == kHalfWidthU) {
            code = kFullWidthVu;
            used = 2;
        } else if (next == kHalfWidthVoicedMark && TakesVoicedMark(byte)) {
            code = static_cast<std::uint16_t>(text::kSingleByteFullWidth[byte] + 1);
            used = 2;
        } else if (next == kHalfWidthSemiVoicedMark && TakesSemiVoicedMark(byte)) {
            code = static_cast<std::uint16_t>(text::kSingleByteFullWidth[byte] + 2);
            used = 2;
        } else if (byte == kHalfWidthLongVowelMark || byte == '-') {
            code = kFullWidthMinus;
        } else {
            code = text::kSingleByteFullWidth[byte];
            if (code == 0) {
                return;  // no full-width form: the searchable part ends here
            }
        }
        out.push_back(static_cast<char16_t>(code));
        i += used;
    }
}

bool ContainsNormalised(std::u16string_view text, std::u16string_view pattern) {
    return !pattern.empty() && text.find(pattern) != std::u16string_view::npos;
}

}  // namespace velnora::search
