// The options sheet: which control shows and edits which setting, the rules of its number fields,
// the choosers and the copy-back on Cancel, the saving on OK and the statistics page.

#include "sheets/options_sheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QTimeEdit>
#include <QTimer>
#include <ctime>
#include <vector>

#include "desktop/fonts.h"
#include "support/temp_dir.h"
#include "widget_driving.h"

namespace velnora::sheets {
namespace {

using test::Click;
using test::FieldText;
using test::Find;
using test::FocusOn;
using test::PressCancel;
using test::PressOk;
using test::ShowActive;
using test::Sjis;
using test::TypeInto;

// Choosers that answer as the test sets them up and remember how they were asked.
class FakeChoosers : public Choosers {
  public:
    std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice& initial) override {
        font_asked.push_back(initial);
        return font;
    }
    std::optional<settings::ColorRef> ChooseColor(
        QWidget*, std::string_view title, settings::ColorRef initial,
        std::array<settings::ColorRef, settings::kCustomColorCount>& custom_colors) override {
        color_asked.push_back({std::string(title), initial, custom_colors});
        if (color && made_custom) {
            custom_colors = *made_custom;
        }
        return color;
    }
    std::optional<std::string> ChooseFile(QWidget*, std::string_view filter_name,
                                          std::string_view pattern) override {
        file_asked.push_back({std::string(filter_name), std::string(pattern)});
        return file;
    }
    std::optional<std::string> ChooseProgram(QWidget*, std::string_view current) override {
        program_asked.emplace_back(current);
        return file;
    }

    struct ColorAsk {
        std::string title;
        settings::ColorRef initial;
        std::array<settings::ColorRef, settings::kCustomColorCount> custom;
    };
    std::optional<FontChoice> font;
    std::vector<FontChoice> font_asked;
    std::optional<settings::ColorRef> color;
    std::optional<std::array<settings::ColorRef, settings::kCustomColorCount>> made_custom;
    std::vector<ColorAsk> color_asked;
    std::optional<std::string> file;
    std::vector<std::pair<std::string, std::string>> file_asked;
    std::vector<std::string> program_asked;
};

// Settings whose every field differs from its default.
settings::AppSettings FilledSettings() {
    settings::AppSettings s;
    s.face_name = Sjis("ＭＳ 明朝");
    s.point = 12;
    s.bold = 1;
    s.italic = 1;
    s.charset = 128;
    s.color = 0x000080;
    s.back_color = 0xE0FFFF;
    s.highlight_color = 0x00FF00;
    for (int i = 0; i < settings::kCustomColorCount; ++i) {
        s.custom_colors[i] = static_cast<settings::ColorRef>(0x010101 * i);
    }
    s.line_height = 150;
    s.proxy_url = "proxy.example.jp";
    s.proxy_port = 3128;
    s.use_proxy = 1;
    s.use_head = 0;
    s.retry = 5;
    s.timeout = 45;
    s.n_reload = 7;
    s.nochange_msg = 0;
    s.max_disp_line = 500;
    s.ignore_image_name = 0;
    s.disp_image_name = 1;
    s.image_link = 1;
    s.use_browser = 1;
    s.browser = "/usr/bin/firefox";
    s.startup_check = 1;
    s.finish_message = 0;
    s.save_history = 1;
    s.use_highlight = 1;
    for (int i = 0; i < settings::kHighlightCount; ++i) {
        s.highlights[i] = Sjis("語") + std::to_string(i);
    }
    s.use_notify_sound = 1;
    s.notify_sound = "/usr/share/sounds/done.wav";
    s.header = Sjis("■ %link;\r\n%comment;");
    return s;
}

class OptionsSheetTest : public ::testing::Test {
  protected:
    OptionsServices Services() {
        OptionsServices services;
        services.stats = &stats;
        services.choosers = &choosers;
        services.display_changed = [this] { ++display_changes; };
        services.play_sound = [this](std::string_view file) { played.emplace_back(file); };
        services.save = [this](const settings::AppSettings& settings) {
            ASSERT_TRUE(settings::SaveAppSettings(path, settings));
        };
        return services;
    }

    bool Checked(const QWidget* sheet, std::string_view name) {
        auto* box = Find<QCheckBox>(sheet, name);
        return box != nullptr && box->isChecked();
    }

    test::TempDir dir;
    std::string path = dir / "velnora.ini";
    fetch::TrafficStats stats{[] { return std::time_t{1700000000}; }};
    FakeChoosers choosers;
    int display_changes = 0;
    std::vector<std::string> played;
};

TEST_F(OptionsSheetTest, CaptionAndPagesInOrder) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    EXPECT_EQ(sheet.objectName().toStdString(), "optionsSheet");
    EXPECT_EQ(sheet.windowTitle().toStdString(), "Velnoraのプロパティ");
    EXPECT_EQ(test::PageTitles(sheet),
              (std::vector<std::string>{"通信設定", "表示設定", "ハイライト機能", "見出し",
                                        "統計情報", "自動チェック"}));
}

TEST_F(OptionsSheetTest, ShowsEverySetting) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());

    EXPECT_TRUE(Checked(&sheet, "USE_PROXY"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "PROXY_URL")), "proxy.example.jp");
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "PROXY_PORT")), "3128");
    EXPECT_FALSE(Checked(&sheet, "USE_HEAD"));
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "TIMEOUT")), "45");
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "RETRY")), "5");
    EXPECT_TRUE(Checked(&sheet, "STARTUP_CHECK"));
    EXPECT_FALSE(Checked(&sheet, "FINISH_MESSAGE"));
    EXPECT_TRUE(Checked(&sheet, "USE_NOTIFY_SOUND"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "NOTIFY_SOUND")), "/usr/share/sounds/done.wav");

    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "N_RELOAD")), "7");
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "MAX_DISP_LINE")), "500");
    EXPECT_FALSE(Checked(&sheet, "NOCHANGE_MSG"));
    auto* sample = Find<QLabel>(&sheet, "sample");
    // The face as the pane shows it (ＭＳ 明朝 is not installed here).
    EXPECT_EQ(sample->text(), desktop::ShownFamily(Sjis("ＭＳ 明朝")) + test::Q(" 12ﾎﾟｲﾝﾄ"));
    EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xE0));
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "LINE_HEIGHT")), "150");
    EXPECT_TRUE(Checked(&sheet, "USE_BROWSER"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "BROWSER")), "/usr/bin/firefox");
    EXPECT_TRUE(Checked(&sheet, "SAVE_HISTORY"));
    EXPECT_FALSE(Checked(&sheet, "IGNORE_IMAGE_NAME"));
    EXPECT_TRUE(Checked(&sheet, "DISP_IMAGE_NAME"));
    EXPECT_TRUE(Checked(&sheet, "IMAGE_LINK"));

    EXPECT_TRUE(Checked(&sheet, "USE_HIGHLIGHT"));
    for (int i = 0; i < settings::kHighlightCount; ++i) {
        EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "HIGHLIGHT" + std::to_string(i))),
                  Sjis("語") + std::to_string(i));
    }
    EXPECT_EQ(Find<QPlainTextEdit>(&sheet, "HEADER")->toPlainText(),
              test::Q("■ %link;\n%comment;"));
    EXPECT_EQ(Find<QLabel>(&sheet, "headerExplanation")->text().toStdString(),
              "<表示できる項目>\n\n%link; ウェブページへのリンク\n\n%date; チェックした日付\n\n"
              "%time; チェックした時刻\n\n%config; 設定プロパティシート表示用リンク\n\n"
              "%comment; ウェブページのコメント\n");
}

TEST_F(OptionsSheetTest, OkWritesEveryControlAndSavesTheFile) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);

    Click(Find<QCheckBox>(&sheet, "USE_PROXY"));
    TypeInto(Find<QLineEdit>(&sheet, "PROXY_URL"), "192.168.0.1");
    TypeInto(Find<QLineEdit>(&sheet, "PROXY_PORT"), "8888");
    Click(Find<QCheckBox>(&sheet, "USE_HEAD"));
    TypeInto(Find<QAbstractSpinBox>(&sheet, "TIMEOUT"), "60");
    TypeInto(Find<QAbstractSpinBox>(&sheet, "RETRY"), "0");
    Click(Find<QCheckBox>(&sheet, "STARTUP_CHECK"));
    Click(Find<QCheckBox>(&sheet, "FINISH_MESSAGE"));
    Click(Find<QCheckBox>(&sheet, "USE_NOTIFY_SOUND"));
    TypeInto(Find<QLineEdit>(&sheet, "NOTIFY_SOUND"), "/home/user/音/chime.wav");

    TypeInto(Find<QAbstractSpinBox>(&sheet, "N_RELOAD"), "24");
    TypeInto(Find<QAbstractSpinBox>(&sheet, "MAX_DISP_LINE"), "2000");
    Click(Find<QCheckBox>(&sheet, "NOCHANGE_MSG"));
    TypeInto(Find<QAbstractSpinBox>(&sheet, "LINE_HEIGHT"), "180");
    Click(Find<QCheckBox>(&sheet, "USE_BROWSER"));
    TypeInto(Find<QLineEdit>(&sheet, "BROWSER"), "chromium --incognito");
    Click(Find<QCheckBox>(&sheet, "SAVE_HISTORY"));
    Click(Find<QCheckBox>(&sheet, "IGNORE_IMAGE_NAME"));
    Click(Find<QCheckBox>(&sheet, "DISP_IMAGE_NAME"));
    Click(Find<QCheckBox>(&sheet, "IMAGE_LINK"));

    Click(Find<QCheckBox>(&sheet, "USE_HIGHLIGHT"));
    for (int i = 0; i < settings::kHighlightCount; ++i) {
        TypeInto(Find<QLineEdit>(&sheet, "HIGHLIGHT" + std::to_string(i)),
                 "新着" + std::to_string(i));
    }
    TypeInto(Find<QPlainTextEdit>(&sheet, "HEADER"), "%link;\n%date;");

    Click(Find<QCheckBox>(&sheet, "FOLLOW_REDIRECTS"));
    Click(Find<QCheckBox>(&sheet, "AUTO_CHECK"));
    TypeInto(Find<QAbstractSpinBox>(&sheet, "CHECK_INTERVAL"), "45");
    // Active hours across midnight.
    Find<QTimeEdit>(&sheet, "ACTIVE_FROM")->setTime(QTime(22, 30));
    Find<QTimeEdit>(&sheet, "ACTIVE_TO")->setTime(QTime(6, 0));
    Click(Find<QCheckBox>(&sheet, "DESKTOP_NOTIFY"));
    PressOk(sheet);

    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    const settings::AppSettings& s = settings;
    EXPECT_EQ(s.use_proxy, 1);
    EXPECT_EQ(s.proxy_url, "192.168.0.1");
    EXPECT_EQ(s.proxy_port, 8888);
    EXPECT_EQ(s.use_head, 0);
    EXPECT_EQ(s.timeout, 60);
    EXPECT_EQ(s.retry, 0);  // no retries is allowed
    EXPECT_EQ(s.startup_check, 1);
    EXPECT_EQ(s.finish_message, 0);
    EXPECT_EQ(s.use_notify_sound, 1);
    EXPECT_EQ(s.notify_sound, Sjis("/home/user/音/chime.wav"));
    EXPECT_EQ(s.n_reload, 24);
    EXPECT_EQ(s.max_disp_line, 2000);
    EXPECT_EQ(s.nochange_msg, 0);
    EXPECT_EQ(s.line_height, 180);
    EXPECT_EQ(s.use_browser, 1);
    EXPECT_EQ(s.browser, "chromium --incognito");
    EXPECT_EQ(s.save_history, 1);
    EXPECT_EQ(s.ignore_image_name, 0);
    EXPECT_EQ(s.disp_image_name, 1);
    EXPECT_EQ(s.image_link, 1);
    EXPECT_EQ(s.use_highlight, 1);
    for (int i = 0; i < settings::kHighlightCount; ++i) {
        EXPECT_EQ(s.highlights[i], Sjis("新着") + std::to_string(i));
    }
    EXPECT_EQ(s.header, "%link;\r\n%date;");
    EXPECT_EQ(s.follow_redirects, 0);
    EXPECT_EQ(s.auto_check, 1);
    EXPECT_EQ(s.check_interval, 45);
    EXPECT_EQ(s.active_from, 22 * 60 + 30);
    EXPECT_EQ(s.active_to, 6 * 60);
    EXPECT_EQ(s.desktop_notify, 0);

    // The file holds the same settings.
    settings::AppSettings loaded;
    loaded.timeout = -1;
    settings::LoadAppSettings(path, loaded);
    EXPECT_EQ(loaded.proxy_url, "192.168.0.1");
    EXPECT_EQ(loaded.timeout, 60);
    EXPECT_EQ(loaded.retry, 0);
    EXPECT_EQ(loaded.line_height, 180);
    EXPECT_EQ(loaded.highlights[9], Sjis("新着9"));
    EXPECT_EQ(loaded.header, "%link;\r\n%date;");
    EXPECT_EQ(loaded.notify_sound, Sjis("/home/user/音/chime.wav"));
    EXPECT_EQ(loaded.active_from, 1350);
    EXPECT_EQ(loaded.check_interval, 45);
    // The line height changed: the result pane was told.
    EXPECT_EQ(display_changes, 1);
}

TEST_F(OptionsSheetTest, UntouchedOkSavesWithoutRefreshingTheDisplay) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    PressOk(sheet);
    EXPECT_EQ(display_changes, 0);
    EXPECT_FALSE(sheet.font_changed());
    settings::AppSettings loaded;
    settings::LoadAppSettings(path, loaded);
    EXPECT_EQ(loaded.timeout, 45);
    EXPECT_EQ(loaded.face_name, Sjis("ＭＳ 明朝"));
    EXPECT_EQ(loaded.custom_colors[15], 0x0F0F0Fu);
}

TEST_F(OptionsSheetTest, ProxyFieldsFollowTheirBox) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    auto* host = Find<QLineEdit>(&sheet, "PROXY_URL");
    auto* port = Find<QLineEdit>(&sheet, "PROXY_PORT");
    EXPECT_FALSE(host->isEnabled());
    EXPECT_FALSE(port->isEnabled());
    Click(Find<QCheckBox>(&sheet, "USE_PROXY"));
    EXPECT_TRUE(host->isEnabled());
    EXPECT_TRUE(port->isEnabled());
    Click(Find<QCheckBox>(&sheet, "USE_PROXY"));
    EXPECT_FALSE(host->isEnabled());

    settings::AppSettings with_proxy = FilledSettings();
    OptionsSheet opened(nullptr, with_proxy, Services());
    EXPECT_TRUE(Find<QLineEdit>(&opened, "PROXY_URL")->isEnabled());
}

// A port outside 1 to 65535 would be read back as the default; it is stored as the default.
TEST_F(OptionsSheetTest, APortOutsideItsRangeIsStoredAsTheDefault) {
    for (const char* typed : {"70000", "0"}) {
        settings::AppSettings settings;
        settings.use_proxy = 1;
        settings.proxy_port = 3128;
        OptionsSheet sheet(nullptr, settings, Services());
        ShowActive(sheet);
        TypeInto(Find<QLineEdit>(&sheet, "PROXY_PORT"), typed);
        PressOk(sheet);
        EXPECT_EQ(settings.proxy_port, 8080) << typed;
    }
}

// What a number field shows after something is typed into it and the focus moves on.
TEST_F(OptionsSheetTest, NumberFieldsApplyTheirRulesOnLeaving) {
    struct Row {
        const char* field;
        const char* typed;
        const char* shown;
    };
    const Row rows[] = {
        {"TIMEOUT", "4", "30"},  // below 5
        {"TIMEOUT", "5", "5"},
        {"TIMEOUT", "99", "99"},
        {"TIMEOUT", "150", "15"},  // two digits at most: the 0 is not taken
        {"TIMEOUT", "", "30"},     // nothing counts as 0
        {"RETRY", "0", "0"},       // no retries
        {"RETRY", "9", "9"},
        {"RETRY", "12", "1"},  // one digit
        {"N_RELOAD", "0", "3"},
        {"N_RELOAD", "25", "3"},
        {"N_RELOAD", "24", "24"},
        {"MAX_DISP_LINE", "0", "100"},
        {"MAX_DISP_LINE", "2001", "100"},
        {"MAX_DISP_LINE", "2000", "2000"},
        {"LINE_HEIGHT", "99", "130"},
        {"LINE_HEIGHT", "201", "130"},
        {"LINE_HEIGHT", "100", "100"},
        {"LINE_HEIGHT", "200", "200"},
    };
    for (const Row& row : rows) {
        settings::AppSettings settings = FilledSettings();
        OptionsSheet sheet(nullptr, settings, Services());
        ShowActive(sheet);
        auto* field = Find<QAbstractSpinBox>(&sheet, row.field);
        TypeInto(field, row.typed);
        if (std::string_view(row.typed).empty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        }
        // A check box on the field's own page takes the focus.
        bool on_first_page =
            std::string_view(row.field) == "TIMEOUT" || std::string_view(row.field) == "RETRY";
        FocusOn(Find<QWidget>(&sheet, on_first_page ? "USE_HEAD" : "NOCHANGE_MSG"));
        EXPECT_EQ(FieldText(field), row.shown) << row.field << " typed " << row.typed;
        PressCancel(sheet);
    }
}

TEST_F(OptionsSheetTest, NumberFieldsStepWithinTheirRanges) {
    settings::AppSettings settings;
    settings.timeout = 99;
    settings.retry = 0;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    auto* timeout = Find<QAbstractSpinBox>(&sheet, "TIMEOUT");
    auto* retry = Find<QAbstractSpinBox>(&sheet, "RETRY");
    timeout->setFocus();
    QTest::keyClick(timeout, Qt::Key_Up);
    EXPECT_EQ(FieldText(timeout), "99");
    QTest::keyClick(timeout, Qt::Key_Down);
    EXPECT_EQ(FieldText(timeout), "98");
    retry->setFocus();
    QTest::keyClick(retry, Qt::Key_Down);
    EXPECT_EQ(FieldText(retry), "0");
    QTest::keyClick(retry, Qt::Key_Up);
    EXPECT_EQ(FieldText(retry), "1");
}

// A stored value outside a field's range (the file is edited by hand) shows as the field's
// fallback, as if it had been typed and left.
TEST_F(OptionsSheetTest, StoredNumberOutsideTheRangeShowsTheFallback) {
    settings::AppSettings settings;
    settings.timeout = 150;
    settings.retry = -1;
    OptionsSheet sheet(nullptr, settings, Services());
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "TIMEOUT")), "30");
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "RETRY")), "3");
}

TEST_F(OptionsSheetTest, FontChooserStartsFromTheSettingsAndSetsTheFont) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);

    FontChoice chosen;
    chosen.face_name = Sjis("ＭＳ ゴシック");
    chosen.point = 14;
    chosen.bold = false;
    chosen.underline = true;
    chosen.strikeout = true;
    choosers.font = chosen;
    Click(Find<QAbstractButton>(&sheet, "chooseFont"));

    ASSERT_EQ(choosers.font_asked.size(), 1u);
    const FontChoice& initial = choosers.font_asked[0];
    EXPECT_EQ(initial.face_name, Sjis("ＭＳ 明朝"));
    EXPECT_EQ(initial.point, 12);
    EXPECT_TRUE(initial.bold);
    EXPECT_TRUE(initial.italic);
    EXPECT_FALSE(initial.underline);
    EXPECT_EQ(initial.color, std::optional<settings::ColorRef>(0x000080));

    // Written into the settings at once.
    EXPECT_EQ(settings.face_name, Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(settings.point, 14);
    EXPECT_EQ(settings.bold, 0);
    EXPECT_EQ(settings.italic, 0);
    EXPECT_EQ(settings.underline, 1);
    EXPECT_EQ(settings.strikeout, 1);
    EXPECT_EQ(settings.charset, 1);        // always the default character set
    EXPECT_EQ(settings.color, 0x000080u);  // the chooser offered no colour
    EXPECT_EQ(Find<QLabel>(&sheet, "sample")->text(),
              desktop::ShownFamily(Sjis("ＭＳ ゴシック")) + test::Q(" 14ﾎﾟｲﾝﾄ"));
    EXPECT_TRUE(sheet.font_changed());
    PressOk(sheet);
    EXPECT_EQ(display_changes, 1);
    settings::AppSettings loaded;
    settings::LoadAppSettings(path, loaded);
    EXPECT_EQ(loaded.charset, 1);
    EXPECT_EQ(loaded.face_name, Sjis("ＭＳ ゴシック"));
}

TEST_F(OptionsSheetTest, FontChoiceWithColourAndLongFaceName) {
    settings::AppSettings settings;
    settings.charset = 0;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    FontChoice chosen;
    chosen.face_name = std::string(40, 'F');
    chosen.point = 9;
    chosen.bold = true;
    chosen.color = 0x0000FF;
    choosers.font = chosen;
    Click(Find<QAbstractButton>(&sheet, "chooseFont"));
    EXPECT_EQ(settings.face_name, std::string(32, 'F'));  // a face name holds 32 bytes
    EXPECT_EQ(settings.bold, 1);
    EXPECT_EQ(settings.color, 0x0000FFu);
    EXPECT_EQ(settings.charset, 1);

    // A Japanese name is not cut inside a character.
    std::string japanese;
    for (int i = 0; i < 20; ++i) {
        japanese += "書";
    }
    chosen.face_name = Sjis(japanese);
    choosers.font = chosen;
    Click(Find<QAbstractButton>(&sheet, "chooseFont"));
    EXPECT_EQ(settings.face_name, Sjis(japanese.substr(0, 16 * 3)));
}

TEST_F(OptionsSheetTest, CancelledChooserChangesNothing) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    Click(Find<QAbstractButton>(&sheet, "chooseFont"));
    Click(Find<QAbstractButton>(&sheet, "chooseTextColor"));
    Click(Find<QAbstractButton>(&sheet, "chooseSound"));
    EXPECT_EQ(settings.face_name, Sjis("ＭＳ 明朝"));
    EXPECT_EQ(settings.charset, 128);
    EXPECT_EQ(settings.color, 0x000080u);
    EXPECT_EQ(settings.custom_colors[3], 0x030303u);
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "NOTIFY_SOUND")), "/usr/share/sounds/done.wav");
    EXPECT_FALSE(sheet.font_changed());
}

TEST_F(OptionsSheetTest, ColourChoosersSetTheirColourWithTheCustomColours) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    std::array<settings::ColorRef, settings::kCustomColorCount> made{};
    made[0] = 0x123456;
    choosers.made_custom = made;

    choosers.color = 0x0000FF;
    Click(Find<QAbstractButton>(&sheet, "chooseTextColor"));
    choosers.color = 0x202020;
    Click(Find<QAbstractButton>(&sheet, "chooseBackColor"));
    choosers.color = 0x00FFFF;
    Click(Find<QAbstractButton>(&sheet, "chooseHighlightColor"));

    ASSERT_EQ(choosers.color_asked.size(), 3u);
    EXPECT_EQ(choosers.color_asked[0].title, Sjis("文字色"));
    EXPECT_EQ(choosers.color_asked[0].initial, 0x000080u);
    EXPECT_EQ(choosers.color_asked[0].custom[5], 0x050505u);  // the stored custom colours
    EXPECT_EQ(choosers.color_asked[1].title, Sjis("背景色"));
    EXPECT_EQ(choosers.color_asked[1].initial, 0xE0FFFFu);
    EXPECT_EQ(choosers.color_asked[1].custom[0], 0x123456u);  // as the first chooser left them
    EXPECT_EQ(choosers.color_asked[2].title, Sjis("ﾊｲﾗｲﾄ"));
    EXPECT_EQ(choosers.color_asked[2].initial, 0x00FF00u);

    EXPECT_EQ(settings.color, 0x0000FFu);
    EXPECT_EQ(settings.back_color, 0x202020u);
    EXPECT_EQ(settings.highlight_color, 0x00FFFFu);
    auto* sample = Find<QLabel>(&sheet, "sample");
    EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(0x20, 0x20, 0x20));

    PressOk(sheet);
    EXPECT_EQ(display_changes, 1);
    settings::AppSettings loaded;
    settings::LoadAppSettings(path, loaded);
    EXPECT_EQ(loaded.color, 0x0000FFu);
    EXPECT_EQ(loaded.highlight_color, 0x00FFFFu);
    EXPECT_EQ(loaded.custom_colors[0], 0x123456u);  // custom colours persist
}

TEST_F(OptionsSheetTest, CancelAfterChoosingUndoesTheChoicesInMemoryAndFile) {
    settings::AppSettings settings = FilledSettings();
    ASSERT_TRUE(settings::SaveAppSettings(path, settings));
    const std::string file_before = test::ReadBytes(path);

    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    choosers.color = 0x0000FF;
    std::array<settings::ColorRef, settings::kCustomColorCount> made{};
    choosers.made_custom = made;
    Click(Find<QAbstractButton>(&sheet, "chooseTextColor"));
    FontChoice font;
    font.face_name = "Sans";
    choosers.font = font;
    Click(Find<QAbstractButton>(&sheet, "chooseFont"));
    TypeInto(Find<QAbstractSpinBox>(&sheet, "TIMEOUT"), "10");
    EXPECT_EQ(settings.color, 0x0000FFu);
    PressCancel(sheet);

    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(settings.color, 0x000080u);
    EXPECT_EQ(settings.face_name, Sjis("ＭＳ 明朝"));
    EXPECT_EQ(settings.charset, 128);
    EXPECT_EQ(settings.custom_colors[7], 0x070707u);
    EXPECT_EQ(settings.timeout, 45);
    EXPECT_EQ(test::ReadBytes(path), file_before);
    EXPECT_EQ(display_changes, 0);
}

TEST_F(OptionsSheetTest, FileChoosersFillTheirFields) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    choosers.file = Sjis("/home/user/音/bell.wav");
    Click(Find<QAbstractButton>(&sheet, "chooseSound"));
    choosers.file = "/usr/bin/firefox";
    Click(Find<QAbstractButton>(&sheet, "chooseBrowser"));
    ASSERT_EQ(choosers.file_asked.size(), 1u);
    EXPECT_EQ(choosers.file_asked[0], std::make_pair(Sjis("wavファイル"), std::string("*.wav")));
    // The browser is chosen among the programs, starting at the one in the field.
    EXPECT_EQ(choosers.program_asked, (std::vector<std::string>{""}));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "NOTIFY_SOUND")), Sjis("/home/user/音/bell.wav"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "BROWSER")), "/usr/bin/firefox");
    PressOk(sheet);
    EXPECT_EQ(settings.notify_sound, Sjis("/home/user/音/bell.wav"));
    EXPECT_EQ(settings.browser, "/usr/bin/firefox");
}

TEST_F(OptionsSheetTest, TheProgramChooserListsWhatMayRunWhateverItsName) {
    test::TempDir dir;
    test::WriteBytes(dir / "run-me", "#!/bin/sh\n");
    ::chmod((dir / "run-me").c_str(), 0755);
    test::WriteBytes(dir / "notes.txt", "text");
    test::WriteBytes(dir / "setup.exe", "not runnable here");
    test::MakeDir(dir / "sub");
    QStringList listed;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "programChooser" && w->isVisible()) {
                dialog = qobject_cast<QFileDialog*>(w);
            }
        }
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QListView*>("listView");
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 2; }));
        QTest::qWait(200);
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    DialogChoosers dialogs;
    EXPECT_EQ(dialogs.ChooseProgram(nullptr, dir / "run-me"), std::nullopt);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"run-me", "sub"}));
}

TEST_F(OptionsSheetTest, TheFontSampleShowsTheFaceThePaneUses) {
    settings::AppSettings settings;
    settings.face_name = Sjis("存在しない書体");
    settings.point = 14;
    settings.bold = 1;
    OptionsSheet sheet(nullptr, settings, Services());
    auto* sample = Find<QLabel>(&sheet, "sample");
    QString family = desktop::ShownFamily(settings.face_name);
    ASSERT_NE(family, test::Q("存在しない書体")) << "a Japanese family is installed";
    EXPECT_EQ(sample->font().family(), family);
    EXPECT_EQ(sample->font().pointSize(), 14);
    EXPECT_TRUE(sample->font().bold());
    EXPECT_EQ(sample->text(), family + test::Q(" 14ﾎﾟｲﾝﾄ"));
}

TEST_F(OptionsSheetTest, TestButtonPlaysTheFileInTheField) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    auto* test_button = Find<QAbstractButton>(&sheet, "testSound");
    Click(test_button);
    EXPECT_TRUE(played.empty());  // nothing to play
    TypeInto(Find<QLineEdit>(&sheet, "NOTIFY_SOUND"), "/tmp/ding.wav");
    Click(test_button);
    EXPECT_EQ(played, std::vector<std::string>{"/tmp/ding.wav"});
}

TEST_F(OptionsSheetTest, StatisticsShowTheRunAndTheDay) {
    // The day so far, from the file; then a check of 75 seconds in this run.
    test::WriteBytes(path,
                     "[STATISTICS]\r\nLAST_TIME=1700000000\r\nTRX_TIME=3600\r\nNUM_SITES=40\r\n"
                     "RX_DATA_BYTES=5000\r\n");
    std::time_t now = 1700000000;
    fetch::TrafficStats counters([&now] { return now; });
    counters.LoadStatistics(path);
    counters.BeginCheckStatistics();
    counters.CountReceivedBytes(1048577);
    counters.CountReceivedPage();
    counters.CountReceivedPage();
    now += 75;
    counters.EndCheckStatistics();

    settings::AppSettings settings;
    OptionsServices services = Services();
    services.stats = &counters;
    OptionsSheet sheet(nullptr, settings, services);
    auto shown = [&](std::string_view name) {
        auto* label = Find<QLabel>(&sheet, name);
        return label != nullptr ? label->text().toStdString() : std::string();
    };
    EXPECT_EQ(shown("runTime"), "1分 15秒");
    EXPECT_EQ(shown("runPages"), "2");
    EXPECT_EQ(shown("runBytes"), "1.0 MB (1,048,577 バイト)");
    EXPECT_EQ(shown("dayTime"), "61分 15秒");
    EXPECT_EQ(shown("dayPages"), "42");
    EXPECT_EQ(shown("dayBytes"), "1.0 MB (1,053,577 バイト)");

    // Filled once: later counting does not change the open sheet.
    counters.CountReceivedPage();
    EXPECT_EQ(shown("runPages"), "2");
}

TEST_F(OptionsSheetTest, HeaderHoldsTwoHundredFiftyCharacters) {
    settings::AppSettings settings;
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    TypeInto(Find<QPlainTextEdit>(&sheet, "HEADER"), std::string(260, 'h'));
    PressOk(sheet);
    EXPECT_EQ(settings.header, std::string(250, 'h'));
}

TEST_F(OptionsSheetTest, ShownModallyAndAnsweredWithOkOrCancel) {
    settings::AppSettings settings;
    for (bool ok : {true, false}) {
        QTimer::singleShot(0, [ok] {
            auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            EXPECT_EQ(sheet->objectName().toStdString(), "optionsSheet");
            ok ? PressOk(*sheet) : PressCancel(*sheet);
        });
        EXPECT_EQ(ShowOptionsSheet(nullptr, settings, Services()), ok);
        EXPECT_EQ(test::Exists(path), true);  // written by the first, OK
    }
}

TEST_F(OptionsSheetTest, NothingIsClippedAtTheDefaultFont) {
    settings::AppSettings settings = FilledSettings();
    OptionsSheet sheet(nullptr, settings, Services());
    ShowActive(sheet);
    test::ExpectNothingClipped(sheet);
}

}  // namespace
}  // namespace velnora::sheets
