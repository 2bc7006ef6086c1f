#pragma once

// The check area and the ignore area of a page, applied line by line to one file as it is read.

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
    enum class Check { kBefore, kInside, kEnded };
    const store::AreaMarker& check_;
    const store::AreaMarker& ignore_;
    Check check_state_;
    int ignore_state_ = 0;  // 0 outside, 1 start line kept, 2 inside, 3 end line dropped
};

}  // namespace velnora::processing
