#include "shell/window_check_observer.h"

#include "platform/desktop.h"
#include "shell/message_box.h"
#include "store/log_index.h"

namespace velnora::shell {

WindowCheckObserver::WindowCheckObserver(WindowServices& window, store::PageTree& tree,
                                         std::function<store::ItemRecord&()> working_copy)
    : window_(window), tree_(tree), working_copy_(std::move(working_copy)) {}

void WindowCheckObserver::StatusLine(const store::ItemRecord& page, std::string_view message) {
    window_.display().StatusLine(page, message);
}

void WindowCheckObserver::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    window_.display().ErrorLine(page, message);
}

void WindowCheckObserver::ShowResultsAfterCheck(store::ItemRecord& page, int count) {
    // The page shown last is the working copy of the sheets and commands.
    window_.display().ShowResultsAfterCheck(page, count);
    working_copy_() = page;
}

void WindowCheckObserver::CaretToStart() {
    if (caret_to_start) {
        caret_to_start();
    }
}

void WindowCheckObserver::ShowCurrentText(store::ItemRecord& page) {
    working_copy_() = page;
    window_.display().ShowCurrentText(page, store::ReadLogIndex(page.node.path));
}

void WindowCheckObserver::PlaySound(std::string_view file) { platform::PlaySoundFile(file); }

void WindowCheckObserver::ShowFinishMessage(std::string_view text) {
    ShowMessage(window_.window(), text, "Velnora", MessageButtons::kOk,
                MessageIcon::kInformation);
}

}  // namespace velnora::shell
