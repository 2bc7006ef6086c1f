#include "text/cp932.h"

#include <algorithm>
#include <array>

#include "text/cp932_tables.h"
#include "text/shift_jis.h"

namespace velnora::text {

namespace {

// Characters that pages write with code points other than the table's own.
constexpr std::array<CodePair, 7> kSupplement{{
    {0x8191, 0x00A2},  // cent sign
    {0x8192, 0x00A3},  // pound sign
    {0x81CA, 0x00AC},  // not sign
    {0x815C, 0x2014},  // em dash
    {0x8161, 0x2016},  // double vertical line
    {0x817C, 0x2212},  // minus sign
    {0x8160, 0x301C},  // wave dash
}};

// First entry whose code unit is not below the key, as a binary search over a sorted table.
template <typename Table>
std::optional<std::uint16_t> Search(const Table& table, std::size_t count, std::uint16_t unit) {
    std::size_t low = 0;
    std::size_t high = count - 1;
    while (low < high) {
        std::size_t middle = (low + high) / 2;
        if (table[middle].unit < unit) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (table[low].unit == unit) {
        return table[low].code;
    }
    return std::nullopt;
}

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one Shift_JIS character at text[i]; advances i. Nothing when unmapped.
std::optional<std::uint16_t> DecodeAt(std::string_view text, std::size_t& i) {
    auto byte = static_cast<unsigned char>(text[i]);
    ++i;
    if (byte == 0) {
        return std::uint16_t{0};
    }
    if (!IsLeadByte(byte)) {
        return ShiftJisToUnicode(byte);
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    auto second = static_cast<unsigned char>(text[i]);
    ++i;
    return ShiftJisToUnicode(static_cast<std::uint16_t>(byte << 8 | second));
}

// Appends the Shift_JIS form of a code point; false when it has none.
bool AppendShiftJis(std::string& out, char32_t c) {
    if (c == 0) {
        out.push_back('\0');
        return true;
    }
    if (c > 0xFFFF) {
        return false;
    }
    auto code = FindShiftJis(static_cast<std::uint16_t>(c));
    if (!code) {
        return false;
    }
    if (*code >= 0x100) {
        out.push_back(static_cast<char>(*code >> 8));
    }
    out.push_back(static_cast<char>(*code & 0xFF));
    return true;
}

void Count(int* unmapped) {
    if (unmapped != nullptr) {
        ++*unmapped;
    }
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i) {
    auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    std::size_t start = i;
    for (int k = 1; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            i = start;
            return std::nullopt;
        }
        value = value << 6 | (static_cast<unsigned char>(text[i]) & 0x3F);
        ++i;
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        i = start;
        return std::nullopt;
    }
    return value;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (!NextUtf8(bytes, i)) {
            return false;
        }
    }
    return true;
}

std::optional<std::uint16_t> FindShiftJis(std::uint16_t unit) {
    if (auto code = Search(kUnicodeToShiftJisMain, kUnicodeToShiftJisMainCount, unit)) {
        return code;
    }
    return Search(kSupplement, kSupplement.size(), unit);
}

void UnicodeToShiftJis(std::uint16_t unit, unsigned char out[2]) {
    if (auto code = FindShiftJis(unit)) {
        out[0] = static_cast<unsigned char>(*code >> 8);
        out[1] = static_cast<unsigned char>(*code & 0xFF);
    } else {
        out[0] = '?';
        out[1] = '?';
    }
}

std::optional<std::uint16_t> ShiftJisToUnicode(std::uint16_t code) {
    if (code < 0x100) {
        if (code == 0) {
            return std::uint16_t{0};
        }
        std::uint16_t unit = kShiftJisSingleToUnicode[code];
        return unit != 0 ? std::optional<std::uint16_t>(unit) : std::nullopt;
    }
    int lead = code >> 8;
    int trail = code & 0xFF;
    int row = lead <= 0x9F ? lead - kFirstLeadBlock : lead - kSecondLeadBlock + 31;
    if (!IsLeadByte(static_cast<unsigned char>(lead)) || trail < kFirstTrail ||
        trail >= kFirstTrail + kTrailColumns) {
        return std::nullopt;
    }
    std::uint16_t unit = kShiftJisDoubleToUnicode[row][trail - kFirstTrail];
    return unit != 0 ? std::optional<std::uint16_t>(unit) : std::nullopt;
}

std::string ShiftJisToUtf8(std::string_view sjis, int* unmapped) {
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t i = 0; i < sjis.size();) {
        auto unit = DecodeAt(sjis, i);
        if (!unit) {
            Count(unmapped);
        }
        AppendUtf8(out, unit ? *unit : kReplacement);
    }
    return out;
}

std::u16string ShiftJisToUtf16(std::string_view sjis, int* unmapped) {
    std::u16string out;
    out.reserve(sjis.size());
    for (std::size_t i = 0; i < sjis.size();) {
        auto unit = DecodeAt(sjis, i);
        if (!unit) {
            Count(unmapped);
        }
        out.push_back(unit ? static_cast<char16_t>(*unit) : kReplacement);
    }
    return out;
}

std::string Utf8ToShiftJis(std::string_view utf8, int* unmapped) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto c = NextUtf8(utf8, i);
        if (!c || !AppendShiftJis(out, *c)) {
            Count(unmapped);
            out.push_back('?');
        }
    }
    return out;
}

std::string Utf16ToShiftJis(std::u16string_view utf16, int* unmapped) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i;  // a character beyond the Basic Multilingual Plane has no Shift_JIS form
            Count(unmapped);
            out.push_back('?');
            continue;
        }
        if ((unit >= 0xD800 && unit <= 0xDFFF) || !AppendShiftJis(out, unit)) {
            Count(unmapped);
            out.push_back('?');
        }
    }
    return out;
}

std::optional<std::string> ShiftJisToUtf8Strict(std::string_view sjis) {
    int unmapped = 0;
    std::string out = ShiftJisToUtf8(sjis, &unmapped);
    if (unmapped != 0) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> Utf8ToShiftJisStrict(std::string_view utf8) {
    int unmapped = 0;
    std::string out = Utf8ToShiftJis(utf8, &unmapped);
    if (unmapped != 0) {
        return std::nullopt;
    }
    return out;
}

}  // namespace velnora::text
