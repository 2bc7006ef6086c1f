#pragma once

// The main window's placement in velnora.ini, section [POSITION], and the topmost flag kept in
// [CONFIG] beside it.

#include <string>
#include <string_view>

#include "settings/keys.h"

namespace velnora::settings {

struct WindowPlacement {
    int left = keys::kLeft.fallback;  // the normal (restored) frame, in screen coordinates
    int top = keys::kTop.fallback;
    int cx = keys::kWidth.fallback;
    int cy = keys::kHeight.fallback;
    int tree_width = keys::kTreeWidth.fallback;  // the width of the page tree
    int maximized = keys::kMaximized.fallback;
};

struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Holds a stored placement against the desktop's work area so that the window is visible: a top
// above the work area or not above its bottom becomes its top, a left outside it its left, and a
// width or height of 0 or less, or larger than the work area, becomes the work area's.
WindowPlacement ClampPlacement(WindowPlacement placement, const ScreenArea& work_area);

// Reads the placement (with its defaults, not yet clamped) and the topmost flag.
void LoadWindowPlacement(std::string_view settings_path, WindowPlacement& placement, int& topmost);
// False, with the reason, when the file could not be read or written.
[[nodiscard]] bool SaveWindowPlacement(std::string_view settings_path,
                                       const WindowPlacement& placement, int topmost,
                                       std::string* error = nullptr);

}  // namespace velnora::settings
