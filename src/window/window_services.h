#pragma once

// What the main window offers the parts of the window that act on its behalf (tree operations,
// property sheets, the clearing of past logs). Texts are Shift_JIS.

#include <QWidget>
#include <string_view>

#include "results/display.h"
#include "settings/app_settings.h"
#include "store/records.h"

namespace velnora::window {

class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // The window that owns message boxes and sheets.
    virtual QWidget* window() = 0;
    virtual const settings::AppSettings& settings() const = 0;

    // The status bar's single text, shown at once.
    virtual void SetStatusText(std::string_view text) = 0;
    // Disables (false) or enables (true) the tree, the menus and most toolbar buttons.
    virtual void LockCommands(bool enable) = 0;
    // Non-zero while a check runs.
    virtual bool CheckRunning() const = 0;
    // The status bar's progress bar: `done` of `total` pages; hidden when total is 0.
    virtual void ShowProgress(int done, int total) = 0;

    // The result pane: emptied with its links, blocks and highlights, and its displays.
    virtual void ClearPane() = 0;
    virtual results::ResultDisplay& display() = 0;

    // Opens an address in the system's handler or the user's browser (with the messages when
    // the browser cannot be started).
    virtual void OpenAddress(std::string_view address) = 0;

    // The program home's write lock around one write (see HomeWrites::Hold); false when it
    // cannot be had and nothing may be written. Each true is followed by EndHomeWrite.
    virtual bool BeginHomeWrite() { return true; }
    virtual void EndHomeWrite() {}
};

// Holds the program home's write lock for the life of the object: the write goes in between.
class HomeWriteScope {
  public:
    explicit HomeWriteScope(WindowServices& services)
        : services_(services), held_(services.BeginHomeWrite()) {}
    ~HomeWriteScope() {
        if (held_) {
            services_.EndHomeWrite();
        }
    }
    HomeWriteScope(const HomeWriteScope&) = delete;
    HomeWriteScope& operator=(const HomeWriteScope&) = delete;

    // False when nothing may be written.
    explicit operator bool() const { return held_; }

  private:
    WindowServices& services_;
    bool held_;
};

}  // namespace velnora::window
