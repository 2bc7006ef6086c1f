#pragma once

// The check area and the ignore area of a page, applied line by line to one file as it is read.

#include <string>
#include <string_view>

#include "store/records.h"

namespace velnora::processing {

class AreaFilter {
  public:
    AreaFilter(const store::AreaMarker& check_area, const store::AreaMarker& ignore_area);

    struct Verdict {
        bool compare = false;  // the line takes part in the comparison
        bool stop = false;     // reading of the file ends with this line
    };

    // The next line of the file, as read (delimiters are matched in a decoded copy).
    Verdict Next(std::string_view line);

  private:
    // Where the file's lines stand towards the check area.
    enum class Check {
        kBefore,  // the start string has not been seen yet: lines are skipped
        kInside,  // lines are compared, unless the ignore area holds them
        kEnded,   // the end string was seen: reading ends
    };
    // Where the lines stand towards the ignore area (inside the check area).
    enum class Ignore {
        kOutside,     // lines are compared; the start string is looked for
        kStartKept,   // this line holds the start string and is still compared
        kInside,      // lines are left out; the end string is looked for
        kEndDropped,  // this line holds the end string and is left out too
    };

    bool Contains(const std::string& delimiter);

    store::AreaMarker check_;
    store::AreaMarker ignore_;
    Check check_state_;
    Ignore ignore_state_ = Ignore::kOutside;
    std::string_view line_;  // the current line, as read
    std::string decoded_;    // the current line with its character references decoded
    bool decoded_ready_ = false;
};

}  // namespace velnora::processing
