#include "results/text_find.h"

#include <cstdint>

#include "results/characters.h"
#include "text/fold_tables.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

// The small letter of a Greek (Α-Ω) or Cyrillic (А-Я) capital of Shift_JIS, whose small
// letters (α-ω, а-я) lie at fixed distances; Cyrillic small letters skip the code 0x847F,
// which is no character. Any other code as it is.
std::uint16_t GreekOrCyrillicSmall(std::uint16_t code) {
    if (code >= 0x839F && code <= 0x83B6) {
        return code + (0x83BF - 0x839F);
    }
    if (code >= 0x8440 && code <= 0x8460) {
        unsigned index = code - 0x8440;
        return static_cast<std::uint16_t>(index < 15 ? 0x8470 + index : 0x8480 + (index - 15));
    }
    return code;
}

// A character of the text with its letter case folded, as a find that knows the letters of
// every script does: single bytes as they are with ASCII letters in lower case; two-byte
// characters as their code, full-width Latin letters as capitals and Greek and Cyrillic
// letters as small letters.
std::uint16_t FoldedCharacter(std::string_view text, std::size_t i, std::size_t size) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (size == 1) {
        return text::AsciiLower(byte);
    }
    auto second = static_cast<unsigned char>(text[i + 1]);
    auto code = static_cast<std::uint16_t>(byte << 8 | second);
    return text::FullWidthCapital(GreekOrCyrillicSmall(code));
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

// Hands each occurrence from the position to `found`, which returns false to stop the scan.
template <typename Found>
void Scan(const ResultDocument& document, std::size_t from, std::string_view pattern,
          Found&& found) {
    if (pattern.empty() || from >= document.Length()) {
        return;
    }
    const std::size_t length = CountCharacters(pattern);
    std::string_view text = document.Text();
    std::size_t position = from;
    for (std::size_t i = document.ByteOffset(from); i < text.size(); ++position) {
        if (MatchesAt(text, i, pattern) && !found(FoundRange{position, position + length})) {
            return;
        }
        i += CharacterSize(text, i);
    }
}

}  // namespace

std::optional<FoundRange> FindNoCase(const ResultDocument& document, std::size_t from,
                                     std::string_view pattern) {
    std::optional<FoundRange> hit;
    Scan(document, from, pattern, [&](FoundRange range) {
        hit = range;
        return false;
    });
    return hit;
}

void ForEachNoCase(const ResultDocument& document, std::size_t from, std::string_view pattern,
                   const std::function<void(FoundRange)>& found) {
    Scan(document, from, pattern, [&](FoundRange range) {
        found(range);
        return true;
    });
}

}  // namespace velnora::results
