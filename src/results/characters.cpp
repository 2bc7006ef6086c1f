#include "results/characters.h"

#include "text/shift_jis.h"

namespace velnora::results {

std::size_t CharacterSize(std::string_view text, std::size_t i) {
    if (text::IsLeadByte(text[i]) && i + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
        return 2;
    }
    return 1;
}

std::size_t CountCharacters(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += CharacterSize(text, i)) {
        ++count;
    }
    return count;
}

std::size_t ByteOffsetOf(std::string_view text, std::size_t position) {
    std::size_t i = 0;
    for (; position > 0 && i < text.size(); --position) {
        i += CharacterSize(text, i);
    }
    return i;
}

bool HasLoneLeadByte(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text::IsLeadByte(text[i])) {
            if (CharacterSize(text, i) == 1) {
                return true;
            }
            ++i;
        }
    }
    return false;
}

void MendLoneLeadBytes(std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text::IsLeadByte(text[i])) {
            if (CharacterSize(text, i) == 1) {
                text[i] = '?';
            } else {
                ++i;
            }
        }
    }
}

}  // namespace velnora::results
