#pragma once

// The part of a check's observer that fills the result pane's document: status lines, error
// lines, results after a check and a page's current text go to a ResultDisplay. The window and
// the command line both build on it.

#include "fetch/check_observer.h"
#include "results/display.h"

namespace velnora::results {

class DisplayCheckObserver : public fetch::CheckObserver {
  public:
    explicit DisplayCheckObserver(results::ResultDisplay& display) : display_(display) {}

    void StatusLine(const store::ItemRecord& page, std::string_view message) override;
    void ErrorLine(const store::ItemRecord& page, std::string_view message) override;
    void ShowResultsAfterCheck(store::ItemRecord& page, int count) override;
    void ShowCurrentText(store::ItemRecord& page) override;

  protected:
    // A page's texts have been shown; the record holds its settings.
    virtual void OnPageShown(const store::ItemRecord&) {}

    results::ResultDisplay& display_;
};

}  // namespace velnora::results
