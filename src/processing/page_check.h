#pragma once

// RunPageCheck: the second half of checking one page. The fetch has left the complete response
// in the page's htmltmp.txt; the check extracts its text into new.txt, compares it with the
// page's past logs, files the new text and the new lines into the log ring and says what it
// found. One run owns all of its state; several runs never share anything but the files.

#include <atomic>
#include <string>
#include <string_view>

#include "store/records.h"

namespace velnora::processing {

enum class CheckOutcome : int {
    NoChange = 0,     // no new line (also: no response file, or stopped by closing)
    Updated = 1,      // new lines, filed as the next update text
    FirstCheck = 2,   // no latest past log: the text is filed as the first one
    HttpError = 3,    // a status other than 200 and 304; an error line was shown
    NotModified = 4,  // status 304
    CutShort = 5,     // the response ended before its framing said it would: nothing was filed
    FileError = 6,    // a page file could not be read or written; an error line was shown and
                      // the page's history is as it was before the check
};

std::string_view CheckOutcomeName(CheckOutcome outcome);

// What the pipeline tells the user while it runs. Called on the thread that runs the check;
// an implementation hands the texts to the user-interface thread itself.
class PipelineObserver {
  public:
    virtual ~PipelineObserver() = default;
    // The status bar's single text.
    virtual void SetStatusText(std::string_view text) = 0;
    // An error line for the page being checked (also shown in the status bar).
    virtual void ErrorLine(std::string_view message) = 0;
    // A status line for the page being checked, shown with its results.
    virtual void StatusLine(std::string_view text) = 0;
};

// An observer that ignores everything.
class SilentObserver : public PipelineObserver {
  public:
    void SetStatusText(std::string_view) override {}
    void ErrorLine(std::string_view) override {}
    void StatusLine(std::string_view) override {}
};

struct PageCheckInput {
    std::string page_directory;    // Shift_JIS path of the page's directory
    store::PageSettings settings;  // the page's site.ini (its URL is the base of links)
    int n_reload = 3;              // update texts kept (program setting N_RELOAD, 1-24)
    int ignore_image_name = 1;     // program setting IGNORE_IMAGE_NAME
};

// Runs the whole check on the page's htmltmp.txt. closing is the program's closing flag: once
// set, the run stops at its next checkpoint.
CheckOutcome RunPageCheck(const PageCheckInput& input, PipelineObserver& observer,
                          const std::atomic<bool>& closing);

}  // namespace velnora::processing
