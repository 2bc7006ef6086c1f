#include "store/settings_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ini/ini_file.h"
#include "store/page_files.h"
#include "support/file_size_limit.h"
#include "support/hostile_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::store {
namespace {

// The 35 keys of site.ini in the order a new file has them.
const char* const kWriteOrder[] = {"USE_OLD_LOG",
                                   "IGNORE_NUMBER_DIFF",
                                   "IGNORE_NUMBER_ONLY_LINE",
                                   "IGNORE_SAME_TEXT",
                                   "URL",
                                   "BROWSE_URL",
                                   "NOPROXY",
                                   "DONT_USE_HEAD",
                                   "TABLE_SETTING",
                                   "CHARSET_SEL",
                                   "NGWORD0",
                                   "NGWORD1",
                                   "NGWORD2",
                                   "NGWORD3",
                                   "NGWORD4",
                                   "NGWORD5",
                                   "NGWORD6",
                                   "NGWORD7",
                                   "NGWORD8",
                                   "NGWORD9",
                                   "AUTH_TYPE",
                                   "AUTH_ID",
                                   "AUTH_PASS",
                                   "DISABLE_AUTO_CHECK",
                                   "CHECK_AREA_START_STRING",
                                   "CHECK_AREA_END_STRING",
                                   "CHECK_AREA_START_TYPE",
                                   "CHECK_AREA_END_TYPE",
                                   "IGNORE_AREA_START_STRING0",
                                   "IGNORE_AREA_END_STRING0",
                                   "IGNORE_AREA_START_TYPE0",
                                   "IGNORE_AREA_END_TYPE0",
                                   "COMMENT",
                                   "IGNORE_URL",
                                   "AS_TEXT"};

std::vector<std::string> KeysOf(const std::string& file_bytes) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < file_bytes.size()) {
        std::size_t end = file_bytes.find("\r\n", start);
        std::string line = file_bytes.substr(start, end - start);
        if (!line.empty() && line[0] != '[') {
            keys.push_back(line.substr(0, line.find('=')));
        }
        start = end + 2;
    }
    return keys;
}

TEST(PageSettingsFile, MissingFileReadsAsDefaults) {
    test::TempDir dir;
    PageSettings record;
    record.url = "stale";
    record.use_old_log = 9;
    ASSERT_EQ(ReadPageSettings(dir.path(), record), 0);
    EXPECT_EQ(record.url, "");
    EXPECT_EQ(record.use_old_log, 1);
    EXPECT_EQ(record.charset_sel, 0);
    EXPECT_EQ(record.ngwords[9], "");
}

TEST(PageSettingsFile, UseOldLogRangeRule) {
    test::TempDir dir;
    PageSettings record;
    for (auto [stored, expected] : {std::pair{"30", 1}, {"0", 0}, {"24", 24}, {"-1", 1}}) {
        test::WriteBytes(dir / "site.ini", std::string("[CONFIG]\r\nUSE_OLD_LOG=") + stored);
        ASSERT_EQ(ReadPageSettings(dir.path(), record), 0);
        EXPECT_EQ(record.use_old_log, expected) << stored;
    }
}

TEST(PageSettingsFile, TextFieldsAreCutToTheirBuffers) {
    test::TempDir dir;
    test::WriteBytes(dir / "site.ini", "[CONFIG]\r\nURL=" + std::string(2500, 'u') +
                                           "\r\nNGWORD3=" + std::string(80, 'n') +
                                           "\r\nCOMMENT=" + std::string(150, 'c') + "\r\n");
    PageSettings record;
    ASSERT_EQ(ReadPageSettings(dir.path(), record), 0);
    EXPECT_EQ(record.url, std::string(2100, 'u'));
    EXPECT_EQ(record.ngwords[3], std::string(64, 'n'));
    EXPECT_EQ(record.comment, std::string(100, 'c'));
}

TEST(PageSettingsFile, ImportedFileGainsTheOther34KeysInOrderWhenWrittenBack) {
    test::TempDir dir;
    test::WriteBytes(dir / "site.ini", "[CONFIG]\r\nURL=http://a/\r\nUSE_OLD_LOG=1\r\n");
    PageSettings record;
    ASSERT_EQ(ReadPageSettings(dir.path(), record), 0);
    EXPECT_EQ(record.url, "http://a/");
    EXPECT_EQ(record.table_setting, 0);
    ASSERT_EQ(WritePageSettings(dir.path(), record), 0);
    auto keys = KeysOf(test::ReadBytes(dir / "site.ini"));
    ASSERT_EQ(keys.size(), 35u);
    EXPECT_EQ(keys[0], "URL") << "existing keys keep their places";
    EXPECT_EQ(keys[1], "USE_OLD_LOG");
    EXPECT_EQ(keys[2], "IGNORE_NUMBER_DIFF");
}

TEST(PageSettingsFile, NewFileHasAll35KeysInWriteOrderWithEmptyNgWords) {
    test::TempDir dir;
    PageSettings record;
    record.url = "http://example.com/";
    record.comment = test::Sjis("コメント");
    ASSERT_EQ(WritePageSettings(dir.path(), record), 0);
    std::string bytes = test::ReadBytes(dir / "site.ini");
    auto keys = KeysOf(bytes);
    ASSERT_EQ(keys.size(), std::size(kWriteOrder));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i], kWriteOrder[i]);
    }
    EXPECT_NE(bytes.find("\r\nNGWORD0=\r\nNGWORD1=\r\n"), std::string::npos);
    EXPECT_EQ(bytes.rfind("[CONFIG]\r\nUSE_OLD_LOG=1\r\n", 0), 0u);
}

TEST(PageSettingsFile, EveryFieldRoundTripsAndThePasswordPassesThroughUnchanged) {
    test::TempDir dir;
    PageSettings out;
    out.url = "http://a/b?c=d#e";
    out.browse_url = "http://b/";
    out.comment = test::Sjis("日本語のコメント");
    out.disable_auto_check = 1;
    out.noproxy = 1;
    out.dont_use_head = 1;
    out.use_old_log = 7;
    out.ignore_number_diff = 1;
    out.ignore_number_only_line = 1;
    out.ignore_same_text = 1;
    out.ignore_url = 1;
    out.as_text = 1;
    out.table_setting = 2;
    out.charset_sel = 9;  // out of range, taken as stored
    for (int i = 0; i < kNgWordCount; ++i) {
        out.ngwords[i] = "ng" + std::to_string(i);
    }
    out.auth_type = 1;
    out.auth_id = "user";
    out.auth_pass = "q83vEjRWeJA=";
    out.check_area = {"start", "end", 1, 1};
    out.ignore_area = {test::Sjis("広告"), "/ad", 0, 1};
    ASSERT_EQ(WritePageSettings(dir.path(), out), 0);
    PageSettings in;
    ASSERT_EQ(ReadPageSettings(dir.path(), in), 0);
    EXPECT_EQ(in.url, out.url);
    EXPECT_EQ(in.browse_url, out.browse_url);
    EXPECT_EQ(in.comment, out.comment);
    EXPECT_EQ(in.disable_auto_check, 1);
    EXPECT_EQ(in.noproxy, 1);
    EXPECT_EQ(in.dont_use_head, 1);
    EXPECT_EQ(in.use_old_log, 7);
    EXPECT_EQ(in.ignore_number_diff, 1);
    EXPECT_EQ(in.ignore_number_only_line, 1);
    EXPECT_EQ(in.ignore_same_text, 1);
    EXPECT_EQ(in.ignore_url, 1);
    EXPECT_EQ(in.as_text, 1);
    EXPECT_EQ(in.table_setting, 2);
    EXPECT_EQ(in.charset_sel, 9);
    EXPECT_EQ(in.ngwords, out.ngwords);
    EXPECT_EQ(in.auth_type, 1);
    EXPECT_EQ(in.auth_id, "user");
    EXPECT_EQ(in.auth_pass, "q83vEjRWeJA=");
    EXPECT_EQ(in.check_area.start_string, "start");
    EXPECT_EQ(in.check_area.end_type, 1);
    EXPECT_EQ(in.ignore_area.start_string, out.ignore_area.start_string);
    EXPECT_EQ(in.ignore_area.end_type, 1);
}

TEST(PageSettingsFile, UnknownKeysStayUntouched) {
    test::TempDir dir;
    test::WriteBytes(dir / "site.ini", "[CONFIG]\r\nFUTURE_KEY=42\r\n[EXTRA]\r\nX=y\r\n");
    PageSettings record;
    ASSERT_EQ(WritePageSettings(dir.path(), record), 0);
    ini::IniFile ini;
    ini.Load(dir / "site.ini");
    EXPECT_EQ(ini.GetInt("CONFIG", "FUTURE_KEY", 0), 42);
    EXPECT_EQ(ini.GetString("EXTRA", "X", "", 10), "y");
}

TEST(PageSettingsFile, PathBoundsAt261Bytes) {
    // "/site.ini" is 9 bytes: a 251-byte directory still fits, 252 does not.
    std::string fits(251, 'd');
    std::string too_long(252, 'd');
    PageSettings record;
    record.url = "kept";
    EXPECT_EQ(ReadPageSettings(too_long, record), -1);
    EXPECT_EQ(record.url, "kept") << "the record is left as it was";
    EXPECT_EQ(WritePageSettings(too_long, record), -1);
    EXPECT_TRUE(PagePath(fits, kSiteIni).has_value());
    // With 250 bytes site.ini still fits, result.ini ("/result.ini", 11 bytes) does not.
    std::string dir250(250, 'd');
    EXPECT_TRUE(PagePath(dir250, kSiteIni).has_value());
    EXPECT_EQ(ReadResultCode(dir250), -1);
    EXPECT_EQ(WriteResultCode(dir250, 1), -1);
    EXPECT_EQ(ReadAutoCheckFlag(true, too_long), -1);
}

TEST(FolderSettingsFile, MissingGroupIniReadsZeroAndWriteCreatesIt) {
    test::TempDir dir;
    FolderSettings folder{1};
    ASSERT_EQ(ReadFolderSettings(dir.path(), folder), 0);
    EXPECT_EQ(folder.disable_auto_check, 0);
    EXPECT_EQ(ReadAutoCheckFlag(false, dir.path()), 0);
    ASSERT_EQ(WriteFolderSettings(dir.path(), FolderSettings{1}), 0);
    EXPECT_EQ(test::ReadBytes(dir / "group.ini"), "[CONFIG]\r\nDISABLE_AUTO_CHECK=1\r\n");
    EXPECT_EQ(ReadAutoCheckFlag(false, dir.path()), 1);
}

TEST(ResultFile, CodeRoundTripsAndDefaultsToNone) {
    test::TempDir dir;
    EXPECT_EQ(ReadResultCode(dir.path()), RESULT_NONE);
    ASSERT_EQ(WriteResultCode(dir.path(), RESULT_UPDATED), 0);
    EXPECT_EQ(test::ReadBytes(dir / "result.ini"), "[RESULT]\r\nCODE=3\r\n");
    ASSERT_EQ(WriteResultCode(dir.path(), RESULT_ERROR), 0);
    EXPECT_EQ(ReadResultCode(dir.path()), RESULT_ERROR);
}

TEST(SettingsFiles, AWriteThatFailsSaysWhyAndLeavesTheFile) {
    struct Obstacle {
        const char* what;
        std::function<void(const std::string& file)> make;
        std::string reason;
    };
    const std::string too_big(ini::kMaxIniFileSize + 1, '\n');
    const std::vector<Obstacle> obstacles = {
        {"a FIFO", [](const std::string& f) { ASSERT_TRUE(test::MakeFifo(f)); },
         "Not a regular file"},
        {"a directory", [](const std::string& f) { test::MakeDir(f); }, "Not a regular file"},
        {"a file of more than 1 MiB", [&](const std::string& f) { test::WriteBytes(f, too_big); },
         "Larger than 1048576 bytes"},
        {"a full disk", [](const std::string& f) { test::WriteBytes(f, "[CONFIG]\r\n"); },
         "File too large"},
    };
    struct Writer {
        std::string_view file;
        std::function<int(const std::string& dir, std::string* error)> write;
    };
    const std::vector<Writer> writers = {
        {kSiteIni,
         [](const std::string& dir, std::string* error) {
             PageSettings page;
             page.url = "http://example.com/";
             return WritePageSettings(dir, page, error);
         }},
        {kGroupIni,
         [](const std::string& dir, std::string* error) {
             return WriteFolderSettings(dir, FolderSettings{1}, error);
         }},
        {kResultIni,
         [](const std::string& dir, std::string* error) {
             return WriteResultCode(dir, RESULT_UPDATED, error);
         }},
    };
    for (const Writer& writer : writers) {
        for (const Obstacle& obstacle : obstacles) {
            test::TempDir dir;
            std::string file = dir / writer.file;
            obstacle.make(file);
            std::string before = test::Exists(file) && !std::filesystem::is_directory(file) &&
                                         !std::filesystem::is_fifo(file)
                                     ? test::ReadBytes(file)
                                     : "";
            std::string error;
            int result = 0;
            {
                test::FileSizeLimit limit(
                    std::string(obstacle.what) == "a full disk" ? 16 : RLIM_INFINITY);
                result = writer.write(dir.path(), &error);
            }
            EXPECT_EQ(result, -1) << writer.file << ", " << obstacle.what;
            EXPECT_EQ(error, obstacle.reason) << writer.file << ", " << obstacle.what;
            if (!before.empty()) {
                EXPECT_EQ(test::ReadBytes(file), before) << writer.file << ", " << obstacle.what;
            }
        }
    }
}

}  // namespace
}  // namespace velnora::store
