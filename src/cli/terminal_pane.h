#pragma once

// The result pane of velnora-cli: the same document and displays as the window's pane, printed
// to the terminal as UTF-8 as the document grows, each link as its text followed by its
// address in angle brackets.

#include <ostream>
#include <string>

#include "results/display.h"
#include "results/display_check_observer.h"
#include "results/document.h"
#include "results/status_sink.h"
#include "store/page_tree.h"

namespace velnora::cli {

class TerminalPane : public results::DisplayCheckObserver,
                     public results::DocumentListener,
                     public results::StatusSink {
  public:
    TerminalPane(std::ostream& out, store::PageTree& tree,
                 const results::DisplaySettings& settings);

    // What the pane holds, and its displays.
    const results::ResultDocument& document() const { return document_; }
    results::ResultDisplay& display() { return pane_display_; }

    // The status bar's last text (the completion text once a check has ended), Shift_JIS.
    const std::string& status_text() const { return status_text_; }
    // Error lines shown so far (HTTP errors included).
    int error_lines() const { return error_lines_; }

    // CheckObserver
    void SetStatusText(std::string_view text) override { status_text_.assign(text); }
    void ErrorLine(const store::ItemRecord& page, std::string_view message) override {
        ++error_lines_;
        DisplayCheckObserver::ErrorLine(page, message);
    }
    void ClearPane() override { document_.Clear(); }
    void CaretToStart() override {}
    void LockCommands(bool) override {}
    void MarkUpdated(store::ItemId item) override { tree_.MarkUpdated(item); }
    void ClearUpdated(store::ItemId item) override { tree_.ClearUpdated(item); }
    void PlaySound(std::string_view) override {}
    void ShowFinishMessage(std::string_view) override {}

    // DocumentListener
    void OnCleared() override {}
    void OnRunsAppended(const results::ResultDocument& document, std::size_t first,
                        std::size_t count) override;
    void OnHighlighted(std::size_t, std::size_t) override {}
    void OnBatchBegun(results::BatchView) override {}
    void OnBatchEnded(results::BatchView) override { out_.flush(); }

  private:
    std::ostream& out_;
    store::PageTree& tree_;
    results::ResultDocument document_;
    results::ResultDisplay pane_display_;
    std::string status_text_;
    int error_lines_ = 0;
};

}  // namespace velnora::cli
