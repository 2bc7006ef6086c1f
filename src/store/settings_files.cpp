#include "store/settings_files.h"

#include <cerrno>
#include <string>

#include "files/file_system.h"
#include "ini/ini_file.h"
#include "ini/keys.h"
#include "store/page_files.h"

namespace velnora::store {

namespace {

int TooLong(std::string* error) {
    if (error != nullptr) {
        *error = files::SystemErrorText(ENAMETOOLONG);
    }
    return -1;
}

// Hands every key of site.ini, in the order of a newly created file, to `visit` with the field
// it fills: visit(key, field) for single keys, visit(key, field, number) for numbered ones.
template <typename Settings, typename Visitor>
void VisitPageKeys(Settings& s, Visitor&& visit) {
    visit(keys::kUseOldLog, s.use_old_log);
    visit(keys::kIgnoreNumberDiff, s.ignore_number_diff);
    visit(keys::kIgnoreNumberOnlyLine, s.ignore_number_only_line);
    visit(keys::kIgnoreSameText, s.ignore_same_text);
    visit(keys::kUrl, s.url);
    visit(keys::kBrowseUrl, s.browse_url);
    visit(keys::kNoProxy, s.noproxy);
    visit(keys::kDontUseHead, s.dont_use_head);
    visit(keys::kTableSetting, s.table_setting);
    visit(keys::kCharsetSel, s.charset_sel);
    for (int i = 0; i < kNgWordCount; ++i) {
        visit(keys::kNgWords, s.ngwords[i], i);
    }
    visit(keys::kAuthType, s.auth_type);
    visit(keys::kAuthId, s.auth_id);
    visit(keys::kAuthPass, s.auth_pass);
    visit(keys::kDisableAutoCheck, s.disable_auto_check);
    visit(keys::kCheckAreaStart, s.check_area.start_string);
    visit(keys::kCheckAreaEnd, s.check_area.end_string);
    visit(keys::kCheckAreaStartType, s.check_area.start_type);
    visit(keys::kCheckAreaEndType, s.check_area.end_type);
    visit(keys::kIgnoreAreaStart, s.ignore_area.start_string);
    visit(keys::kIgnoreAreaEnd, s.ignore_area.end_string);
    visit(keys::kIgnoreAreaStartType, s.ignore_area.start_type);
    visit(keys::kIgnoreAreaEndType, s.ignore_area.end_type);
    visit(keys::kComment, s.comment);
    visit(keys::kIgnoreUrl, s.ignore_url);
    visit(keys::kAsText, s.as_text);
    visit(keys::kCheckInterval, s.check_interval);
}

// The same for group.ini.
template <typename Settings, typename Visitor>
void VisitFolderKeys(Settings& s, Visitor&& visit) {
    visit(keys::kDisableAutoCheck, s.disable_auto_check);
    visit(keys::kCheckInterval, s.check_interval);
}

}  // namespace

int ReadPageSettings(std::string_view page_directory, PageSettings& record, std::string* error) {
    auto path = PagePath(page_directory, kSiteIni);
    if (!path) {
        return TooLong(error);
    }
    ini::IniFile ini;
    if (!ini.Load(*path, error)) {
        return -1;
    }
    VisitPageKeys(record, ini::KeyReader{ini});
    return 0;
}

int ChangeItemIni(std::string_view directory, std::string_view file_name,
                  const std::function<bool(ini::IniFile&)>& change, std::string* error,
                  files::Durability durability) {
    auto path = PagePath(directory, file_name);
    if (!path) {
        return TooLong(error);
    }
    ini::IniFile ini;
    if (!ini.Load(*path, error)) {
        return -1;
    }
    if (!change(ini)) {
        return 0;
    }
    return ini.Save(*path, error, durability) ? 0 : -1;
}

int WritePageSettings(std::string_view page_directory, const PageSettings& record,
                      std::string* error) {
    return ChangeItemIni(
        page_directory, kSiteIni,
        [&](ini::IniFile& ini) {
            VisitPageKeys(record, ini::KeyWriter{ini});
            return true;
        },
        error);
}

int ReadFolderSettings(std::string_view directory, FolderSettings& record) {
    auto path = PagePath(directory, kGroupIni);
    if (!path) {
        return -1;
    }
    ini::IniFile ini;
    ini.Load(*path);
    VisitFolderKeys(record, ini::KeyReader{ini});
    return 0;
}

int WriteFolderSettings(std::string_view directory, const FolderSettings& record,
                        std::string* error) {
    return ChangeItemIni(
        directory, kGroupIni,
        [&](ini::IniFile& ini) {
            VisitFolderKeys(record, ini::KeyWriter{ini});
            return true;
        },
        error);
}

int ReadAutoCheckFlag(bool is_page, std::string_view directory) {
    auto path = PagePath(directory, is_page ? kSiteIni : kGroupIni);
    if (!path) {
        return -1;
    }
    return ini::GetProfileInt(*path, keys::kDisableAutoCheck);
}

int WriteCheckInterval(bool is_page, std::string_view directory, int minutes) {
    return ChangeItemIni(directory, is_page ? kSiteIni : kGroupIni, [&](ini::IniFile& ini) {
        ini::Write(ini, keys::kCheckInterval, minutes);
        return true;
    });
}

int ReadResultCode(std::string_view page_directory) {
    auto path = PagePath(page_directory, kResultIni);
    if (!path) {
        return -1;
    }
    return ini::GetProfileInt(*path, keys::kCode);
}

int WriteResultCode(std::string_view page_directory, int code, std::string* error) {
    std::string value = std::to_string(code);
    // Not flushed to the disk at once, unlike the settings: it only says how the last check
    // ended, the next check writes it again, and a check may write it for every page.
    return ChangeItemIni(
        page_directory, kResultIni,
        [&](ini::IniFile& ini) {
            // Most checks record what the file holds already; then it is left as it is.
            if (ini.GetString(keys::kCode.section, keys::kCode.name, "", 32) == value) {
                return false;
            }
            ini::Write(ini, keys::kCode, code);
            return true;
        },
        error, files::Durability::kCached);
}

}  // namespace velnora::store
