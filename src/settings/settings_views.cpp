#include "settings/settings_views.h"

namespace velnora::settings {

fetch::CheckSettings CheckSettingsFrom(const AppSettings& s) {
    fetch::CheckSettings check;
    check.use_proxy = s.use_proxy;
    check.proxy_url = s.proxy_url;
    check.proxy_port = s.proxy_port;
    check.use_head = s.use_head;
    check.retry = s.retry;
    check.timeout = s.timeout;
    check.n_reload = s.n_reload;
    check.nochange_msg = s.nochange_msg;
    check.ignore_image_name = s.ignore_image_name;
    check.finish_message = s.finish_message;
    check.use_notify_sound = s.use_notify_sound;
    check.notify_sound = s.notify_sound;
    check.follow_redirects = s.follow_redirects;
    return check;
}

fetch::ActiveHours ActiveHoursFrom(const AppSettings& s) {
    return fetch::ActiveHours{s.active_from, s.active_to};
}

results::DisplaySettings DisplaySettingsFrom(const AppSettings& s) {
    results::DisplaySettings display;
    display.header = s.header;
    display.max_disp_line = s.max_disp_line;
    display.nochange_msg = s.nochange_msg;
    display.use_highlight = s.use_highlight;
    display.highlights = s.highlights;
    display.image_link = s.image_link;
    display.disp_image_name = s.disp_image_name;
    display.n_reload = s.n_reload;
    return display;
}

results::PaneAppearance PaneAppearanceFrom(const AppSettings& s) {
    results::PaneAppearance look;
    look.face_name = s.face_name;
    look.point = s.point;
    look.bold = s.bold;
    look.italic = s.italic;
    look.underline = s.underline;
    look.strikeout = s.strikeout;
    look.color = s.color;
    look.back_color = s.back_color;
    look.highlight_color = s.highlight_color;
    look.line_height = s.line_height;
    return look;
}

}  // namespace velnora::settings
