#include "processing/area_filter.h"

#include "processing/char_refs.h"

namespace velnora::processing {

AreaFilter::AreaFilter(const store::AreaMarker& check_area, const store::AreaMarker& ignore_area)
    : check_(check_area),
      ignore_(ignore_area),
      check_state_(check_area.start_string.empty() ? Check::kInside : Check::kBefore) {}

// Delimiters are plain, case-sensitive byte strings, found in the decoded copy of the line so
// that a page may write them with character references. An empty delimiter never matches.
// The copy is made on the first test of a line, so that pages without areas pay nothing.
bool AreaFilter::Contains(const std::string& delimiter) {
    if (delimiter.empty()) {
        return false;
    }
    if (!decoded_ready_) {
        decoded_.assign(line_);
        DecodeCharRefs(decoded_);
        decoded_ready_ = true;
    }
    return decoded_.find(delimiter) != std::string::npos;
}

// The check area's types mean "the line after" / "the line before" only when they are 1; the
// ignore area's types mean "this line too" only when they are 0. Other stored values fall to
// the other meaning, as the settings sheet never writes them.
AreaFilter::Verdict AreaFilter::Next(std::string_view line) {
    line_ = line;
    decoded_ready_ = false;

    Verdict verdict;
    if (check_state_ == Check::kBefore) {
        if (!Contains(check_.start_string)) {
            return verdict;
        }
        check_state_ = Check::kInside;
        if (check_.start_type == 1) {
            return verdict;
        }
    }
    if (check_state_ == Check::kInside) {
        if (Contains(check_.end_string)) {
            check_state_ = Check::kEnded;
            if (check_.end_type == 1) {
                verdict.stop = true;
                return verdict;
            }
        }
        // On the line where an ignore stretch starts its end is not looked for, and on the
        // line where it ends a new start is not looked for.
        if (ignore_state_ == Ignore::kOutside) {
            if (Contains(ignore_.start_string)) {
                ignore_state_ = ignore_.start_type == 0 ? Ignore::kInside : Ignore::kStartKept;
            }
        } else if (Contains(ignore_.end_string)) {
            ignore_state_ = ignore_.end_type == 0 ? Ignore::kEndDropped : Ignore::kOutside;
        }
        verdict.compare = ignore_state_ == Ignore::kOutside || ignore_state_ == Ignore::kStartKept;
        if (ignore_state_ == Ignore::kStartKept) {
            ignore_state_ = Ignore::kInside;
        } else if (ignore_state_ == Ignore::kEndDropped) {
            ignore_state_ = Ignore::kOutside;
        }
    }
    verdict.stop = check_state_ == Check::kEnded;
    return verdict;
}

}  // namespace velnora::processing
