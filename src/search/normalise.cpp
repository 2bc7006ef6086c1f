#include "search/normalise.h"

#include <array>
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

// What a byte needs to be folded.
enum class ByteKind : unsigned char {
    kSingle,        // its full-width form, or the end of the searchable part when it has none
    kLead,          // the lead byte of a two-byte character
    kVoicable,      // ｶ to ﾄ: one character with a following voiced mark
    kSemiVoicable,  // ﾊ to ﾎ: one character with a following voiced or semi-voiced mark
    kU,             // ｳ: ヴ with a following voiced mark
    kMinus,         // ｰ and -: the full-width minus
};

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int byte = 0; byte < 256; ++byte) {
        auto b = static_cast<unsigned char>(byte);
        if (text::IsLeadByte(b)) {
            kinds[b] = ByteKind::kLead;
        } else if (b >= 0xB6 && b <= 0xC4) {
            kinds[b] = ByteKind::kVoicable;
        } else if (b >= 0xCA && b <= 0xCE) {
            kinds[b] = ByteKind::kSemiVoicable;
        } else if (b == kHalfWidthU) {
            kinds[b] = ByteKind::kU;
        } else if (b == kHalfWidthLongVowelMark || b == '-') {
            kinds[b] = ByteKind::kMinus;
        }
    }
    return kinds;
}();

std::uint16_t FoldDouble(std::uint16_t code) {
    return code == kLongVowelMark ? kFullWidthMinus : text::FullWidthCapital(code);
}

}  // namespace

std::size_t Normalise(std::string_view text, char16_t* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    char16_t* code = out;
    std::size_t i = 0;
    while (i < size) {
        unsigned char byte = bytes[i];
        ByteKind kind = kByteKinds[byte];
        if (kind == ByteKind::kSingle) {  // most bytes: no look at the next one
            std::uint16_t wide = text::kSingleByteFullWidth[byte];
            if (wide == 0) {
                break;  // no full-width form: the searchable part ends here
            }
            *code++ = static_cast<char16_t>(wide);
            ++i;
            continue;
        }
        unsigned char next = i + 1 < size ? bytes[i + 1] : 0;
        // Voiced kana take their mark: their voiced forms follow their full-width forms in the
        // code page, + 1 for voiced and + 2 for semi-voiced.
        std::uint16_t add = 0;
        switch (kind) {
            case ByteKind::kLead:
                if (next == 0) {
                    return static_cast<std::size_t>(code - out);  // no second byte
                }
                *code++ =
                    static_cast<char16_t>(FoldDouble(static_cast<std::uint16_t>(byte << 8 | next)));
                i += 2;
                continue;
            case ByteKind::kMinus:
                *code++ = kFullWidthMinus;
                ++i;
                continue;
            case ByteKind::kU:
                if (next == kHalfWidthVoicedMark) {
                    *code++ = kFullWidthVu;
                    i += 2;
                    continue;
                }
                break;
            case ByteKind::kSemiVoicable:
                add = next == kHalfWidthSemiVoicedMark ? 2 : 0;
                [[fallthrough]];
            case ByteKind::kVoicable:
                add = next == kHalfWidthVoicedMark ? 1 : add;
                break;
            case ByteKind::kSingle:
                break;
        }
        // Half-width kana all have full-width forms.
        *code++ = static_cast<char16_t>(text::kSingleByteFullWidth[byte] + add);
        i += add != 0 ? 2 : 1;
    }
    return static_cast<std::size_t>(code - out);
}

void Normalise(std::string_view text, std::u16string& out) {
    out.resize(text.size());
    out.resize(Normalise(text, out.data()));
}

bool ContainsNormalised(std::u16string_view text, std::u16string_view pattern) {
    return !pattern.empty() && text.find(pattern) != std::u16string_view::npos;
}

}  // namespace velnora::search
