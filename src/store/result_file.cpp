#include "store/result_file.h"

#include <charconv>
#include <functional>
#include <optional>

#include "files/binary_file.h"
#include "ini/ini_file.h"
#include "ini/keys.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "store/settings_keys.h"

namespace velnora::store {

namespace {

std::optional<ini::IniFile> LoadResult(std::string_view page_directory) {
    auto path = PagePath(page_directory, kResultIni);
    if (!path) {
        return std::nullopt;
    }
    ini::IniFile ini;
    ini.Load(*path);
    return ini;
}

// Changes result.ini with `change`, which returns false when nothing needs to be written.
bool ChangeResult(std::string_view page_directory,
                  const std::function<bool(ini::IniFile&)>& change) {
    return ChangeItemIni(page_directory, kResultIni, change, nullptr, files::Durability::kCached) ==
           0;
}

}  // namespace

std::int64_t ReadLastCheck(std::string_view page_directory) {
    auto ini = LoadResult(page_directory);
    if (!ini) {
        return 0;
    }
    std::string text = ini::Read(*ini, keys::kLastCheck);
    std::int64_t seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 0) {
        return 0;
    }
    return seconds;
}

bool WriteLastCheck(std::string_view page_directory, std::int64_t seconds) {
    return ChangeResult(page_directory, [&](ini::IniFile& ini) {
        ini::Write(ini, keys::kLastCheck, std::to_string(seconds));
        return true;
    });
}

bool ReadUnreadMark(std::string_view page_directory) {
    auto ini = LoadResult(page_directory);
    return ini && ini::Read(*ini, keys::kUnread) != 0;
}

bool WriteUnreadMark(std::string_view page_directory, bool unread) {
    return ChangeResult(page_directory, [&](ini::IniFile& ini) {
        if ((ini::Read(ini, keys::kUnread) != 0) == unread) {
            return false;  // as stored already
        }
        ini::Write(ini, keys::kUnread, unread ? 1 : 0);
        return true;
    });
}

std::string ReadMovedUrl(std::string_view page_directory) {
    auto ini = LoadResult(page_directory);
    return ini ? ini::Read(*ini, keys::kMovedUrl) : std::string();
}

bool WriteMovedUrl(std::string_view page_directory, std::string_view url) {
    return ChangeResult(page_directory, [&](ini::IniFile& ini) {
        if (ini::Read(ini, keys::kMovedUrl) == url) {
            return false;
        }
        ini::Write(ini, keys::kMovedUrl, url);
        return true;
    });
}

}  // namespace velnora::store
