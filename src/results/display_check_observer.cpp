#include "results/display_check_observer.h"

#include "store/log_index.h"

namespace velnora::results {

void DisplayCheckObserver::StatusLine(const store::ItemRecord& page, std::string_view message) {
    display_.StatusLine(page, message);
}

void DisplayCheckObserver::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    display_.ErrorLine(page, message);
}

void DisplayCheckObserver::ShowResultsAfterCheck(store::ItemRecord& page, int count) {
    display_.ShowResultsAfterCheck(page, count);
    OnPageShown(page);
}

void DisplayCheckObserver::ShowCurrentText(store::ItemRecord& page) {
    display_.ShowCurrentText(page, store::ReadLogIndex(page.node.path));
    OnPageShown(page);
}

}  // namespace velnora::results
