#include "processing/line_equality.h"

#include "processing/comparison.h"

namespace velnora::processing {

namespace {

bool IsIgnorable(char c, bool ignore_number_diff) {
    return c == ' ' || (ignore_number_diff && c >= '0' && c <= '9');
}

// Moves a cursor over what the comparison passes over: blanks (and digits), then a hidden
// attribute value up to and including its closing marker, then blanks (and digits) again.
std::size_t Skip(std::string_view line, std::size_t at, bool ignore_number_diff, bool skip_hidden) {
    while (at < line.size() && IsIgnorable(line[at], ignore_number_diff)) {
        ++at;
    }
    if (skip_hidden && at < line.size() && (line[at] == 0x01 || line[at] == 0x02)) {
        std::size_t close = line.find('\x03', at + 1);
        at = close == std::string_view::npos ? line.size() : close + 1;
        while (at < line.size() && IsIgnorable(line[at], ignore_number_diff)) {
            ++at;
        }
    }
    return at;
}

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

}  // namespace

// Bytes are passed over only while both lines still have bytes left, so "abc" differs from
// "abc " and, with the digits flag, from "abc1", while "abc1" equals "abc2".
bool LinesEqual(std::string_view a, std::string_view b, bool ignore_number_diff, bool skip_hidden) {
    if (a.empty() || b.empty()) {
        return a.empty() && b.empty();
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        i = Skip(a, i, ignore_number_diff, skip_hidden);
        j = Skip(b, j, ignore_number_diff, skip_hidden);
        if (i == a.size() || j == b.size()) {
            break;
        }
        if (a[i] != b[j]) {
            return false;
        }
        ++i;
        ++j;
    }
    return i == a.size() && j == b.size();
}

// LinesEqual walks each line on its own and compares the bytes it stops on; it ends equal when
// both lines gave the same bytes and both, or neither, still had something to pass over at the
// end. The key hashes exactly those two things.
std::uint64_t LineKey(std::string_view line, bool ignore_number_diff, bool skip_hidden) {
    std::uint64_t hash = kFnvOffset;
    std::size_t at = 0;
    bool trailing = false;
    while (at < line.size()) {
        at = Skip(line, at, ignore_number_diff, skip_hidden);
        if (at == line.size()) {
            trailing = true;
            break;
        }
        hash = (hash ^ static_cast<unsigned char>(line[at])) * kFnvPrime;
        ++at;
    }
    return (hash ^ (trailing ? 0x100u : 0x200u)) * kFnvPrime;
}

}  // namespace velnora::processing
