// FilterUpdateLines, the second pass of the comparison: the lines that the alignment found are
// weeded (blank lines, digits-only lines, NG words, repeats) and then searched for in the page's
// most recent past logs; add.txt is rewritten with what remains.

#include "processing/update_filter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "files/file_system.h"
#include "files/text_file.h"
#include "processing/attribute_markers.h"
#include "processing/char_refs.h"
#include "processing/limits.h"
#include "processing/line_equality.h"
#include "processing/line_table.h"
#include "store/page_files.h"
#include "text/yield.h"

namespace velnora::processing {

namespace {

// "NGワードのチェック中..."
constexpr std::string_view kNgWordStatus =
    "NG\x83\x8f\x81\x5b\x83\x68\x82\xcc\x83\x60\x83\x46\x83\x62\x83\x4e\x92\x86...";
// "過去ログのチェック中(%d/%d)..."
constexpr const char* kPastLogStatusFormat =
    "\x89\xdf\x8b\x8e\x83\x8d\x83\x4f\x82\xcc\x83\x60\x83\x46\x83\x62\x83\x4e\x92\x86(%d/%d)...";

void StripLineFeed(std::string& line) {
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
}

bool OnlyBlanks(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool OnlyDigitsAndBlanks(std::string_view line) {
    return line.find_first_not_of("0123456789 ") == std::string_view::npos;
}

// The candidates of one pass: the lines of add.txt as read (without their line feeds), each
// with its compare form, and which of them are still alive.
class Candidates {
  public:
    explicit Candidates(const ComparisonContext& context)
        : context_(context), hides_(HidesAttributeValues(context)), table_(hides_) {}

    bool Closing() const { return context_.closing.load(std::memory_order_relaxed); }
    std::size_t AliveCount() const { return alive_count_; }

    bool Read(std::string_view path);
    void DropDigitsOnly();
    void DropNgWords();
    void DropRepeats();
    bool SearchPastLogs(int current_index);
    void Write(std::string_view path);
    // A file that could not be read or written; the pass then stops.
    const std::optional<FileFailure>& failure() const { return failure_; }

  private:
    void Drop(std::size_t i) {
        alive_[i] = 0;
        --alive_count_;
        changed_ = true;
    }
    bool SearchLog(std::string_view path);
    bool Fail(FileFailure::Kind kind, std::string_view path, std::string reason) {
        failure_ = FileFailure{kind, std::string(path), std::move(reason)};
        return false;
    }

    const ComparisonContext& context_;
    bool hides_;
    LineTable table_;
    std::vector<char> alive_;
    std::size_t alive_count_ = 0;
    // (key, candidate) of the alive candidates, sorted, for the search of the past logs.
    std::vector<std::pair<std::uint64_t, std::size_t>> keys_;
    std::optional<FileFailure> failure_;
    // Writing the alive candidates back would change the file: a line was dropped or left out,
    // or a line had no line feed.
    bool changed_ = false;
};

// Why a file could not be opened for reading when that is a failure: it is there, but cannot be
// read (a missing file is no failure).
bool OpenExisting(files::TextReader& reader, std::string_view path, std::string& error) {
    return reader.Open(path, &error) || (!files::PathExists(path) && !files::IsSymbolicLink(path));
}

// Holds every line that is not blank while fewer than kMaxCompareLines are held and the pool
// has room to spare; a line that does not fit is dropped, but reading goes on. False when the
// file cannot be opened or read, or the program is closing.
bool Candidates::Read(std::string_view path) {
    files::TextReader reader;
    std::string error;
    if (!OpenExisting(reader, path, error)) {
        return Fail(FileFailure::Kind::kRead, path, error);
    }
    if (!reader.IsOpen()) {
        return false;
    }
    std::string line;
    std::string compare_form;
    while (reader.ReadLine(line, files::kLineBufferSize)) {
        if (Closing()) {
            return false;
        }
        changed_ = changed_ || line.empty() || line.back() != '\n';
        StripLineFeed(line);
        if (!OnlyBlanks(line) && table_.size() < kMaxCompareLines &&
            table_.PoolUse() + line.size() + 1 < kComparePoolSize) {
            if (hides_) {
                compare_form = line;
                HideForComparison(compare_form, context_);
            }
            table_.Append(line, hides_ ? std::string_view(compare_form) : std::string_view(line));
        } else {
            changed_ = true;
        }
        text::Yield(0);
    }
    if (reader.Failed()) {
        return Fail(FileFailure::Kind::kRead, path, files::SystemErrorText(EIO));
    }
    alive_.assign(table_.size(), 1);
    alive_count_ = table_.size();
    return true;
}

void Candidates::DropDigitsOnly() {
    for (std::size_t i = 0; i < table_.size() && alive_count_ > 0; ++i) {
        if (alive_[i] && OnlyDigitsAndBlanks(table_.Text(i))) {
            Drop(i);
        }
    }
}

// NG words are looked for in a copy with the character references decoded, so that a word the
// page wrote with references still matches; the candidate itself keeps them.
void Candidates::DropNgWords() {
    const auto& words = context_.settings.ngwords;
    bool any = std::any_of(words.begin(), words.end(), [](const auto& w) { return !w.empty(); });
    std::string decoded;
    for (std::size_t i = 0; i < table_.size() && alive_count_ > 0; ++i) {
        if (!alive_[i]) {
            continue;
        }
        if (any) {
            decoded.assign(table_.Text(i));
            DecodeCharRefs(decoded);
            for (const std::string& word : words) {
                if (!word.empty() && decoded.find(word) != std::string::npos) {
                    Drop(i);
                    break;
                }
            }
        }
        text::Yield(0);
    }
}

// The first occurrence of a line stays; later ones that are byte for byte the same go.
void Candidates::DropRepeats() {
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < table_.size() && alive_count_ > 0; ++i) {
        if (alive_[i] && !seen.insert(table_.Text(i)).second) {
            Drop(i);
        }
    }
}

// Searches the USE_OLD_LOG most recent past logs, from the current one backwards (wrapping from
// 0 to 24); a log that is missing still counts. False when the program is closing or a log that
// is there cannot be read.
bool Candidates::SearchPastLogs(int current_index) {
    const int passes = context_.settings.use_old_log;
    if (passes <= 0 || alive_count_ == 0) {
        return !Closing();
    }
    for (std::size_t i = 0; i < table_.size(); ++i) {
        if (alive_[i]) {
            keys_.emplace_back(
                LineKey(table_.CompareForm(i), context_.settings.ignore_number_diff != 0, hides_),
                i);
        }
    }
    std::sort(keys_.begin(), keys_.end());
    int slot = current_index;
    for (int pass = 1; pass <= passes && alive_count_ > 0; ++pass) {
        if (Closing()) {
            return false;
        }
        char status[128];
        std::snprintf(status, sizeof status, kPastLogStatusFormat, pass, passes);
        context_.observer.SetStatusText(status);
        if (auto path = store::PagePath(context_.page_directory, store::LogFileName(slot))) {
            if (!SearchLog(*path)) {
                return false;
            }
        }
        slot = slot - 1 < 0 ? store::kLogSlots - 1 : slot - 1;
    }
    return true;
}

// Up to this many alive candidates, the lines of a log are compared with each directly.
constexpr std::size_t kDirectCandidates = 8;

// Drops every alive candidate equal to a line of the log. False when the program is closing or
// the log is there but cannot be read.
bool Candidates::SearchLog(std::string_view path) {
    files::TextReader reader;
    std::string error;
    if (!OpenExisting(reader, path, error)) {
        return Fail(FileFailure::Kind::kRead, path, error);
    }
    if (!reader.IsOpen()) {
        return true;
    }
    const bool ignore_number_diff = context_.settings.ignore_number_diff != 0;
    std::string line;
    while (alive_count_ > 0 && reader.ReadLine(line, files::kLineBufferSize)) {
        if (Closing()) {
            return false;
        }
        StripLineFeed(line);
        HideForComparison(line, context_);
        if (alive_count_ <= kDirectCandidates) {
            // Few candidates: comparing with each is cheaper than a key for every log line.
            for (std::size_t i = 0; i < table_.size() && alive_count_ > 0; ++i) {
                if (alive_[i] &&
                    LinesEqual(table_.CompareForm(i), line, ignore_number_diff, hides_)) {
                    Drop(i);
                }
            }
            text::Yield(0);
            continue;
        }
        std::uint64_t key = LineKey(line, ignore_number_diff, hides_);
        auto first =
            std::lower_bound(keys_.begin(), keys_.end(), std::make_pair(key, std::size_t{0}));
        for (auto it = first; it != keys_.end() && it->first == key; ++it) {
            std::size_t i = it->second;
            if (alive_[i] && LinesEqual(table_.CompareForm(i), line, ignore_number_diff, hides_)) {
                Drop(i);
            }
        }
        text::Yield(0);
    }
    if (reader.Failed()) {
        return Fail(FileFailure::Kind::kRead, path, files::SystemErrorText(EIO));
    }
    return true;
}

// Rewrites the file with the alive candidates as they were read, each followed by a line feed
// (CR LF on disk). A candidate whose text held the marker bytes itself keeps them. The file is
// replaced whole or not at all: when the program is closing it stays as it was, and when every
// line it holds stays it is not written again.
void Candidates::Write(std::string_view path) {
    if (!changed_) {
        return;
    }
    files::TextWriter writer;
    bool ok = writer.Open(path);
    for (std::size_t i = 0; ok && i < table_.size(); ++i) {
        if (!alive_[i]) {
            continue;
        }
        if (Closing()) {
            return;
        }
        ok = writer.Write(table_.Text(i)) && writer.Write("\n");
        text::Yield(0);
    }
    if (!ok || !writer.Commit()) {
        Fail(FileFailure::Kind::kWrite, path, writer.error());
    }
}

}  // namespace

std::optional<FileFailure> FilterUpdateLines(std::string_view add_path, int current_index,
                                             const ComparisonContext& context) {
    Candidates candidates(context);
    if (!candidates.Read(add_path)) {
        return candidates.failure();
    }
    const store::PageSettings& settings = context.settings;
    if (candidates.Closing()) {
        return std::nullopt;
    }
    if (settings.ignore_number_only_line != 0 && candidates.AliveCount() > 0) {
        candidates.DropDigitsOnly();
    }
    if (candidates.Closing()) {
        return std::nullopt;
    }
    if (candidates.AliveCount() > 0) {
        context.observer.SetStatusText(kNgWordStatus);
        candidates.DropNgWords();
    }
    if (candidates.Closing()) {
        return std::nullopt;
    }
    if (settings.ignore_same_text != 0 && candidates.AliveCount() > 0) {
        candidates.DropRepeats();
    }
    if (candidates.Closing() || !candidates.SearchPastLogs(current_index) || candidates.Closing()) {
        return candidates.failure();
    }
    candidates.Write(add_path);
    return candidates.failure();
}

}  // namespace velnora::processing
