#pragma once

// The main window's placement in velnora.ini, section [POSITION], and the topmost flag kept in
// [CONFIG] beside it.

#include <string_view>

namespace velnora::settings {

struct WindowPlacement {
    int left = 0;  // the normal (restored) rectangle, in screen coordinates
    int top = 0;
    int cx = 620;
    int cy = 400;
    int tree_width = 150;  // W: the width of the page tree
    int maximized = 0;
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
bool SaveWindowPlacement(std::string_view settings_path, const WindowPlacement& placement,
                         int topmost);

}  // namespace velnora::settings
