#include "window/window_check_observer.h"

#include "desktop/desktop.h"
#include "store/result_texts.h"
#include "store/settings_files.h"
#include "window/message_box.h"

namespace velnora::window {

WindowCheckObserver::WindowCheckObserver(WindowServices& window, store::PageTree& tree,
                                         std::function<store::ItemRecord&()> working_copy)
    : results::DisplayCheckObserver(window.display()),
      window_(window),
      tree_(tree),
      working_copy_(std::move(working_copy)) {}

void WindowCheckObserver::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    results::DisplayCheckObserver::ErrorLine(page, message);
    // Some failures end a page without a recorded result: the error line is its end.
    errors_[page.node.item] = std::string(message);
    if (page_error) {
        page_error(page.node.item, std::string(message));
    }
    Count(page.node.item);
}

void WindowCheckObserver::PageDone(const store::ItemRecord& page) {
    std::optional<std::string> error;
    auto line = errors_.find(page.node.item);
    if (store::ReadResultCode(page.node.path) == store::RESULT_ERROR) {
        error = line != errors_.end() ? line->second : std::string(store::kErrorResultText);
    }
    if (line != errors_.end()) {
        errors_.erase(line);
    }
    if (page_error) {
        page_error(page.node.item, std::move(error));
    }
    Count(page.node.item);
}

void WindowCheckObserver::Count(store::ItemId page) {
    if (counted_.insert(page).second && page_counted) {
        page_counted();
    }
}

void WindowCheckObserver::CaretToStart() {
    if (caret_to_start) {
        caret_to_start();
    }
}

void WindowCheckObserver::PlaySound(std::string_view file) {
    desktop::PlaySoundFile(file);
}

void WindowCheckObserver::ShowFinishMessage(std::string_view text) {
    if (check_finished) {
        check_finished();
    }
    ShowMessage(window_.window(), text, "Velnora", MessageButtons::kOk, MessageIcon::kInformation);
}

}  // namespace velnora::window
