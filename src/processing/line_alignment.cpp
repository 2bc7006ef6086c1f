#include "processing/line_alignment.h"

#include <algorithm>

#include "processing/limits.h"
#include "processing/line_equality.h"

namespace velnora::processing {

namespace {

// The trace of two full sides fills kTraceBytes exactly.
static_assert(((kMaxCompareLines + 1) * (kMaxCompareLines + 1) + 3) / 4 == kTraceBytes);

// How the search reached a point (x, y) of the edit grid: x old lines and y new lines consumed.
enum Step : std::uint8_t {
    kNotVisited = 0,
    kAddedNewLine = 1,   // from (x, y - 1): new line y is added
    kPassedOldLine = 2,  // from (x - 1, y): old line x is passed over
    kMatched = 3,        // from (x - 1, y - 1): old line x matches new line y
};

// Two bits for every point of the grid, point (x, y) at cell x * (S + 1) + y where S is the
// larger side; four cells to a byte, the first in the lowest bits.
class PackedTrace {
  public:
    PackedTrace(int old_count, int new_count)
        : stride_(static_cast<std::size_t>(std::max(old_count, new_count)) + 1),
          bytes_((stride_ * stride_ + 3) / 4, 0) {}

    void Set(int x, int y, Step step) {
        std::size_t cell = Cell(x, y);
        unsigned shift = static_cast<unsigned>(cell % 4) * 2;
        std::uint8_t& byte = bytes_[cell / 4];
        byte = static_cast<std::uint8_t>((byte & ~(3u << shift)) | (unsigned{step} << shift));
    }

    Step Get(int x, int y) const {
        std::size_t cell = Cell(x, y);
        return static_cast<Step>((bytes_[cell / 4] >> ((cell % 4) * 2)) & 3u);
    }

  private:
    std::size_t Cell(int x, int y) const {
        return static_cast<std::size_t>(x) * stride_ + static_cast<std::size_t>(y);
    }

    std::size_t stride_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

// From this edit distance on, lines are compared by key first.
constexpr int kKeyedFromDistance = 64;

// Myers' O(ND) difference algorithm ("An O(ND) Difference Algorithm and Its Variations", 1986),
// with the whole trace kept at two bits per grid point instead of one furthest-reaching array
// per D, and with moves that would leave the grid not taken.
std::vector<std::uint16_t> AlignLines(std::span<const std::string_view> old_lines,
                                      std::span<const std::string_view> new_lines,
                                      const AlignmentRules& rules) {
    const int n = static_cast<int>(std::min(old_lines.size(), kMaxCompareLines));
    const int m = static_cast<int>(std::min(new_lines.size(), kMaxCompareLines));
    std::vector<std::uint16_t> added;
    if (m == 0) {
        return added;
    }

    // While the sides differ in few lines the comparisons are mostly along the common runs, where
    // LinesEqual walks each pair once anyway. Once many lines differ, the same lines meet many
    // others, and a key per line tells most unequal pairs apart without walking them.
    std::vector<std::uint64_t> old_keys;
    std::vector<std::uint64_t> new_keys;
    bool keyed = false;
    auto make_keys = [&] {
        old_keys.resize(static_cast<std::size_t>(n));
        new_keys.resize(static_cast<std::size_t>(m));
        for (int i = 0; i < n; ++i) {
            old_keys[i] = LineKey(old_lines[i], rules.ignore_number_diff, rules.skip_hidden);
        }
        for (int j = 0; j < m; ++j) {
            new_keys[j] = LineKey(new_lines[j], rules.ignore_number_diff, rules.skip_hidden);
        }
        keyed = true;
    };
    auto equal = [&](int x, int y) {
        return (!keyed || old_keys[x] == new_keys[y]) &&
               LinesEqual(old_lines[x], new_lines[y], rules.ignore_number_diff, rules.skip_hidden);
    };

    PackedTrace trace(n, m);
    // The furthest x reached on each diagonal k = x - y, for k from -(n + m) to n + m.
    const int max_d = n + m;
    std::vector<int> furthest(static_cast<std::size_t>(2 * max_d + 1), 0);
    auto v = [&](int k) -> int& { return furthest[static_cast<std::size_t>(k + max_d)]; };

    bool complete = false;
    for (int d = 0; d <= max_d && !complete; ++d) {
        if (d == kKeyedFromDistance && !keyed) {
            make_keys();
        }
        for (int k = -d; k <= d; k += 2) {
            int x;
            Step step;
            if (k == -d || (k != d && v(k - 1) < v(k + 1))) {
                x = v(k + 1);
                step = kAddedNewLine;
            } else {
                x = v(k - 1) + 1;
                step = kPassedOldLine;
            }
            int y = x - k;
            if (x < 0 || x > n || y < 0 || y > m) {
                continue;
            }
            trace.Set(x, y, step);
            while (x < n && y < m && equal(x, y)) {
                ++x;
                ++y;
                trace.Set(x, y, kMatched);
            }
            v(k) = x;
            if (x == n && y == m) {
                complete = true;
                break;
            }
        }
    }

    // Back from the end of both sides. The search's first step records an added line at (0, 0),
    // so the walk notes a line 0 there, which stands for no line.
    int x = n;
    int y = m;
    for (int steps = 0; steps <= max_d && x >= 0 && y >= 0; ++steps) {
        switch (trace.Get(x, y)) {
            case kAddedNewLine:
                if (y > 0) {
                    added.push_back(static_cast<std::uint16_t>(y));
                }
                --y;
                break;
            case kPassedOldLine:
                --x;
                break;
            default:
                --x;
                --y;
                break;
        }
    }
    std::reverse(added.begin(), added.end());
    return added;
}

}  // namespace velnora::processing
