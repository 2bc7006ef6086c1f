#include "text/shift_jis.h"

namespace velnora::text {

std::size_t CharacterBoundary(std::string_view text, std::size_t limit) {
    std::size_t i = 0;
    while (i < limit && i < text.size()) {
        std::size_t step = IsLeadByte(text[i]) ? 2 : 1;
        if (i + step > limit) {
            break;
        }
        i += step;
    }
    return i < text.size() ? i : text.size();
}

std::size_t FindByte(std::string_view text, char byte, std::size_t from) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i >= from && text[i] == byte) {
            return i;
        }
        if (IsLeadByte(text[i])) {
            ++i;
        }
    }
    return std::string_view::npos;
}

std::size_t FindLastByte(std::string_view text, char byte) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == byte) {
            found = i;
        } else if (IsLeadByte(text[i])) {
            ++i;
        }
    }
    return found;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    bool second_byte = false;
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (!second_byte) {
            x = AsciiLower(x);
            y = AsciiLower(y);
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
        second_byte = !second_byte && IsLeadByte(x);
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace velnora::text
