#include "processing/text_search.h"

#include "text/shift_jis.h"

namespace velnora::processing {

std::size_t ContainsNoCase(std::string_view text, std::string_view pattern) {
    if (text.empty() || pattern.empty() || pattern.size() > text.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = 0; i + pattern.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < pattern.size() && text::AsciiLower(static_cast<unsigned char>(text[i + k])) ==
                                         text::AsciiLower(static_cast<unsigned char>(pattern[k]))) {
            ++k;
        }
        if (k == pattern.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace velnora::processing
