#include "search/line_filter.h"

#include <string.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "search/normalise.h"
#include "text/shift_jis.h"

namespace velnora::search {

LineFilter::Ways LineFilter::WaysOf(char16_t code) {
    Ways ways;
    std::u16string folded;
    for (int byte = 1; byte < 256; ++byte) {
        auto b = static_cast<char>(byte);
        if (text::IsLeadByte(b)) {
            continue;
        }
        // Alone, or as the first of a kana and its voiced or semi-voiced mark.
        for (std::string written :
             {std::string(1, b), std::string(1, b) + "\xDE", std::string(1, b) + "\xDF"}) {
            Normalise(written, folded);
            if (!folded.empty() && folded[0] == code) {
                ways.bytes.push_back(b);
                break;
            }
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!text::IsLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::array<char, 2> written = {static_cast<char>(lead), static_cast<char>(trail)};
            Normalise(std::string_view(written.data(), 2), folded);
            if (folded.size() == 1 && folded[0] == code) {
                ways.doubles.push_back(written);
            }
        }
    }
    return ways;
}

bool LineFilter::Ways::FoundIn(std::string_view line) const {
    for (char byte : bytes) {
        if (std::memchr(line.data(), byte, line.size()) != nullptr) {
            return true;
        }
    }
    for (const std::array<char, 2>& written : doubles) {
        if (::memmem(line.data(), line.size(), written.data(), 2) != nullptr) {
            return true;
        }
    }
    return false;
}

LineFilter::LineFilter(std::u16string_view pattern) {
    // A byte is found more often than a two-byte character: it counts as more ways.
    auto weight = [](const Ways& ways) { return ways.bytes.size() * 4 + ways.doubles.size(); };
    for (char16_t code : pattern) {
        Ways ways = WaysOf(code);
        if (!character_ || weight(ways) < weight(*character_)) {
            character_ = std::move(ways);
        }
    }
}

bool LineFilter::MayContain(std::string_view line) const {
    return !character_ || character_->FoundIn(line);
}

}  // namespace velnora::search
