#pragma once

// ResultDisplay: the displays of the result pane. It fills a ResultDocument from a page's files
// and records: page blocks (a header line and the lines of an update text or of the whole
// extracted text), status lines and error lines, and the results shown after a check or on
// reload. The window and velnora-cli both show pages through it.
//
// Threads: used from one thread at a time, with its document (document.h).

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "results/display_settings.h"
#include "results/document.h"
#include "results/status_sink.h"
#include "store/records.h"

namespace velnora::results {

class ResultDisplay {
  public:
    // The document and the status sink (none when null) must outlive the display.
    explicit ResultDisplay(ResultDocument& document, StatusSink* status = nullptr);

    ResultDocument& document() { return document_; }
    const DisplaySettings& settings() const { return settings_; }
    void SetSettings(const DisplaySettings& settings) { settings_ = settings; }

    // Shows the page's update text add%d.txt of the log index as a block: a header line with
    // the file's modification time and the file's lines, at most MAX_DISP_LINE of them (then a
    // notice with a link to the page). An empty file shows nothing. False when the file cannot
    // be opened (nothing is shown).
    bool ShowUpdateText(const store::ItemRecord& page, int log_index);

    // Shows the page's whole extracted text as a block: new.txt, or log%d.txt of the log index
    // when there is no new.txt. No line limit. False when neither can be opened.
    bool ShowCurrentText(const store::ItemRecord& page, int log_index);

    // What a page shows after a check, and on reload. With count 0 (or less) the page's
    // result.ini decides: RESULT_UPDATED shows as count 1; the other codes show, when
    // NOCHANGE_MSG is set, a status line for "no change", "not modified" and "error", and
    // nothing else. With a count of 1 or more the page's site.ini is read into page.settings
    // and its newest `count` update texts are shown, newest first, going back round the log
    // ring (at most once round); missing ones are passed over.
    void ShowResultsAfterCheck(store::ItemRecord& page, int count);

    // "■", a header link to the page's URL, " : ", the message and a line feed, in a display
    // batch of its own unless one is open; the message goes to the status bar too.
    void StatusLine(const store::ItemRecord& page, std::string_view message);
    // "■", the page's link, " --- エラー : ", the message and a line feed; the message goes to
    // the status bar too.
    void ErrorLine(const store::ItemRecord& page, std::string_view message);

    // The pieces of a block, also used by the past-log search: the header line (file time in
    // local time; none leaves %date; and %time; empty) and one rendered line of extracted text.
    void HeaderLine(const store::ItemRecord& page, std::optional<std::time_t> file_time);
    void RenderLine(std::string_view line);

    // One line of a page's stored text (its line feed, if any, and whatever follows a NUL byte
    // left out) as a block shows it: as plain text for an AS_TEXT page, else rendered.
    void ShowStoredLine(const store::ItemRecord& page, std::string_view line);

  private:
    bool ShowFile(const store::ItemRecord& page, const std::string& path, bool limit_lines);
    void PageLine(const store::ItemRecord& page, std::string_view separator,
                  std::string_view message);
    void SetStatus(std::string_view text);

    ResultDocument& document_;
    StatusSink* status_;
    DisplaySettings settings_;
};

}  // namespace velnora::results
