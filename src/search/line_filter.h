#pragma once

// A quick test that rules out most lines before they are folded. One character of the folded
// pattern is chosen, the one written in the fewest ways; a line that holds the pattern holds one
// of the ways that character is written (a single byte, possibly before a voiced mark, or a
// two-byte character), so a line that holds none of them is passed over without folding it. A
// line that passes may still not hold the pattern: it is then folded and searched. (Testing every
// character of the pattern costs more in scans than it saves in folding.)

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace velnora::search {

class LineFilter {
  public:
    // `pattern` is a folded pattern (normalise.h). An empty one passes every line.
    explicit LineFilter(std::u16string_view pattern);

    // False only when the line cannot hold the pattern.
    bool MayContain(std::string_view line) const;

  private:
    // The ways one character of the pattern is written.
    struct Ways {
        std::vector<char> bytes;
        std::vector<std::array<char, 2>> doubles;
        bool FoundIn(std::string_view line) const;
    };
    static Ways WaysOf(char16_t code);

    // The chosen character; none for an empty pattern.
    std::optional<Ways> character_;
};

}  // namespace velnora::search
