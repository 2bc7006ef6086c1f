#include "results/highlight.h"

#include "results/characters.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

// The lower-case form of a double-byte Shift_JIS code for the letters that have cases:
// full-width Latin (Ａ-Ｚ), Greek (Α-Ω) and Cyrillic (А-Я, whose small letters skip the code
// 0x847F, which is no character). Other codes are returned unchanged.
unsigned FoldDoubleByte(unsigned code) {
    if (code >= 0x8260 && code <= 0x8279) {
        return code + (0x8281 - 0x8260);
    }
    if (code >= 0x839F && code <= 0x83B6) {
        return code + (0x83BF - 0x839F);
    }
    if (code >= 0x8440 && code <= 0x8460) {
        unsigned index = code - 0x8440;
        return index < 15 ? 0x8470 + index : 0x8480 + (index - 15);
    }
    return code;
}

unsigned DoubleByteAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(text[i])) << 8 |
           static_cast<unsigned char>(text[i + 1]);
}

// Whether the keyword occurs in the text at byte offset i, character for character.
bool MatchesAt(std::string_view text, std::size_t i, std::string_view keyword) {
    for (std::size_t j = 0; j < keyword.size();) {
        if (i >= text.size()) {
            return false;
        }
        std::size_t size = CharacterSize(keyword, j);
        if (CharacterSize(text, i) != size) {
            return false;
        }
        if (size == 1) {
            if (text::AsciiLower(static_cast<unsigned char>(text[i])) !=
                text::AsciiLower(static_cast<unsigned char>(keyword[j]))) {
                return false;
            }
        } else if (FoldDoubleByte(DoubleByteAt(text, i)) !=
                   FoldDoubleByte(DoubleByteAt(keyword, j))) {
            return false;
        }
        i += size;
        j += size;
    }
    return true;
}

}  // namespace

void HighlightKeyword(ResultDocument& document, std::size_t from, std::string_view keyword) {
    if (keyword.empty() || from >= document.Length()) {
        return;
    }
    std::size_t keyword_length = CountCharacters(keyword);
    std::string_view text = document.Text();
    std::size_t position = from;
    for (std::size_t i = document.ByteOffset(from); i < text.size(); ++position) {
        if (MatchesAt(text, i, keyword)) {
            document.Highlight(position, position + keyword_length);
        }
        i += CharacterSize(text, i);
    }
}

}  // namespace velnora::results
