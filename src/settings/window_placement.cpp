#include "settings/window_placement.h"

#include "ini/ini_file.h"

namespace velnora::settings {

namespace {
constexpr std::string_view kPosition = "POSITION";
constexpr std::string_view kConfig = "CONFIG";
}  // namespace

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
    p.left = ini.GetInt(kPosition, "LEFT", 0);
    p.top = ini.GetInt(kPosition, "TOP", 0);
    p.cx = ini.GetInt(kPosition, "CX", 620);
    p.cy = ini.GetInt(kPosition, "CY", 400);
    p.tree_width = ini.GetInt(kPosition, "W", 150);
    p.maximized = ini.GetInt(kPosition, "MAXIMIZED", 0);
    topmost = ini.GetInt(kConfig, "TOPMOST", 0);
}

bool SaveWindowPlacement(std::string_view settings_path, const WindowPlacement& p, int topmost) {
    ini::IniFile ini;
    if (!ini.Load(settings_path)) {
        return false;
    }
    ini.SetInt(kPosition, "LEFT", p.left);
    ini.SetInt(kPosition, "TOP", p.top);
    ini.SetInt(kPosition, "CX", p.cx);
    ini.SetInt(kPosition, "CY", p.cy);
    ini.SetInt(kPosition, "W", p.tree_width);
    ini.SetInt(kPosition, "MAXIMIZED", p.maximized);
    ini.SetInt(kConfig, "TOPMOST", topmost);
    return ini.Save(settings_path);
}

}  // namespace velnora::settings
