#pragma once

// The status bar's single text, as the displays of the result pane set it.

#include <string_view>

namespace velnora::results {

class StatusSink {
  public:
    virtual ~StatusSink() = default;
    // Replaces the status bar's text (Shift_JIS); an empty text clears it.
    virtual void SetStatusText(std::string_view text) = 0;
};

}  // namespace velnora::results
