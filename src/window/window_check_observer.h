#pragma once

// What a check shows in the window: the result pane's displays, the status bar, the tree's
// unread marks, the command lock, the completion sound and notice.

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

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
    void ErrorLine(const store::ItemRecord& page, std::string_view message) override;
    void PageDone(const store::ItemRecord& page) override;
    void ClearPane() override { window_.ClearPane(); }
    void CaretToStart() override;
    void LockCommands(bool enable) override { window_.LockCommands(enable); }
    void MarkUpdated(store::ItemId item) override { tree_.MarkUpdated(item); }
    void ClearUpdated(store::ItemId item) override { tree_.ClearUpdated(item); }
    void PlaySound(std::string_view file) override;
    void ShowFinishMessage(std::string_view text) override;

    // Called when the pane's caret should go to its start.
    std::function<void()> caret_to_start;
    // Called when a page's check failed (with the error text) or is done without an error
    // (nullopt).
    std::function<void(store::ItemId page, std::optional<std::string> error)> page_error;
    // Called once for each page of the check that is done: its result recorded, or its error
    // shown.
    std::function<void()> page_counted;
    // Called when the check is over, before its completion notice.
    std::function<void()> check_finished;
    // A new check begins: every page counts again.
    void ResetCount() { counted_.clear(); }

  private:
    // The page shown last is the working copy of the sheets and commands.
    void OnPageShown(const store::ItemRecord& page) override { working_copy_() = page; }

    WindowServices& window_;
    store::PageTree& tree_;
    std::function<store::ItemRecord&()> working_copy_;
    // The error line a page got during the check, until the page is done.
    std::unordered_map<store::ItemId, std::string> errors_;
    std::unordered_set<store::ItemId> counted_;
    void Count(store::ItemId page);
};

}  // namespace velnora::window
