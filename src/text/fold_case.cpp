#include <algorithm>

#include "text/fold_tables.h"

namespace velnora::text {

std::uint16_t FullWidthCapitalFromTable(std::uint16_t code) {
    const FoldPair* first = kFullWidthUpperCase;
    const FoldPair* last = kFullWidthUpperCase + kFullWidthUpperCaseCount;
    const FoldPair* found = std::lower_bound(
        first, last, code,
        [](const FoldPair& pair, std::uint16_t value) { return pair.from < value; });
    return found != last && found->from == code ? found->to : code;
}

}  // namespace velnora::text
