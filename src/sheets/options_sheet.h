#pragma once

// The options sheet "Velnoraのプロパティ": the program settings on six pages and the traffic
// statistics. The sheet works on the live settings record, into which the font and colour
// choosers write at once; it keeps a copy of the whole record from when it opened and puts it
// back on Cancel. OK copies the controls into the record and saves the settings file.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "fetch/traffic_stats.h"
#include "settings/app_settings.h"
#include "sheets/choosers.h"
#include "sheets/interval_field.h"
#include "sheets/sheet_controls.h"

class QLabel;
class QTimeEdit;
class QPushButton;

namespace velnora::sheets {

struct OptionsServices {
    // The counters shown on "統計情報" (zeros when null).
    const fetch::TrafficStats* stats = nullptr;
    // The font, colour and file choosers (Qt's dialogs when null).
    Choosers* choosers = nullptr;
    // Called on OK when the font, a colour or the line height changed: the result pane must
    // take the new font, colours and line height.
    std::function<void()> display_changed;
    // Plays a sound file for "テスト" (the desktop's player when empty).
    std::function<void(std::string_view file)> play_sound;
    // Writes the settings to velnora.ini on OK, with the home's write lock held, and tells the
    // user when the file could not be written.
    std::function<void(const settings::AppSettings& settings)> save;
};

class OptionsSheet : public PropertySheet {
    Q_OBJECT
  public:
    OptionsSheet(QWidget* owner, settings::AppSettings& settings, OptionsServices services);

    // OK: the controls into the settings, the display told when its font or colours changed,
    // the settings file saved.
    void accept() override;
    // Cancel: the settings as they were when the sheet opened, choices made in the choosers
    // included.
    void reject() override;

    // Whether the font, a colour or the line height changed while the sheet was open.
    bool font_changed() const { return font_changed_; }

  private:
    QWidget* BuildConnection();
    QWidget* BuildDisplay();
    QWidget* BuildHighlight();
    QWidget* BuildHeader();
    QWidget* BuildStatistics();
    QWidget* BuildAutoCheck();

    void ChooseFont();
    void ChooseColor(settings::ColorRef& color, std::string_view title);
    void ChooseFile(TextField* field, std::string_view filter_name, std::string_view pattern);
    void UpdateSample();
    void UpdateProxyFields();
    void Apply();

    settings::AppSettings& settings_;
    const settings::AppSettings saved_;
    OptionsServices services_;
    DialogChoosers dialog_choosers_;
    Choosers* choosers_;
    bool font_changed_ = false;

    // 通信設定
    QCheckBox* use_proxy_ = nullptr;
    TextField* proxy_url_ = nullptr;
    QLineEdit* proxy_port_ = nullptr;
    QCheckBox* use_head_ = nullptr;
    QCheckBox* follow_redirects_ = nullptr;
    NumberField* timeout_ = nullptr;
    NumberField* retry_ = nullptr;
    QCheckBox* startup_check_ = nullptr;
    QCheckBox* finish_message_ = nullptr;
    QCheckBox* use_notify_sound_ = nullptr;
    TextField* notify_sound_ = nullptr;
    // 表示設定
    NumberField* n_reload_ = nullptr;
    NumberField* max_disp_line_ = nullptr;
    QCheckBox* nochange_msg_ = nullptr;
    QLabel* sample_ = nullptr;
    NumberField* line_height_ = nullptr;
    QCheckBox* use_browser_ = nullptr;
    TextField* browser_ = nullptr;
    QCheckBox* save_history_ = nullptr;
    QCheckBox* ignore_image_name_ = nullptr;
    QCheckBox* disp_image_name_ = nullptr;
    QCheckBox* image_link_ = nullptr;
    // ハイライト機能
    QCheckBox* use_highlight_ = nullptr;
    std::array<TextField*, settings::kHighlightCount> highlights_{};
    // 見出し
    TextBox* header_ = nullptr;
    // 自動チェック
    QCheckBox* auto_check_ = nullptr;
    IntervalField* check_interval_ = nullptr;
    QTimeEdit* active_from_ = nullptr;
    QTimeEdit* active_to_ = nullptr;
    QCheckBox* desktop_notify_ = nullptr;
    QCheckBox* keep_in_tray_ = nullptr;
};

// Shows the sheet modally; true when it was closed with OK.
bool ShowOptionsSheet(QWidget* owner, settings::AppSettings& settings, OptionsServices services);

}  // namespace velnora::sheets
