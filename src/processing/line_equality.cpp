#include "processing/line_equality.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

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

// A byte that Skip never moves over: the comparison takes it as it is.
constexpr bool IsPlainByte(unsigned char c, bool ignore_number_diff, bool skip_hidden) {
    return c != ' ' && !(ignore_number_diff && c >= '0' && c <= '9') &&
           !(skip_hidden && (c == 0x01 || c == 0x02));
}

// The bytes Skip moves over or starts at, for each combination of the two flags.
struct SpecialBytes {
    bool bytes[256] = {};
    constexpr SpecialBytes(bool ignore_number_diff, bool skip_hidden) {
        for (int c = 0; c < 256; ++c) {
            bytes[c] = !IsPlainByte(static_cast<unsigned char>(c), ignore_number_diff, skip_hidden);
        }
    }
};

constexpr SpecialBytes kSpecial[2][2] = {{SpecialBytes(false, false), SpecialBytes(false, true)},
                                         {SpecialBytes(true, false), SpecialBytes(true, true)}};

const SpecialBytes& SpecialBytesFor(bool ignore_number_diff, bool skip_hidden) {
    return kSpecial[ignore_number_diff ? 1 : 0][skip_hidden ? 1 : 0];
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
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[j]);
        if (IsPlainByte(x, ignore_number_diff, skip_hidden) &&
            IsPlainByte(y, ignore_number_diff, skip_hidden)) {
            if (x != y) {
                return false;
            }
            ++i;
            ++j;
            continue;
        }
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
    // The compared bytes are gathered in blocks and each block hashed at once; equal byte
    // sequences make equal blocks, so the key depends only on the sequence.
    const SpecialBytes& special = SpecialBytesFor(ignore_number_diff, skip_hidden);
    char block[512];
    std::size_t filled = 0;
    std::uint64_t hash = kFnvOffset;
    auto append = [&](const char* bytes, std::size_t length) {
        while (length > 0) {
            std::size_t take = std::min(length, sizeof block - filled);
            std::memcpy(block + filled, bytes, take);
            filled += take;
            bytes += take;
            length -= take;
            if (filled == sizeof block) {
                hash = (hash ^ std::hash<std::string_view>{}({block, filled})) * kFnvPrime;
                filled = 0;
            }
        }
    };
    const char* data = line.data();
    const std::size_t size = line.size();
    std::size_t at = 0;
    bool trailing = false;
    while (at < size) {
        std::size_t start = at;
        while (at < size && !special.bytes[static_cast<unsigned char>(data[at])]) {
            ++at;
        }
        append(data + start, at - start);
        if (at == size) {
            break;
        }
        at = Skip(line, at, ignore_number_diff, skip_hidden);
        if (at == size) {
            trailing = true;
            break;
        }
        append(data + at, 1);  // the byte after what was passed over is taken as it is
        ++at;
    }
    if (filled != 0) {
        hash = (hash ^ std::hash<std::string_view>{}({block, filled})) * kFnvPrime;
    }
    return (hash ^ (trailing ? 0x100u : 0x200u)) * kFnvPrime;
}

}  // namespace velnora::processing
