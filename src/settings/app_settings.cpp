#include "settings/app_settings.h"

#include "ini/ini_file.h"
#include "ini/keys.h"

namespace velnora::settings {

namespace {

// Hands every key of the record, in the file's order, to `visit` with the field it fills:
// visit(key, field) for single keys, visit(key, field, number) for numbered ones.
template <typename Settings, typename Visitor>
void VisitKeys(Settings& s, Visitor&& visit) {
    visit(keys::kFaceName, s.face_name);
    visit(keys::kPoint, s.point);
    visit(keys::kBold, s.bold);
    visit(keys::kItalic, s.italic);
    visit(keys::kUnderline, s.underline);
    visit(keys::kStrikeout, s.strikeout);
    visit(keys::kCharset, s.charset);
    visit(keys::kColor, s.color);
    visit(keys::kBackColor, s.back_color);
    visit(keys::kHighlightColor, s.highlight_color);
    for (int i = 0; i < kCustomColorCount; ++i) {
        visit(keys::kCustomColors, s.custom_colors[i], i);
    }
    visit(keys::kLineHeight, s.line_height);

    visit(keys::kProxyUrl, s.proxy_url);
    visit(keys::kProxyPort, s.proxy_port);
    visit(keys::kUseProxy, s.use_proxy);
    visit(keys::kUseHead, s.use_head);
    visit(keys::kRetry, s.retry);
    visit(keys::kTimeout, s.timeout);
    visit(keys::kNReload, s.n_reload);
    visit(keys::kNoChangeMsg, s.nochange_msg);
    visit(keys::kMaxDispLine, s.max_disp_line);
    visit(keys::kIgnoreImageName, s.ignore_image_name);
    visit(keys::kDispImageName, s.disp_image_name);
    visit(keys::kImageLink, s.image_link);
    visit(keys::kUseBrowser, s.use_browser);
    visit(keys::kBrowser, s.browser);
    visit(keys::kStartupCheck, s.startup_check);
    visit(keys::kFinishMessage, s.finish_message);
    visit(keys::kSaveHistory, s.save_history);
    visit(keys::kUseHighlight, s.use_highlight);
    for (int i = 0; i < kHighlightCount; ++i) {
        visit(keys::kHighlights, s.highlights[i], i);
    }
    visit(keys::kUseNotifySound, s.use_notify_sound);
    visit(keys::kNotifySound, s.notify_sound);
    visit(keys::kHeader, s.header);
    visit(keys::kCheckInterval, s.check_interval);
    visit(keys::kActiveFrom, s.active_from);
    visit(keys::kActiveTo, s.active_to);
    visit(keys::kAutoCheck, s.auto_check);
    visit(keys::kFollowRedirects, s.follow_redirects);
    visit(keys::kDesktopNotify, s.desktop_notify);
    visit(keys::kKeepInTray, s.keep_in_tray);
}

}  // namespace

std::string EncodeHeader(std::string_view header) {
    std::string stored(header);
    for (char& c : stored) {
        if (c == '\r') {
            c = '\x01';
        } else if (c == '\n') {
            c = '\x02';
        }
    }
    return stored;
}

std::string DecodeHeader(std::string_view stored) {
    std::string header(stored);
    for (char& c : header) {
        if (c == '\x01') {
            c = '\r';
        } else if (c == '\x02') {
            c = '\n';
        }
    }
    return header;
}

void LoadAppSettings(std::string_view settings_path, AppSettings& s) {
    ini::IniFile ini;
    ini.Load(settings_path);
    VisitKeys(s, ini::KeyReader{ini});
    s.header = DecodeHeader(s.header);
}

bool SaveAppSettings(std::string_view settings_path, const AppSettings& s, std::string* error) {
    ini::IniFile ini;
    if (!ini.Load(settings_path, error)) {
        return false;
    }
    AppSettings stored = s;
    stored.header = EncodeHeader(s.header);
    VisitKeys(stored, ini::KeyWriter{ini});
    return ini.Save(settings_path, error);
}

}  // namespace velnora::settings
