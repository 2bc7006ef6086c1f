#include "results/highlight.h"

#include "results/characters.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

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
        } else if (text.compare(i, 2, keyword, j, 2) != 0) {
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
