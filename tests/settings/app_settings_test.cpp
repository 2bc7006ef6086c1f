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

TEST(AppSettings, RangeRules) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    AppSettings s;
    struct Row {
        const char* stored;
        int n_reload;
    };
    for (auto [stored, expected] : {Row{"0", 3}, Row{"25", 3}, Row{"1", 1}, Row{"24", 24}}) {
        test::WriteBytes(file, std::string("[CONFIG]\r\nN_RELOAD=") + stored + "\r\n");
        LoadAppSettings(file, s);
        EXPECT_EQ(s.n_reload, expected) << stored;
    }
    test::WriteBytes(file, "[CONFIG]\r\nMAX_DISP_LINE=2001\r\nRETRY=50\r\nTIMEOUT=1000\r\n");
    LoadAppSettings(file, s);
    EXPECT_EQ(s.max_disp_line, 100);
    EXPECT_EQ(s.retry, 50) << "other integers are taken as stored";
    EXPECT_EQ(s.timeout, 1000);
    test::WriteBytes(file, "[FONT]\r\nCHARSET=384\r\nITALIC=257\r\n");
    LoadAppSettings(file, s);
    EXPECT_EQ(s.charset, 128) << "byte fields keep their low byte";
    EXPECT_EQ(s.italic, 1);
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
