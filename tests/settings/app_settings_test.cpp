#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include "ini/ini_file.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::settings {
namespace {

TEST(AppSettings, FirstStartGivesTheDefaults) {
    test::TempDir dir;
    AppSettings s;
    s.point = 99;
    LoadAppSettings(dir / "velnora.ini", s);
    EXPECT_EQ(s.face_name, test::Sjis("ＭＳ Ｐゴシック"));
    EXPECT_EQ(s.point, 10);
    EXPECT_EQ(s.color, 0u);
    EXPECT_EQ(s.back_color, 0xFFFFFFu);
    EXPECT_EQ(s.highlight_color, 0x00FFFFu);
    EXPECT_EQ(s.line_height, 130);
    EXPECT_EQ(s.charset, 128);
    EXPECT_EQ(s.header, test::Sjis("■■■■■ %link; ■■■■■ (%date; %time;) %config;"));
    EXPECT_EQ(s.proxy_port, 8080);
    EXPECT_EQ(s.use_head, 1);
    EXPECT_EQ(s.retry, 3);
    EXPECT_EQ(s.timeout, 30);
    EXPECT_EQ(s.n_reload, 3);
    EXPECT_EQ(s.nochange_msg, 1);
    EXPECT_EQ(s.max_disp_line, 100);
    EXPECT_EQ(s.ignore_image_name, 1);
    EXPECT_EQ(s.finish_message, 1);
}

TEST(AppSettings, AStoredNumberOutsideItsRangeReadsAsTheDefault) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    struct Row {
        const char* stored;
        int AppSettings::*field;
        int expected;
    };
    const Row rows[] = {
        {"[CONFIG]\r\nN_RELOAD=0", &AppSettings::n_reload, 3},
        {"[CONFIG]\r\nN_RELOAD=25", &AppSettings::n_reload, 3},
        {"[CONFIG]\r\nN_RELOAD=1", &AppSettings::n_reload, 1},
        {"[CONFIG]\r\nN_RELOAD=24", &AppSettings::n_reload, 24},
        {"[CONFIG]\r\nMAX_DISP_LINE=2001", &AppSettings::max_disp_line, 100},
        {"[CONFIG]\r\nMAX_DISP_LINE=2000", &AppSettings::max_disp_line, 2000},
        // A retry count that never ends a check against a refused port.
        {"[CONFIG]\r\nRETRY=2147483647", &AppSettings::retry, 3},
        {"[CONFIG]\r\nRETRY=9", &AppSettings::retry, 9},
        {"[CONFIG]\r\nRETRY=-1", &AppSettings::retry, 3},
        // A time-out that overflows into instant time-outs.
        {"[CONFIG]\r\nTIMEOUT=100000000", &AppSettings::timeout, 30},
        {"[CONFIG]\r\nTIMEOUT=4", &AppSettings::timeout, 30},
        {"[CONFIG]\r\nTIMEOUT=99", &AppSettings::timeout, 99},
        {"[CONFIG]\r\nPROXY_PORT=70000", &AppSettings::proxy_port, 8080},
        {"[CONFIG]\r\nPROXY_PORT=0", &AppSettings::proxy_port, 8080},
        {"[CONFIG]\r\nPROXY_PORT=65535", &AppSettings::proxy_port, 65535},
        {"[FONT]\r\nLINE_HEIGHT=99", &AppSettings::line_height, 130},
        {"[FONT]\r\nLINE_HEIGHT=200", &AppSettings::line_height, 200},
        // Byte fields keep their low byte.
        {"[FONT]\r\nCHARSET=384", &AppSettings::charset, 128},
        {"[FONT]\r\nITALIC=257", &AppSettings::italic, 1},
    };
    for (const Row& row : rows) {
        test::WriteBytes(file, std::string(row.stored) + "\r\n");
        AppSettings s;
        LoadAppSettings(file, s);
        EXPECT_EQ(s.*row.field, row.expected) << row.stored;
    }
}

TEST(AppSettings, HeaderLineBreaksAreStoredAsBytesOneAndTwo) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    AppSettings s;
    s.header = "%link;\r\n%comment;";
    ASSERT_TRUE(SaveAppSettings(file, s));
    EXPECT_NE(test::ReadBytes(file).find("HEADER=%link;\x01\x02%comment;\r\n"), std::string::npos);
    AppSettings loaded;
    LoadAppSettings(file, loaded);
    EXPECT_EQ(loaded.header, "%link;\r\n%comment;");
    EXPECT_EQ(s.header, "%link;\r\n%comment;") << "the record keeps real line breaks";
}

TEST(AppSettings, SaveWritesEveryKeyInOrderAndRoundTrips) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    test::WriteBytes(file, "[STATISTICS]\r\nNUM_SITES=5\r\n");
    AppSettings s;
    s.face_name = "Noto Sans CJK JP";
    s.custom_colors[15] = 0x123456;
    s.proxy_url = "proxy.local";
    s.highlights[9] = test::Sjis("重要");
    s.browser = "firefox";
    s.notify_sound = "/usr/share/sounds/done.wav";
    ASSERT_TRUE(SaveAppSettings(file, s));
    std::string bytes = test::ReadBytes(file);
    std::size_t font = bytes.find("[FONT]\r\nFACENAME=Noto Sans CJK JP\r\nPOINT=10\r\nBOLD=0\r\n");
    std::size_t config = bytes.find("[CONFIG]\r\nPROXY_URL=proxy.local\r\nPROXY_PORT=8080\r\n");
    EXPECT_NE(font, std::string::npos);
    EXPECT_NE(config, std::string::npos);
    EXPECT_LT(font, config);
    EXPECT_NE(bytes.find("CUSTCOLOR15=1193046\r\nLINE_HEIGHT=130\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("NOTIFY_SOUND=/usr/share/sounds/done.wav\r\nHEADER="), std::string::npos);
    EXPECT_EQ(bytes.find("TOPMOST"), std::string::npos) << "topmost goes with the placement";
    ini::IniFile ini;
    ini.Load(file);
    EXPECT_EQ(ini.GetInt("STATISTICS", "NUM_SITES", 0), 5) << "other sections stay";
    AppSettings loaded;
    LoadAppSettings(file, loaded);
    EXPECT_EQ(loaded.face_name, s.face_name);
    EXPECT_EQ(loaded.custom_colors[15], 0x123456u);
    EXPECT_EQ(loaded.highlights[9], s.highlights[9]);
    EXPECT_EQ(loaded.notify_sound, s.notify_sound);
}

}  // namespace
}  // namespace velnora::settings
