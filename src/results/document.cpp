#include "results/document.h"

#include <algorithm>

#include "results/characters.h"
#include "results/link_targets.h"
#include "results/pane_limits.h"

namespace velnora::results {

namespace {

// Plain text appended within one batch is gathered into runs of about this many bytes, so that
// a view inserts a few large runs rather than one per piece of text, and a position is found
// within a run by a short scan.
constexpr std::size_t kPlainRunBytes = 4096;

}  // namespace

void ResultDocument::Clear() {
    text_.clear();
    length_ = 0;
    runs_.clear();
    reported_runs_ = 0;
    links_.clear();
    current_header_ = kNoLink;
    images_.clear();
    block_starts_.clear();
    highlights_.clear();
    next_highlight_ = 0;
    last_run_was_link_ = false;
    if (listener_ != nullptr) {
        listener_->OnCleared();
    }
}

void ResultDocument::BeginBatch(BatchView view) {
    if (batch_depth_++ > 0) {
        return;
    }
    batch_view_ = view;
    last_run_was_link_ = false;
    if (listener_ != nullptr) {
        listener_->OnBatchBegun(view);
    }
}

void ResultDocument::EndBatch() {
    if (batch_depth_ == 0 || --batch_depth_ > 0) {
        return;
    }
    ReportRuns();
    if (listener_ != nullptr) {
        listener_->OnBatchEnded(batch_view_);
    }
}

void ResultDocument::AppendText(std::string_view text) {
    if (text.empty()) {
        return;
    }
    AppendRun(text, kNoLink);
    last_run_was_link_ = false;
}

std::size_t ResultDocument::AppendLink(std::string_view target, std::string_view text,
                                       bool is_header) {
    if (last_run_was_link_) {
        AppendText(" ");
    }
    std::size_t start = length_;
    if (!IsOpenableTarget(target) && !IsSettingsTarget(target)) {
        // Shown where the link would be, and spaced like one, but nothing opens it.
        if (!text.empty()) {
            AppendRun(text, kNoLink);
        }
        if (is_header) {
            current_header_ = kNoLink;
        }
        last_run_was_link_ = true;
        return start;
    }
    int index = static_cast<int>(links_.size());
    if (is_header) {
        current_header_ = index;
    }
    links_.push_back(LinkRecord{start, 0, std::string(target), current_header_});
    if (!text.empty()) {
        links_.back().length = AppendRun(text, index);
    }
    last_run_was_link_ = true;
    return start;
}

std::size_t ResultDocument::AppendRun(std::string_view text, int link) {
    std::string mended;
    if (HasLoneLeadByte(text)) {
        mended.assign(text);
        MendLoneLeadBytes(mended);
        text = mended;
    }
    std::size_t count = CountCharacters(text);
    bool merge = link == kNoLink && runs_.size() > reported_runs_ && runs_.back().link == kNoLink &&
                 runs_.back().byte_length + text.size() <= kPlainRunBytes;
    if (merge) {
        runs_.back().length += count;
        runs_.back().byte_length += text.size();
    } else {
        runs_.push_back(TextRun{length_, count, text_.size(), text.size(), link});
    }
    text_.append(text);
    length_ += count;
    if (batch_depth_ == 0) {
        ReportRuns();
    }
    return count;
}

void ResultDocument::ReportRuns() {
    if (reported_runs_ == runs_.size()) {
        return;
    }
    std::size_t first = reported_runs_;
    reported_runs_ = runs_.size();
    if (listener_ != nullptr) {
        listener_->OnRunsAppended(*this, first, runs_.size() - first);
    }
}

void ResultDocument::AddBlockStart(std::size_t position) {
    if (block_starts_.size() < kMaxBlockStarts) {
        block_starts_.push_back(position);
    }
}

void ResultDocument::Highlight(std::size_t start, std::size_t end) {
    ReportRuns();  // the view must hold the text before it can colour it
    if (highlights_.size() < kMaxRecordedHighlights) {
        highlights_.push_back(HighlightHit{start, end});
    }
    if (listener_ != nullptr) {
        listener_->OnHighlighted(start, end);
    }
}

void ResultDocument::SortHighlights() {
    std::stable_sort(
        highlights_.begin(), highlights_.end(),
        [](const HighlightHit& a, const HighlightHit& b) { return a.start < b.start; });
}

std::optional<HighlightHit> ResultDocument::NextHighlight() {
    if (highlights_.empty()) {
        return std::nullopt;
    }
    if (next_highlight_ >= highlights_.size()) {
        next_highlight_ = 0;
    }
    HighlightHit hit = highlights_[next_highlight_];
    next_highlight_ = (next_highlight_ + 1) % highlights_.size();
    return hit;
}

std::string_view ResultDocument::RunText(const TextRun& run) const {
    return std::string_view(text_).substr(run.byte_start, run.byte_length);
}

std::size_t ResultDocument::ByteOffset(std::size_t position) const {
    if (position >= length_) {
        return text_.size();
    }
    // The last run that starts at or before the position holds it.
    auto after =
        std::upper_bound(runs_.begin(), runs_.end(), position,
                         [](std::size_t value, const TextRun& run) { return value < run.start; });
    const TextRun& run = *(after - 1);
    return run.byte_start + ByteOffsetOf(RunText(run), position - run.start);
}

std::string_view ResultDocument::TextRange(std::size_t from, std::size_t to) const {
    std::size_t begin = ByteOffset(from);
    std::size_t end = ByteOffset(std::max(from, to));
    return std::string_view(text_).substr(begin, end - begin);
}

std::optional<std::size_t> ResultDocument::AnyLinkAt(std::size_t position) const {
    // Links are recorded in the order of their positions and never overlap: only the last one
    // starting at or before the position can hold it.
    auto after = std::upper_bound(
        links_.begin(), links_.end(), position,
        [](std::size_t value, const LinkRecord& link) { return value < link.start; });
    if (after == links_.begin()) {
        return std::nullopt;
    }
    const LinkRecord& link = *(after - 1);
    if (position >= link.start + link.length) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(after - 1 - links_.begin());
}

std::optional<std::size_t> ResultDocument::LinkAt(std::size_t position) const {
    auto index = AnyLinkAt(position);
    if (index && IsSettingsTarget(links_[*index].target)) {
        return std::nullopt;
    }
    return index;
}

std::optional<std::string_view> ResultDocument::LinkTargetAt(std::size_t position) const {
    auto index = LinkAt(position);
    if (!index) {
        return std::nullopt;
    }
    return std::string_view(links_[*index].target);
}

}  // namespace velnora::results
