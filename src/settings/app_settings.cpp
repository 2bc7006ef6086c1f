#include "settings/app_settings.h"

#include "ini/ini_file.h"

namespace velnora::settings {

namespace {

constexpr std::string_view kFont = "FONT";
constexpr std::string_view kConfig = "CONFIG";

std::string Numbered(std::string_view prefix, int i) {
    return std::string(prefix) + std::to_string(i);
}

int InRangeOr(int value, int low, int high, int fallback) {
    return (value < low || value > high) ? fallback : value;
}

int AsByte(int value) {
    return value & 0xFF;
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
    auto font_int = [&](std::string_view key, int fallback) {
        return ini.GetInt(kFont, key, fallback);
    };
    auto number = [&](std::string_view key, int fallback) {
        return ini.GetInt(kConfig, key, fallback);
    };
    auto text = [&](std::string_view key, std::string_view fallback, std::size_t size) {
        return ini.GetString(kConfig, key, fallback, size);
    };

    s.face_name = ini.GetString(kFont, "FACENAME", kDefaultFaceName, 64);
    s.point = font_int("POINT", 10);
    s.bold = font_int("BOLD", 0);
    s.italic = AsByte(font_int("ITALIC", 0));
    s.underline = AsByte(font_int("UNDERLINE", 0));
    s.strikeout = AsByte(font_int("STRIKEOUT", 0));
    s.charset = AsByte(font_int("CHARSET", 128));
    s.color = static_cast<ColorRef>(font_int("COLOR", 0));
    s.back_color = static_cast<ColorRef>(font_int("BACKCOLOR", 16777215));
    s.highlight_color = static_cast<ColorRef>(font_int("HIGHLIGHTCOLOR", 65535));
    for (int i = 0; i < kCustomColorCount; ++i) {
        s.custom_colors[i] = static_cast<ColorRef>(font_int(Numbered("CUSTCOLOR", i), 0));
    }
    s.line_height = font_int("LINE_HEIGHT", 130);

    s.proxy_url = text("PROXY_URL", "", 2101);
    s.proxy_port = number("PROXY_PORT", 8080);
    s.use_proxy = number("USE_PROXY", 0);
    s.use_head = number("USE_HEAD", 1);
    s.retry = number("RETRY", 3);
    s.timeout = number("TIMEOUT", 30);
    s.n_reload = InRangeOr(number("N_RELOAD", 3), 1, 24, 3);
    s.nochange_msg = number("NOCHANGE_MSG", 1);
    s.max_disp_line = InRangeOr(number("MAX_DISP_LINE", 100), 1, 2000, 100);
    s.ignore_image_name = number("IGNORE_IMAGE_NAME", 1);
    s.disp_image_name = number("DISP_IMAGE_NAME", 0);
    s.image_link = number("IMAGE_LINK", 0);
    s.use_browser = number("USE_BROWSER", 0);
    s.browser = text("BROWSER", "", 261);
    s.startup_check = number("STARTUP_CHECK", 0);
    s.finish_message = number("FINISH_MESSAGE", 1);
    s.save_history = number("SAVE_HISTORY", 0);
    s.use_highlight = number("USE_HIGHLIGHT", 0);
    for (int i = 0; i < kHighlightCount; ++i) {
        s.highlights[i] = text(Numbered("HIGHLIGHT", i), "", 65);
    }
    s.use_notify_sound = number("USE_NOTIFY_SOUND", 0);
    s.notify_sound = text("NOTIFY_SOUND", "", 261);
    s.header = DecodeHeader(text("HEADER", kDefaultHeader, 251));
}

bool SaveAppSettings(std::string_view settings_path, const AppSettings& s) {
    ini::IniFile ini;
    if (!ini.Load(settings_path)) {
        return false;
    }
    auto font_int = [&](std::string_view key, long long value) {
        ini.SetString(kFont, key, std::to_string(value));
    };
    auto number = [&](std::string_view key, int value) { ini.SetInt(kConfig, key, value); };
    auto text = [&](std::string_view key, std::string_view value) {
        ini.SetString(kConfig, key, value);
    };

    ini.SetString(kFont, "FACENAME", s.face_name);
    font_int("POINT", s.point);
    font_int("BOLD", s.bold);
    font_int("ITALIC", s.italic);
    font_int("UNDERLINE", s.underline);
    font_int("STRIKEOUT", s.strikeout);
    font_int("CHARSET", s.charset);
    font_int("COLOR", s.color);
    font_int("BACKCOLOR", s.back_color);
    font_int("HIGHLIGHTCOLOR", s.highlight_color);
    for (int i = 0; i < kCustomColorCount; ++i) {
        font_int(Numbered("CUSTCOLOR", i), s.custom_colors[i]);
    }
    font_int("LINE_HEIGHT", s.line_height);

    text("PROXY_URL", s.proxy_url);
    number("PROXY_PORT", s.proxy_port);
    number("USE_PROXY", s.use_proxy);
    number("USE_HEAD", s.use_head);
    number("RETRY", s.retry);
    number("TIMEOUT", s.timeout);
    number("N_RELOAD", s.n_reload);
    number("NOCHANGE_MSG", s.nochange_msg);
    number("MAX_DISP_LINE", s.max_disp_line);
    number("IGNORE_IMAGE_NAME", s.ignore_image_name);
    number("DISP_IMAGE_NAME", s.disp_image_name);
    number("IMAGE_LINK", s.image_link);
    number("USE_BROWSER", s.use_browser);
    text("BROWSER", s.browser);
    number("STARTUP_CHECK", s.startup_check);
    number("FINISH_MESSAGE", s.finish_message);
    number("SAVE_HISTORY", s.save_history);
    number("USE_HIGHLIGHT", s.use_highlight);
    for (int i = 0; i < kHighlightCount; ++i) {
        text(Numbered("HIGHLIGHT", i), s.highlights[i]);
    }
    number("USE_NOTIFY_SOUND", s.use_notify_sound);
    text("NOTIFY_SOUND", s.notify_sound);
    text("HEADER", EncodeHeader(s.header));
    return ini.Save(settings_path);
}

}  // namespace velnora::settings
