#include "store/settings_files.h"

#include <cerrno>
#include <string>

#include "files/file_system.h"
#include "ini/ini_file.h"
#include "store/page_files.h"
#include "text/bounded_string.h"

namespace velnora::store {

namespace {

constexpr std::string_view kConfig = "CONFIG";
constexpr std::string_view kResult = "RESULT";

// Buffer sizes of the text keys: one byte more than the longest value kept.
constexpr std::size_t kUrlBuffer = text::kUrlSize;
constexpr std::size_t kCommentBuffer = 101;
constexpr std::size_t kWordBuffer = text::kWordSize;
constexpr std::size_t kPasswordBuffer = 193;

int TooLong(std::string* error) {
    if (error != nullptr) {
        *error = files::SystemErrorText(ENAMETOOLONG);
    }
    return -1;
}

std::string NgWordKey(int i) {
    return "NGWORD" + std::to_string(i);
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
    auto text = [&](std::string_view key, std::size_t size) {
        return ini.GetString(kConfig, key, "", size);
    };
    auto number = [&](std::string_view key, int fallback) {
        return ini.GetInt(kConfig, key, fallback);
    };

    record.use_old_log = number("USE_OLD_LOG", 1);
    if (record.use_old_log < 0 || record.use_old_log > 24) {
        record.use_old_log = 1;
    }
    record.noproxy = number("NOPROXY", 0);
    record.dont_use_head = number("DONT_USE_HEAD", 0);
    record.table_setting = number("TABLE_SETTING", 0);
    record.ignore_number_diff = number("IGNORE_NUMBER_DIFF", 0);
    record.ignore_number_only_line = number("IGNORE_NUMBER_ONLY_LINE", 0);
    record.ignore_same_text = number("IGNORE_SAME_TEXT", 0);
    record.charset_sel = number("CHARSET_SEL", 0);
    record.url = text("URL", kUrlBuffer);
    record.browse_url = text("BROWSE_URL", kUrlBuffer);
    for (int i = 0; i < kNgWordCount; ++i) {
        record.ngwords[i] = text(NgWordKey(i), kWordBuffer);
    }
    record.auth_type = number("AUTH_TYPE", 0);
    record.auth_id = text("AUTH_ID", kWordBuffer);
    record.auth_pass = text("AUTH_PASS", kPasswordBuffer);
    record.disable_auto_check = number("DISABLE_AUTO_CHECK", 0);
    record.check_area.start_string = text("CHECK_AREA_START_STRING", kWordBuffer);
    record.check_area.end_string = text("CHECK_AREA_END_STRING", kWordBuffer);
    record.check_area.start_type = number("CHECK_AREA_START_TYPE", 0);
    record.check_area.end_type = number("CHECK_AREA_END_TYPE", 0);
    record.ignore_area.start_string = text("IGNORE_AREA_START_STRING0", kWordBuffer);
    record.ignore_area.end_string = text("IGNORE_AREA_END_STRING0", kWordBuffer);
    record.ignore_area.start_type = number("IGNORE_AREA_START_TYPE0", 0);
    record.ignore_area.end_type = number("IGNORE_AREA_END_TYPE0", 0);
    record.comment = text("COMMENT", kCommentBuffer);
    record.ignore_url = number("IGNORE_URL", 0);
    record.as_text = number("AS_TEXT", 0);
    return 0;
}

int WritePageSettings(std::string_view page_directory, const PageSettings& record,
                      std::string* error) {
    auto path = PagePath(page_directory, kSiteIni);
    if (!path) {
        return TooLong(error);
    }
    ini::IniFile ini;
    if (!ini.Load(*path, error)) {
        return -1;  // a file that exists but cannot be read is not replaced
    }
    auto text = [&](std::string_view key, const std::string& value) {
        ini.SetString(kConfig, key, value);
    };
    auto number = [&](std::string_view key, int value) { ini.SetInt(kConfig, key, value); };

    number("USE_OLD_LOG", record.use_old_log);
    number("IGNORE_NUMBER_DIFF", record.ignore_number_diff);
    number("IGNORE_NUMBER_ONLY_LINE", record.ignore_number_only_line);
    number("IGNORE_SAME_TEXT", record.ignore_same_text);
    text("URL", record.url);
    text("BROWSE_URL", record.browse_url);
    number("NOPROXY", record.noproxy);
    number("DONT_USE_HEAD", record.dont_use_head);
    number("TABLE_SETTING", record.table_setting);
    number("CHARSET_SEL", record.charset_sel);
    for (int i = 0; i < kNgWordCount; ++i) {
        text(NgWordKey(i), record.ngwords[i]);
    }
    number("AUTH_TYPE", record.auth_type);
    text("AUTH_ID", record.auth_id);
    text("AUTH_PASS", record.auth_pass);
    number("DISABLE_AUTO_CHECK", record.disable_auto_check);
    text("CHECK_AREA_START_STRING", record.check_area.start_string);
    text("CHECK_AREA_END_STRING", record.check_area.end_string);
    number("CHECK_AREA_START_TYPE", record.check_area.start_type);
    number("CHECK_AREA_END_TYPE", record.check_area.end_type);
    text("IGNORE_AREA_START_STRING0", record.ignore_area.start_string);
    text("IGNORE_AREA_END_STRING0", record.ignore_area.end_string);
    number("IGNORE_AREA_START_TYPE0", record.ignore_area.start_type);
    number("IGNORE_AREA_END_TYPE0", record.ignore_area.end_type);
    text("COMMENT", record.comment);
    number("IGNORE_URL", record.ignore_url);
    number("AS_TEXT", record.as_text);
    return ini.Save(*path, error) ? 0 : -1;
}

int ReadFolderSettings(std::string_view directory, FolderSettings& record) {
    auto path = PagePath(directory, kGroupIni);
    if (!path) {
        return -1;
    }
    record.disable_auto_check = ini::GetProfileInt(*path, kConfig, "DISABLE_AUTO_CHECK", 0);
    return 0;
}

int WriteFolderSettings(std::string_view directory, const FolderSettings& record,
                        std::string* error) {
    auto path = PagePath(directory, kGroupIni);
    if (!path) {
        return TooLong(error);
    }
    return WriteIntKey(kConfig, "DISABLE_AUTO_CHECK", record.disable_auto_check, *path, error) ? 0
                                                                                               : -1;
}

int ReadAutoCheckFlag(bool is_page, std::string_view directory) {
    auto path = PagePath(directory, is_page ? kSiteIni : kGroupIni);
    if (!path) {
        return -1;
    }
    return ini::GetProfileInt(*path, kConfig, "DISABLE_AUTO_CHECK", 0);
}

int ReadResultCode(std::string_view page_directory) {
    auto path = PagePath(page_directory, kResultIni);
    if (!path) {
        return -1;
    }
    return ini::GetProfileInt(*path, kResult, "CODE", 0);
}

int WriteResultCode(std::string_view page_directory, int code, std::string* error) {
    auto path = PagePath(page_directory, kResultIni);
    if (!path) {
        return TooLong(error);
    }
    // Most checks record what the file holds already; then it is left as it is.
    ini::IniFile ini;
    std::string value = std::to_string(code);
    if (!ini.Load(*path, error)) {
        return -1;
    }
    if (ini.GetString(kResult, "CODE", "", 32) == value) {
        return 0;
    }
    ini.SetString(kResult, "CODE", value);
    // Not flushed to the disk at once, unlike the settings: it only says how the last check
    // ended, the next check writes it again, and a check may write it for every page.
    return ini.Save(*path, error, files::Durability::kCached) ? 0 : -1;
}

bool WriteIntKey(std::string_view section, std::string_view key, int value, std::string_view file,
                 std::string* error) {
    return ini::WriteProfileString(file, section, key, std::to_string(value), error);
}

}  // namespace velnora::store
