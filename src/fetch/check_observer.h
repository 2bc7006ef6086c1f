#pragma once

// What a check shows and changes outside itself: the result pane, the status bar, the tree's
// unread marks, the command lock, the completion notice. All calls come on the thread that runs
// the check; texts are Shift_JIS.

#include <string_view>

#include "store/records.h"

namespace velnora::fetch {

class CheckObserver {
  public:
    virtual ~CheckObserver() = default;

    virtual void SetStatusText(std::string_view text) = 0;
    // "■", the page's link, " : " and the message.
    virtual void StatusLine(const store::ItemRecord& page, std::string_view message) = 0;
    // "■", the page's link, " --- エラー : " and the message (also in the status bar).
    virtual void ErrorLine(const store::ItemRecord& page, std::string_view message) = 0;
    virtual void ClearPane() = 0;
    // The page's update texts (count of them, 0: by its result code); the record may be updated
    // with the page's settings, and becomes the working copy.
    virtual void ShowResultsAfterCheck(store::ItemRecord& page, int count) = 0;
    virtual void CaretToStart() = 0;
    // The current text of a page ("確認").
    virtual void ShowCurrentText(store::ItemRecord& page) = 0;

    virtual void LockCommands(bool enable) = 0;
    virtual void MarkUpdated(store::ItemId item) = 0;
    virtual void ClearUpdated(store::ItemId item) = 0;

    // A page of the check is done: its result is recorded (and shown as the settings say).
    virtual void PageDone(const store::ItemRecord& /*page*/) {}

    virtual void PlaySound(std::string_view file) = 0;
    // A modal notice; returns when the user has closed it.
    virtual void ShowFinishMessage(std::string_view text) = 0;
};

}  // namespace velnora::fetch
