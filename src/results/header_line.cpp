#include "results/header_line.h"

#include <array>
#include <cstdio>
#include <string>

#include "results/characters.h"
#include "results/link_targets.h"
#include "results/texts.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

enum class Placeholder { kLink, kDate, kTime, kConfig, kComment };

struct PlaceholderName {
    std::string_view name;
    Placeholder placeholder;
};

constexpr std::array<PlaceholderName, 5> kPlaceholders = {{
    {"%link;", Placeholder::kLink},
    {"%date;", Placeholder::kDate},
    {"%time;", Placeholder::kTime},
    {"%config;", Placeholder::kConfig},
    {"%comment;", Placeholder::kComment},
}};

const PlaceholderName* PlaceholderAt(std::string_view text) {
    for (const PlaceholderName& entry : kPlaceholders) {
        if (text.size() >= entry.name.size() &&
            text::EqualNoCase(text.substr(0, entry.name.size()), entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string FormatFileTime(std::time_t time, bool date) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    char buffer[32];
    if (date) {
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday);
    } else {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                      local.tm_sec);
    }
    return buffer;
}

}  // namespace

void AppendHeaderLine(ResultDocument& document, std::string_view header_template,
                      const store::ItemRecord& page, std::optional<std::time_t> file_time) {
    std::string plain;
    auto flush = [&] {
        document.AppendText(plain);
        plain.clear();
    };
    std::size_t i = 0;
    while (i < header_template.size()) {
        char c = header_template[i];
        if (c == '\r') {
            plain += '\n';
            i += (i + 1 < header_template.size() && header_template[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        const PlaceholderName* found =
            c == '%' ? PlaceholderAt(header_template.substr(i)) : nullptr;
        if (found == nullptr) {
            std::size_t size = CharacterSize(header_template, i);
            plain.append(header_template.substr(i, size));
            i += size;
            continue;
        }
        i += found->name.size();
        switch (found->placeholder) {
            case Placeholder::kLink: {
                const store::PageSettings& settings = page.settings;
                flush();
                document.AppendLink(
                    settings.browse_url.empty() ? settings.url : settings.browse_url,
                    page.node.name, true);
                break;
            }
            case Placeholder::kDate:
            case Placeholder::kTime:
                if (file_time) {
                    plain += FormatFileTime(*file_time, found->placeholder == Placeholder::kDate);
                }
                break;
            case Placeholder::kConfig:
                flush();
                document.AppendLink(SettingsTarget(page.node.item), kSettingsLinkText, false);
                break;
            case Placeholder::kComment:
                plain += page.settings.comment;
                break;
        }
    }
    plain += '\n';
    flush();
}

}  // namespace velnora::results
