#pragma once

// What a check shows in the window: the result pane's displays, the status bar, the tree's
// unread marks, the command lock, the completion sound and notice.

#include <functional>

#include "results/display_check_observer.h"
#include "store/page_tree.h"
#include "window/window_services.h"

namespace velnora::window {

class WindowCheckObserver : public results::DisplayCheckObserver {
  public:
    // working_copy gives the record that the result display, the sheets and the commands share.
    WindowCheckObserver(WindowServices& window, store::PageTree& tree,
                        std::function<store::ItemRecord&()> working_copy);

    void SetStatusText(std::string_view text) override { window_.SetStatusText(text); }
    void ClearPane() override { window_.ClearPane(); }
    void CaretToStart() override;
    void LockCommands(bool enable) override { window_.LockCommands(enable); }
    void MarkUpdated(store::ItemId item) override { tree_.MarkUpdated(item); }
    void ClearUpdated(store::ItemId item) override { tree_.ClearUpdated(item); }
    void PlaySound(std::string_view file) override;
    void ShowFinishMessage(std::string_view text) override;

    // Called when the pane's caret should go to its start.
    std::function<void()> caret_to_start;

  private:
    // The page shown last is the working copy of the sheets and commands.
    void OnPageShown(const store::ItemRecord& page) override { working_copy_() = page; }

    WindowServices& window_;
    store::PageTree& tree_;
    std::function<store::ItemRecord&()> working_copy_;
};

}  // namespace velnora::window
