#include "sheets/options_sheet.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSystemTrayIcon>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cstdio>

#include "desktop/desktop.h"
#include "desktop/fonts.h"
#include "desktop/qt_text.h"
#include "ini/ini_file.h"
#include "ini/keys.h"
#include "settings/byte_count_format.h"
#include "sheets/sheet_texts.h"
#include "text/bounded_string.h"

namespace velnora::sheets {

namespace {

namespace keys = settings::keys;

// The face name as the font chooser hands it over: at most 32 bytes.
constexpr std::size_t kFaceNameBuffer = 33;
// The character set a chosen font is stored with (the default one).
constexpr int kChosenCharset = 1;
constexpr int kSheetWidth = 520;
constexpr int kIndent = 22;

QPushButton* NewButton(QWidget* parent, const char* object_name, std::string_view text) {
    auto* button = new QPushButton(desktop::FromSjis(text), parent);
    button->setObjectName(QString::fromLatin1(object_name));
    button->setAutoDefault(false);
    return button;
}

// A number field followed by its unit ("秒", "回", "%"), with its label before it.
QHBoxLayout* NumberRow(QWidget* page, std::string_view label, NumberField* field,
                       std::string_view unit) {
    auto* row = new QHBoxLayout;
    QLabel* caption = NewLabel(page, label);
    caption->setBuddy(field);
    row->addWidget(caption);
    row->addWidget(field);
    if (!unit.empty()) {
        row->addWidget(NewLabel(page, unit));
    }
    return row;
}

// A row indented under the check box it belongs to.
QHBoxLayout* IndentedRow() {
    auto* row = new QHBoxLayout;
    row->addSpacing(kIndent);
    return row;
}

std::string Formatted(std::string_view format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, std::string(format).c_str(), value);
    return text;
}

}  // namespace

OptionsSheet::OptionsSheet(QWidget* owner, settings::AppSettings& settings,
                           OptionsServices services)
    : PropertySheet(owner, "optionsSheet", kOptionsSheetCaption),
      settings_(settings),
      saved_(settings),
      services_(std::move(services)),
      choosers_(services_.choosers != nullptr ? services_.choosers : &dialog_choosers_) {
    AddPage(BuildConnection(), kConnectionTitle);
    AddPage(BuildDisplay(), kDisplayTitle);
    AddPage(BuildHighlight(), kHighlightTitle);
    AddPage(BuildHeader(), kHeaderTitle);
    AddPage(BuildStatistics(), kStatisticsTitle);
    AddPage(BuildAutoCheck(), kAutoCheckTitle);
    setMinimumWidth(kSheetWidth);
}

QWidget* OptionsSheet::BuildConnection() {
    const settings::AppSettings& s = settings_;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("connectionPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    use_proxy_ = NewCheckBox(page, "USE_PROXY", kUseProxyLabel, s.use_proxy);
    layout->addWidget(use_proxy_);
    proxy_url_ = new TextField(page, keys::kProxyUrl);
    proxy_url_->SetSjis(s.proxy_url);
    proxy_port_ = new QLineEdit(page);
    const int port_digits = keys::kProxyPort.range.Digits();
    proxy_port_->setObjectName(QString::fromStdString(ini::KeyName(keys::kProxyPort)));
    proxy_port_->setMaxLength(port_digits);
    proxy_port_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), proxy_port_));
    proxy_port_->setText(QString::number(s.proxy_port));
    proxy_port_->setFixedWidth(
        proxy_port_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * (port_digits + 2) + 12);
    QHBoxLayout* proxy_row = IndentedRow();
    QLabel* host_label = NewLabel(page, kProxyHostLabel);
    host_label->setBuddy(proxy_url_);
    QLabel* port_label = NewLabel(page, kProxyPortLabel);
    port_label->setBuddy(proxy_port_);
    proxy_row->addWidget(host_label);
    proxy_row->addWidget(proxy_url_, 1);
    proxy_row->addSpacing(8);
    proxy_row->addWidget(port_label);
    proxy_row->addWidget(proxy_port_);
    layout->addLayout(proxy_row);
    UpdateProxyFields();
    connect(use_proxy_, &QCheckBox::toggled, this, &OptionsSheet::UpdateProxyFields);

    use_head_ = NewCheckBox(page, "USE_HEAD", kUseHeadLabel, s.use_head);
    layout->addWidget(use_head_);
    follow_redirects_ =
        NewCheckBox(page, "FOLLOW_REDIRECTS", kFollowRedirectsLabel, s.follow_redirects);
    layout->addWidget(follow_redirects_);

    timeout_ = new NumberField(page, keys::kTimeout);
    timeout_->SetNumber(s.timeout);
    retry_ = new NumberField(page, keys::kRetry);
    retry_->SetNumber(s.retry);
    auto* numbers = new QHBoxLayout;
    numbers->addLayout(NumberRow(page, kTimeoutLabel, timeout_, kSecondsUnit));
    numbers->addSpacing(24);
    numbers->addLayout(NumberRow(page, kRetryLabel, retry_, kTimesUnit));
    numbers->addStretch(1);
    layout->addSpacing(2);
    layout->addLayout(numbers);
    layout->addSpacing(2);

    startup_check_ = NewCheckBox(page, "STARTUP_CHECK", kStartupCheckLabel, s.startup_check);
    finish_message_ = NewCheckBox(page, "FINISH_MESSAGE", kFinishMessageLabel, s.finish_message);
    use_notify_sound_ =
        NewCheckBox(page, "USE_NOTIFY_SOUND", kNotifySoundLabel, s.use_notify_sound);
    layout->addWidget(startup_check_);
    layout->addWidget(finish_message_);
    layout->addWidget(use_notify_sound_);

    notify_sound_ = new TextField(page, keys::kNotifySound);
    notify_sound_->SetSjis(s.notify_sound);
    QPushButton* choose = NewButton(page, "chooseSound", kChooseButton);
    QPushButton* test = NewButton(page, "testSound", kTestButton);
    QHBoxLayout* sound_row = IndentedRow();
    sound_row->addWidget(notify_sound_, 1);
    sound_row->addWidget(choose);
    sound_row->addWidget(test);
    layout->addLayout(sound_row);
    layout->addStretch(1);

    connect(choose, &QPushButton::clicked, this,
            [this] { ChooseFile(notify_sound_, kSoundFilterName, kSoundFilterPattern); });
    connect(test, &QPushButton::clicked, this, [this] {
        std::string file = notify_sound_->Sjis();
        if (file.empty()) {
            return;
        }
        if (services_.play_sound) {
            services_.play_sound(file);
        } else {
            desktop::PlaySoundFile(file);
        }
    });
    return page;
}

QWidget* OptionsSheet::BuildDisplay() {
    const settings::AppSettings& s = settings_;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("displayPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    n_reload_ = new NumberField(page, keys::kNReload);
    n_reload_->SetNumber(s.n_reload);
    max_disp_line_ = new NumberField(page, keys::kMaxDispLine);
    max_disp_line_->SetNumber(s.max_disp_line);
    auto* counts = new QFormLayout;
    counts->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    counts->addRow(NewLabel(page, kNReloadLabel), n_reload_);
    counts->addRow(NewLabel(page, kMaxDispLineLabel), max_disp_line_);
    layout->addLayout(counts);
    nochange_msg_ = NewCheckBox(page, "NOCHANGE_MSG", kNoChangeMessageLabel, s.nochange_msg);
    layout->addWidget(nochange_msg_);

    auto* font_group = new QGroupBox(desktop::FromSjis(kFontGroup), page);
    auto* font_layout = new QVBoxLayout(font_group);
    font_layout->setSpacing(8);
    sample_ = new QLabel(font_group);
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setFrameShadow(QFrame::Sunken);
    sample_->setAutoFillBackground(true);
    sample_->setContentsMargins(8, 6, 8, 6);
    sample_->setMinimumHeight(sample_->fontMetrics().height() * 2 + 8);
    font_layout->addWidget(sample_);
    UpdateSample();

    QPushButton* font = NewButton(font_group, "chooseFont", kFontButton);
    QPushButton* text_color = NewButton(font_group, "chooseTextColor", kTextColorButton);
    QPushButton* back_color = NewButton(font_group, "chooseBackColor", kBackColorButton);
    QPushButton* highlight_color =
        NewButton(font_group, "chooseHighlightColor", kHighlightColorButton);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {font, text_color, back_color, highlight_color}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    font_layout->addLayout(buttons);

    line_height_ = new NumberField(font_group, keys::kLineHeight);
    line_height_->SetNumber(s.line_height);
    QHBoxLayout* line_height_row =
        NumberRow(font_group, kLineHeightLabel, line_height_, kPercentUnit);
    line_height_row->addStretch(1);
    font_layout->addLayout(line_height_row);
    layout->addWidget(font_group);

    connect(font, &QPushButton::clicked, this, &OptionsSheet::ChooseFont);
    connect(text_color, &QPushButton::clicked, this,
            [this] { ChooseColor(settings_.color, kTextColorButton); });
    connect(back_color, &QPushButton::clicked, this,
            [this] { ChooseColor(settings_.back_color, kBackColorButton); });
    connect(highlight_color, &QPushButton::clicked, this,
            [this] { ChooseColor(settings_.highlight_color, kHighlightColorButton); });
    // Any change to the line height means a new layout of the result pane.
    connect(line_height_->editor(), &QLineEdit::textChanged, this,
            [this] { font_changed_ = true; });

    use_browser_ = NewCheckBox(page, "USE_BROWSER", kUseBrowserLabel, s.use_browser);
    layout->addWidget(use_browser_);
    browser_ = new TextField(page, keys::kBrowser);
    browser_->SetSjis(s.browser);
    QPushButton* choose_browser = NewButton(page, "chooseBrowser", kChooseButton);
    QHBoxLayout* browser_row = IndentedRow();
    browser_row->addWidget(browser_, 1);
    browser_row->addWidget(choose_browser);
    layout->addLayout(browser_row);
    connect(choose_browser, &QPushButton::clicked, this, [this] {
        if (std::optional<std::string> chosen = choosers_->ChooseProgram(this, browser_->Sjis())) {
            browser_->SetSjis(*chosen);
        }
    });

    save_history_ = NewCheckBox(page, "SAVE_HISTORY", kSaveHistoryLabel, s.save_history);
    ignore_image_name_ =
        NewCheckBox(page, "IGNORE_IMAGE_NAME", kIgnoreImageNameLabel, s.ignore_image_name);
    disp_image_name_ = NewCheckBox(page, "DISP_IMAGE_NAME", kDispImageNameLabel, s.disp_image_name);
    image_link_ = NewCheckBox(page, "IMAGE_LINK", kImageLinkLabel, s.image_link);
    for (QCheckBox* box : {save_history_, ignore_image_name_, disp_image_name_, image_link_}) {
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

QWidget* OptionsSheet::BuildHighlight() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("highlightPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    use_highlight_ =
        NewCheckBox(page, "USE_HIGHLIGHT", kUseHighlightLabel, settings_.use_highlight);
    layout->addWidget(use_highlight_);
    AddWordColumn(page, layout, keys::kHighlights, settings_.highlights, highlights_);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsSheet::BuildHeader() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("headerPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    header_ = new TextBox(page, keys::kHeader);
    header_->SetSjis(settings_.header);
    QLabel* explanation = NewLabel(page, kHeaderExplanation, "headerExplanation");
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addWidget(header_, 1);
    row->addWidget(explanation);
    layout->addLayout(row, 1);
    return page;
}

QWidget* OptionsSheet::BuildStatistics() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("statisticsPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    layout->setSpacing(12);

    // Filled once, from the counters as they stand when the sheet opens.
    auto add_group = [&](std::string_view title, const char* prefix, int seconds, int pages,
                         std::uint32_t bytes) {
        auto* group = new QGroupBox(desktop::FromSjis(title), page);
        auto* form = new QFormLayout(group);
        form->setHorizontalSpacing(24);
        form->setVerticalSpacing(8);
        auto add_row = [&](std::string_view label, const char* suffix, const std::string& value) {
            QLabel* shown = NewLabel(group, value, (std::string(prefix) + suffix).c_str());
            shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(NewLabel(group, label), shown);
        };
        add_row(kTransferTimeLabel, "Time", settings::FormatMinutesSeconds(seconds));
        add_row(kReceivedPagesLabel, "Pages", Formatted(kPagesFormat, pages));
        add_row(kReceivedDataLabel, "Bytes", settings::FormatByteCount(bytes));
        layout->addWidget(group);
    };
    const fetch::TrafficStats* stats = services_.stats;
    add_group(kRunGroup, "run", stats ? stats->run_seconds() : 0, stats ? stats->run_pages() : 0,
              stats ? stats->run_bytes() : 0);
    add_group(kDayGroup, "day", stats ? stats->day_seconds() : 0, stats ? stats->day_pages() : 0,
              stats ? stats->day_bytes() : 0);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsSheet::BuildAutoCheck() {
    const settings::AppSettings& s = settings_;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("autoCheckPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    auto_check_ = NewCheckBox(page, "AUTO_CHECK", kAutoCheckLabel, s.auto_check);
    layout->addWidget(auto_check_);
    // The interval of the pages and folders that follow the data directory.
    check_interval_ = new IntervalField(page, false, s.check_interval);
    QHBoxLayout* interval_row = IndentedRow();
    interval_row->addWidget(check_interval_, 1);
    layout->addLayout(interval_row);

    auto time_field = [page](const ini::NumberKey& key, int minutes) {
        auto* field = new QTimeEdit(QTime(minutes / 60, minutes % 60), page);
        field->setObjectName(QString::fromStdString(ini::KeyName(key)));
        field->setDisplayFormat(QStringLiteral("HH:mm"));
        return field;
    };
    active_from_ = time_field(keys::kActiveFrom, s.active_from);
    active_to_ = time_field(keys::kActiveTo, s.active_to);
    QHBoxLayout* hours_row = IndentedRow();
    QLabel* hours_label = NewLabel(page, kActiveHoursLabel);
    hours_label->setBuddy(active_from_);
    hours_row->addWidget(hours_label);
    hours_row->addWidget(active_from_);
    hours_row->addWidget(NewLabel(page, kActiveFromUnit));
    hours_row->addWidget(active_to_);
    hours_row->addWidget(NewLabel(page, kActiveToUnit));
    hours_row->addWidget(NewLabel(page, kActiveHoursHint));
    hours_row->addStretch(1);
    layout->addLayout(hours_row);
    layout->addSpacing(6);

    desktop_notify_ = NewCheckBox(page, "DESKTOP_NOTIFY", kDesktopNotifyLabel, s.desktop_notify);
    keep_in_tray_ = NewCheckBox(page, "KEEP_IN_TRAY", kKeepInTrayLabel, s.keep_in_tray);
    // Without a tray there is nowhere to keep running.
    keep_in_tray_->setEnabled(QSystemTrayIcon::isSystemTrayAvailable());
    layout->addWidget(desktop_notify_);
    layout->addWidget(keep_in_tray_);
    layout->addStretch(1);
    return page;
}

void OptionsSheet::UpdateProxyFields() {
    bool on = use_proxy_->isChecked();
    proxy_url_->setEnabled(on);
    proxy_port_->setEnabled(on);
}

void OptionsSheet::UpdateSample() {
    // The sample is drawn in the font the result pane uses and names its face: a stored face
    // that is not installed shows the family that stands in for it.
    QFont font = desktop::ShownFont({settings_.face_name, settings_.point, settings_.bold != 0,
                                     settings_.italic != 0, settings_.underline != 0,
                                     settings_.strikeout != 0});
    char text[128];
    std::snprintf(text, sizeof text, std::string(kSampleFormat).c_str(),
                  desktop::ToSjis(font.family()).c_str(), font.pointSize());
    sample_->setFont(font);
    sample_->setText(desktop::FromSjis(text));
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::WindowText, ToQColor(settings_.color));
    palette.setColor(QPalette::Window, ToQColor(settings_.back_color));
    sample_->setPalette(palette);
}

void OptionsSheet::ChooseFont() {
    FontChoice initial;
    initial.face_name = settings_.face_name;
    initial.point = settings_.point;
    initial.bold = settings_.bold != 0;
    initial.italic = settings_.italic != 0;
    initial.underline = settings_.underline != 0;
    initial.strikeout = settings_.strikeout != 0;
    initial.color = settings_.color;
    std::optional<FontChoice> chosen = choosers_->ChooseFont(this, initial);
    if (!chosen) {
        return;
    }
    settings_.face_name = text::CutToBuffer(chosen->face_name, kFaceNameBuffer);
    settings_.point = chosen->point;
    settings_.bold = chosen->bold ? 1 : 0;
    settings_.italic = chosen->italic ? 1 : 0;
    settings_.underline = chosen->underline ? 1 : 0;
    settings_.strikeout = chosen->strikeout ? 1 : 0;
    if (chosen->color) {
        settings_.color = *chosen->color;
    }
    settings_.charset = kChosenCharset;
    UpdateSample();
    font_changed_ = true;
}

void OptionsSheet::ChooseColor(settings::ColorRef& color, std::string_view title) {
    std::optional<settings::ColorRef> chosen =
        choosers_->ChooseColor(this, title, color, settings_.custom_colors);
    if (!chosen) {
        return;
    }
    color = *chosen;
    UpdateSample();
    font_changed_ = true;
}

void OptionsSheet::ChooseFile(TextField* field, std::string_view filter_name,
                              std::string_view pattern) {
    std::optional<std::string> chosen = choosers_->ChooseFile(this, filter_name, pattern);
    if (chosen) {
        field->SetSjis(*chosen);
    }
}

void OptionsSheet::Apply() {
    settings::AppSettings& s = settings_;
    s.use_proxy = CheckValue(use_proxy_);
    s.proxy_url = proxy_url_->Sjis();
    // A port outside 1 to 65535 is stored as the default, as it would be read back.
    s.proxy_port =
        ini::Ranged(keys::kProxyPort, ini::ParseLeadingInt(desktop::ToSjis(proxy_port_->text())));
    s.use_head = CheckValue(use_head_);
    s.follow_redirects = CheckValue(follow_redirects_);
    s.timeout = timeout_->Number();
    s.retry = retry_->Number();
    s.startup_check = CheckValue(startup_check_);
    s.finish_message = CheckValue(finish_message_);
    s.use_notify_sound = CheckValue(use_notify_sound_);
    s.notify_sound = notify_sound_->Sjis();

    s.n_reload = n_reload_->Number();
    s.max_disp_line = max_disp_line_->Number();
    s.nochange_msg = CheckValue(nochange_msg_);
    s.line_height = line_height_->Number();
    s.use_browser = CheckValue(use_browser_);
    s.browser = browser_->Sjis();
    s.save_history = CheckValue(save_history_);
    s.ignore_image_name = CheckValue(ignore_image_name_);
    s.disp_image_name = CheckValue(disp_image_name_);
    s.image_link = CheckValue(image_link_);

    s.use_highlight = CheckValue(use_highlight_);
    for (int i = 0; i < settings::kHighlightCount; ++i) {
        s.highlights[i] = highlights_[i]->Sjis();
    }
    s.header = header_->Sjis();

    s.auto_check = CheckValue(auto_check_);
    s.check_interval = check_interval_->Minutes();
    auto minutes = [](const QTimeEdit* field) {
        return field->time().hour() * 60 + field->time().minute();
    };
    s.active_from = minutes(active_from_);
    s.active_to = minutes(active_to_);
    s.desktop_notify = CheckValue(desktop_notify_);
    s.keep_in_tray = CheckValue(keep_in_tray_);
}

void OptionsSheet::accept() {
    Apply();
    if (font_changed_ && services_.display_changed) {
        services_.display_changed();
    }
    if (services_.save) {
        services_.save(settings_);
    }
    PropertySheet::accept();
}

void OptionsSheet::reject() {
    settings_ = saved_;
    PropertySheet::reject();
}

bool ShowOptionsSheet(QWidget* owner, settings::AppSettings& settings, OptionsServices services) {
    OptionsSheet sheet(owner, settings, std::move(services));
    return sheet.exec() == QDialog::Accepted;
}

}  // namespace velnora::sheets
