#include "window/window_check_observer.h"

#include "desktop/desktop.h"
#include "window/message_box.h"

namespace velnora::window {

WindowCheckObserver::WindowCheckObserver(WindowServices& window, store::PageTree& tree,
                                         std::function<store::ItemRecord&()> working_copy)
    : results::DisplayCheckObserver(window.display()),
      window_(window),
      tree_(tree),
      working_copy_(std::move(working_copy)) {}

void WindowCheckObserver::CaretToStart() {
    if (caret_to_start) {
        caret_to_start();
    }
}

void WindowCheckObserver::PlaySound(std::string_view file) {
    desktop::PlaySoundFile(file);
}

void WindowCheckObserver::ShowFinishMessage(std::string_view text) {
    ShowMessage(window_.window(), text, "Velnora", MessageButtons::kOk, MessageIcon::kInformation);
}

}  // namespace velnora::window
