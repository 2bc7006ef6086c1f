// Any two texts through the comparison: the alignment must give a smallest set of added lines
// (checked against a plain longest-common-subsequence count), equal lines must have equal keys,
// hiding attribute values must be undone exactly, and the two passes over files must end
// reporting only lines of the new text.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "processing/attribute_markers.h"
#include "processing/latest_log_comparison.h"
#include "processing/line_alignment.h"
#include "processing/line_equality.h"
#include "processing/update_filter.h"

namespace {

using namespace velnora::processing;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string> Lines(std::string_view text, std::size_t limit) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < limit) {
        std::size_t end = text.find('\n', start);
        end = end == text.npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The length of a longest common subsequence of the two sides under the given equality.
std::size_t CommonLength(const std::vector<std::string>& a, const std::vector<std::string>& b,
                         const AlignmentRules& rules) {
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (const std::string& x : a) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = LinesEqual(x, b[j - 1], rules.ignore_number_diff, rules.skip_hidden)
                         ? diagonal + 1
                         : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

class Silent : public PipelineObserver {
  public:
    void SetStatusText(std::string_view) override {}
    void ErrorLine(std::string_view) override {}
    void StatusLine(std::string_view) override {}
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t split = rest.find('\0');
    std::string_view old_text = rest.substr(0, split);
    std::string_view new_text = split == rest.npos ? std::string_view() : rest.substr(split + 1);

    AlignmentRules rules;
    rules.ignore_number_diff = (flags & 1) != 0;
    rules.skip_hidden = (flags & 2) != 0;
    std::vector<std::string> old_lines = Lines(old_text, 300);
    std::vector<std::string> new_lines = Lines(new_text, 300);
    for (std::vector<std::string>* side : {&old_lines, &new_lines}) {
        for (std::string& line : *side) {
            std::string hidden = line;
            HideAttributeValues(hidden, flags >> 2 & 1);
            if (line.find_first_of("\x01\x02\x03") == std::string::npos) {
                std::string restored = hidden;
                RestoreAttributeValues(restored);
                Require(restored == line);
            }
            if (rules.skip_hidden) {
                line = hidden;
            }
        }
    }
    for (std::size_t i = 0; i + 1 < new_lines.size() && i < 50; ++i) {
        for (const std::string& other : {new_lines[i + 1], old_lines.empty() ? "" : old_lines[0]}) {
            if (LinesEqual(new_lines[i], other, rules.ignore_number_diff, rules.skip_hidden)) {
                Require(LineKey(new_lines[i], rules.ignore_number_diff, rules.skip_hidden) ==
                        LineKey(other, rules.ignore_number_diff, rules.skip_hidden));
            }
        }
    }

    if (!old_lines.empty() && !new_lines.empty()) {
        std::vector<std::string_view> old_views(old_lines.begin(), old_lines.end());
        std::vector<std::string_view> new_views(new_lines.begin(), new_lines.end());
        std::vector<std::uint16_t> added = AlignLines(old_views, new_views, rules);
        Require(std::is_sorted(added.begin(), added.end()));
        Require(std::adjacent_find(added.begin(), added.end()) == added.end());
        for (std::uint16_t number : added) {
            Require(number >= 1 && number <= new_lines.size());
        }
        Require(new_lines.size() - added.size() == CommonLength(old_lines, new_lines, rules));
    }

    // Both passes over files, as a check runs them.
    static const std::filesystem::path dir = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("velnora-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    WriteFile(dir / "log0.txt", old_text);
    WriteFile(dir / "new.txt", new_text);
    std::filesystem::remove(dir / "add.txt");
    velnora::store::PageSettings settings;
    settings.ignore_number_diff = flags & 1;
    settings.ignore_url = flags >> 3 & 1;
    settings.ignore_same_text = flags >> 4 & 1;
    settings.ignore_number_only_line = flags >> 5 & 1;
    settings.use_old_log = flags >> 6;
    settings.ngwords[0] = std::string(old_text.substr(0, 3));
    Silent observer;
    std::atomic<bool> closing{false};
    ComparisonContext context{settings, dir.string(), (flags >> 7) & 1, observer, closing};
    FirstPassResult first =
        CompareWithLatestLog((dir / "log0.txt").string(), (dir / "new.txt").string(),
                             (dir / "add.txt").string(), context);
    Require(!first.failure);
    Require(!FilterUpdateLines((dir / "add.txt").string(), 0, context));
    std::ifstream added(dir / "add.txt", std::ios::binary);
    std::string reported((std::istreambuf_iterator<char>(added)), std::istreambuf_iterator<char>());
    std::string crlf_new;
    for (char c : new_text) {
        if (c == '\n') {
            crlf_new += "\r\n";
        } else {
            crlf_new += c;
        }
    }
    for (const std::string& line : Lines(reported, 2000)) {
        std::string text = line.substr(0, line.size() - (line.size() >= 2 ? 2 : 0));
        Require(crlf_new.find(text) != std::string::npos);
    }
    return 0;
}
