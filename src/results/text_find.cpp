#include "results/text_find.h"

#include <cstdint>

#include "results/characters.h"
#include "text/fold_tables.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

// A character of the text with its letter case folded: single bytes as they are with ASCII
// letters in lower case, two-byte characters as their code with full-width letters as capitals.
std::uint16_t FoldedCharacter(std::string_view text, std::size_t i, std::size_t size) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (size == 1) {
        return text::AsciiLower(byte);
    }
    auto second = static_cast<unsigned char>(text[i + 1]);
    return text::FullWidthCapital(static_cast<std::uint16_t>(byte << 8 | second));
}

// Whether the pattern occurs in the text at byte offset i, character for character.
bool MatchesAt(std::string_view text, std::size_t i, std::string_view pattern) {
    for (std::size_t j = 0; j < pattern.size();) {
        if (i >= text.size()) {
            return false;
        }
        std::size_t size = CharacterSize(pattern, j);
        if (CharacterSize(text, i) != size ||
            FoldedCharacter(text, i, size) != FoldedCharacter(pattern, j, size)) {
            return false;
        }
        i += size;
        j += size;
    }
    return true;
}

}  // namespace

std::optional<FoundRange> FindNoCase(const ResultDocument& document, std::size_t from,
                                     std::string_view pattern) {
    if (pattern.empty() || from >= document.Length()) {
        return std::nullopt;
    }
    std::string_view text = document.Text();
    std::size_t position = from;
    for (std::size_t i = document.ByteOffset(from); i < text.size(); ++position) {
        if (MatchesAt(text, i, pattern)) {
            return FoundRange{position, position + CountCharacters(pattern)};
        }
        i += CharacterSize(text, i);
    }
    return std::nullopt;
}

}  // namespace velnora::results
