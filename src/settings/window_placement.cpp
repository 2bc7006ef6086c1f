#include "settings/window_placement.h"

#include "ini/ini_file.h"
#include "ini/keys.h"

namespace velnora::settings {

WindowPlacement ClampPlacement(WindowPlacement p, const ScreenArea& area) {
    if (p.top < area.y || p.top >= area.y + area.height) {
        p.top = area.y;
    }
    if (p.left < area.x || p.left >= area.x + area.width) {
        p.left = area.x;
    }
    if (p.cx <= 0 || p.cx > area.width) {
        p.cx = area.width;
    }
    if (p.cy <= 0 || p.cy > area.height) {
        p.cy = area.height;
    }
    return p;
}

void LoadWindowPlacement(std::string_view settings_path, WindowPlacement& p, int& topmost) {
    ini::IniFile ini;
    ini.Load(settings_path);
    p.left = ini::Read(ini, keys::kLeft);
    p.top = ini::Read(ini, keys::kTop);
    p.cx = ini::Read(ini, keys::kWidth);
    p.cy = ini::Read(ini, keys::kHeight);
    p.tree_width = ini::Read(ini, keys::kTreeWidth);
    p.maximized = ini::Read(ini, keys::kMaximized);
    topmost = ini::Read(ini, keys::kTopmost);
}

bool SaveWindowPlacement(std::string_view settings_path, const WindowPlacement& p, int topmost,
                         std::string* error) {
    ini::IniFile ini;
    if (!ini.Load(settings_path, error)) {
        return false;
    }
    ini::Write(ini, keys::kLeft, p.left);
    ini::Write(ini, keys::kTop, p.top);
    ini::Write(ini, keys::kWidth, p.cx);
    ini::Write(ini, keys::kHeight, p.cy);
    ini::Write(ini, keys::kTreeWidth, p.tree_width);
    ini::Write(ini, keys::kMaximized, p.maximized);
    ini::Write(ini, keys::kTopmost, topmost);
    return ini.Save(settings_path, error);
}

}  // namespace velnora::settings
