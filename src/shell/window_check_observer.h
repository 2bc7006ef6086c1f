#pragma once

// What a check shows in the window: the result pane's displays, the status bar, the tree's
// unread marks, the command lock, the completion sound and notice.

#include <functional>

#include "fetch/check_observer.h"
#include "shell/window_services.h"
#include "store/page_tree.h"

namespace velnora::shell {

class WindowCheckObserver : public fetch::CheckObserver {
public:
    // working_copy gives the record that the result display, the sheets and the commands share.
    WindowCheckObserver(WindowServices& window, store::PageTree& tree,
                        std::function<store::ItemRecord&()> working_copy);

    void SetStatusText(std::string_view text) override { window_.SetStatusText(text); }
    void StatusLine(const store::ItemRecord& page, std::string_view message) override;
    void ErrorLine(const store::ItemRecord& page, std::string_view message) override;
    void ClearPane() override { window_.ClearPane(); }
    void ShowResultsAfterCheck(store::ItemRecord& page, int count) override;
    void CaretToStart() override;
    void ShowCurrentText(store::ItemRecord& page) override;
    void LockCommands(bool enable) override { window_.LockCommands(enable); }
    void MarkUpdated(store::ItemId item) override { tree_.MarkUpdated(item); }
    void ClearUpdated(store::ItemId item) override { tree_.ClearUpdated(item); }
    void PlaySound(std::string_view file) override;
    void ShowFinishMessage(std::string_view text) override;

    // Called when the pane's caret should go to its start.
    std::function<void()> caret_to_start;

private:
    WindowServices& window_;
    store::PageTree& tree_;
    std::function<store::ItemRecord&()> working_copy_;
};

}  // namespace velnora::shell
