#pragma once

// The TextAccumulator collects the visible text between two tags (and, before the body, one
// header line), collapsing every run of blanks and line breaks between two visible bytes into
// one blank or one line feed. Blanks and breaks are only counted while they are pending; they
// become a byte when the next visible byte arrives, or are written straight out by the
// tokenizer's flush-pending.

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "processing/limits.h"

namespace velnora::processing {

class TextAccumulator {
  public:
    void Reset() {
        length_ = 0;
        pending_blanks = 0;
        pending_breaks = 0;
        anchor_line_break = false;
        inside_anchor = false;
        no_break = false;
    }

    void Add(unsigned char b) {
        if (b == ' ' || b == '\t') {
            ++pending_blanks;
        } else if (b == '\r' || b == '\n') {
            if (inside_anchor) {
                ++pending_blanks;
                anchor_line_break = true;
            } else {
                ++pending_breaks;
            }
        } else {
            AddVisible(b);
        }
    }

    // A visible byte: the pending run becomes one line feed or one blank in front of it.
    void AddVisible(unsigned char b) {
        if (length_ >= kAccumulatorTextLimit) {
            return;  // dropped; the pending counts stay
        }
        if (pending_breaks != 0) {
            buffer_[length_++] = '\n';
        } else if (pending_blanks != 0) {
            buffer_[length_++] = ' ';
        }
        pending_blanks = 0;
        pending_breaks = 0;
        anchor_line_break = false;
        buffer_[length_++] = static_cast<char>(b);
    }

    // A run of visible bytes: the same as AddVisible for each of them, in one copy.
    void AddVisibleRun(std::string_view run) {
        if (run.empty()) {
            return;
        }
        AddVisible(static_cast<unsigned char>(run[0]));
        run.remove_prefix(1);
        std::size_t room = length_ < kAccumulatorTextLimit ? kAccumulatorTextLimit - length_ : 0;
        std::size_t count = run.size() < room ? run.size() : room;
        std::memcpy(buffer_.data() + length_, run.data(), count);
        length_ += count;
    }

    // A line feed, or a blank when the no-break flag is set (inside a table cell or row).
    void Break() { Add(no_break ? ' ' : '\n'); }

    // Empties the text; the pending counts stay.
    void Clear() { length_ = 0; }

    std::string_view text() const { return {buffer_.data(), length_}; }
    bool empty() const { return length_ == 0; }
    // Direct access for in-place edits of the text before it is written.
    char* data() { return buffer_.data(); }

    int pending_blanks = 0;
    int pending_breaks = 0;
    bool anchor_line_break = false;
    bool inside_anchor = false;  // an opening link has been written and not yet closed
    bool no_break = false;       // line breaks become blanks (TABLE_SETTING)

  private:
    std::array<char, kAccumulatorSize> buffer_{};
    std::size_t length_ = 0;
};

}  // namespace velnora::processing
