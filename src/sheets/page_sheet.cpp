#include "sheets/page_sheet.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/qt_text.h"
#include "fetch/password.h"
#include "sheets/sheet_texts.h"
#include "store/result_file.h"
#include "text/bounded_string.h"

namespace velnora::sheets {

namespace {

namespace keys = store::keys;

// A page's name must fit a path.
constexpr int kNameChars = static_cast<int>(text::kPathSize) - 1;
constexpr int kCommentLines = 3;
constexpr int kSheetWidth = 500;

constexpr std::string_view kUrlPrefill = "http://";

// A label above its field.
void AddLabelled(QVBoxLayout* layout, QWidget* page, std::string_view text, QWidget* field) {
    QLabel* label = NewLabel(page, text);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
}

}  // namespace

PageSheet::PageSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear,
                     int inherited_interval)
    : PropertySheet(owner, "pageSheet", kPageSheetCaption),
      record_(record),
      inherited_interval_(inherited_interval) {
    AddPage(BuildPageSettings(), kPageSettingsTitle);
    AddPage(BuildCheckSettings(), kCheckSettingsTitle);
    AddPage(BuildNgWords(), kNgWordsTitle);
    AddPage(BuildAreas(), kAreasTitle);
    AddPage(BuildAuth(), kAuthTitle);
    AddPage(new PastLogPage(this, record_, std::move(clear)), kPastLogTitle);
    setMinimumWidth(kSheetWidth);

    // A page that already has an address is stored again whatever is edited.
    changed_ = !record_.settings.url.empty();
    WatchEdits();
}

QWidget* PageSheet::BuildPageSettings() {
    const store::PageSettings& s = record_.settings;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageSettingsPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    site_name_ = new TextField(page, "siteName", kNameChars, text::kPathSize);
    site_name_->SetSjis(record_.node.name);
    url_ = new TextField(page, keys::kUrl);
    url_->SetSjis(s.url.empty() ? kUrlPrefill : std::string_view(s.url));
    browse_url_ = new TextField(page, keys::kBrowseUrl);
    browse_url_->SetSjis(s.browse_url);
    comment_ = new TextBox(page, keys::kComment);
    comment_->SetSjis(s.comment);
    comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * kCommentLines +
                             2 * comment_->frameWidth() + 8);

    AddLabelled(layout, page, kSiteNameLabel, site_name_);
    AddLabelled(layout, page, kUrlLabel, url_);
    // A URL that moved for good (301, 308) is offered here; it never changes by itself.
    std::string moved =
        record_.node.path.empty() ? std::string() : store::ReadMovedUrl(record_.node.path);
    if (!moved.empty() && moved != s.url) {
        auto* notice = new QHBoxLayout;
        QLabel* text = NewLabel(page, std::string(kMovedNotice) + "\n" + moved, "movedUrl");
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* take = new QPushButton(desktop::FromSjis(kTakeMovedUrlButton), page);
        take->setObjectName(QStringLiteral("takeMovedUrl"));
        take->setAutoDefault(false);
        notice->addWidget(text, 1);
        notice->addWidget(take);
        layout->addLayout(notice);
        connect(take, &QPushButton::clicked, this, [this, moved] { url_->SetSjis(moved); });
    }
    AddLabelled(layout, page, kBrowseUrlLabel, browse_url_);
    AddLabelled(layout, page, kCommentLabel, comment_);
    layout->addSpacing(4);
    noproxy_ = NewCheckBox(page, "NOPROXY", kNoProxyLabel, s.noproxy);
    disable_auto_check_ =
        NewCheckBox(page, "DISABLE_AUTO_CHECK", kDisableAutoCheckLabel, s.disable_auto_check);
    layout->addWidget(noproxy_);
    layout->addWidget(disable_auto_check_);
    layout->addStretch(1);
    return page;
}

QWidget* PageSheet::BuildCheckSettings() {
    const store::PageSettings& s = record_.settings;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("checkSettingsPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    dont_use_head_ = NewCheckBox(page, "DONT_USE_HEAD", kDontUseHeadLabel, s.dont_use_head);
    layout->addWidget(dont_use_head_);

    use_old_log_ = new NumberField(page, keys::kUseOldLog);
    use_old_log_->SetNumber(s.use_old_log);
    auto* old_log_row = new QHBoxLayout;
    old_log_row->addWidget(use_old_log_);
    QLabel* old_log_label = NewLabel(page, kUseOldLogLabel);
    old_log_label->setBuddy(use_old_log_);
    old_log_row->addWidget(old_log_label);
    old_log_row->addStretch(1);
    layout->addLayout(old_log_row);

    ignore_number_diff_ =
        NewCheckBox(page, "IGNORE_NUMBER_DIFF", kIgnoreNumberDiffLabel, s.ignore_number_diff);
    ignore_number_only_line_ = NewCheckBox(page, "IGNORE_NUMBER_ONLY_LINE",
                                           kIgnoreNumberOnlyLineLabel, s.ignore_number_only_line);
    ignore_same_text_ =
        NewCheckBox(page, "IGNORE_SAME_TEXT", kIgnoreSameTextLabel, s.ignore_same_text);
    ignore_url_ = NewCheckBox(page, "IGNORE_URL", kIgnoreUrlLabel, s.ignore_url);
    as_text_ = NewCheckBox(page, "AS_TEXT", kAsTextLabel, s.as_text);
    // The extraction offers no links-only mode; the box stays hidden and has no setting.
    links_only_ = NewCheckBox(page, "linksOnly", kLinksOnlyLabel, 0);
    links_only_->setVisible(false);
    for (QCheckBox* box : {ignore_number_diff_, ignore_number_only_line_, ignore_same_text_,
                           ignore_url_, as_text_, links_only_}) {
        layout->addWidget(box);
    }

    table_setting_ =
        NewChoiceList(page, "TABLE_SETTING",
                      {kTableNothing, kTableNoBreakInCell, kTableNoBreakInRow}, s.table_setting);
    charset_sel_ = NewChoiceList(page, "CHARSET_SEL",
                                 {kCharsetAuto, "SHIFT-JIS", "JIS", "EUC", "UTF-8"}, s.charset_sel);
    // The two lists one above the other, equally wide.
    int list_width = std::max(table_setting_->sizeHint().width(), charset_sel_->sizeHint().width());
    table_setting_->setMinimumWidth(list_width);
    charset_sel_->setMinimumWidth(list_width);
    auto* lists = new QGridLayout;
    lists->setContentsMargins(0, 6, 0, 0);
    lists->setHorizontalSpacing(10);
    lists->addWidget(NewLabel(page, kTableSettingLabel), 0, 0);
    lists->addWidget(table_setting_, 0, 1);
    lists->addWidget(NewLabel(page, kCharsetSelLabel), 1, 0);
    lists->addWidget(charset_sel_, 1, 1);
    lists->setColumnStretch(2, 1);
    layout->addLayout(lists);

    layout->addSpacing(6);
    check_interval_ = new IntervalField(page, true, s.check_interval, inherited_interval_);
    layout->addWidget(check_interval_);
    layout->addStretch(1);
    return page;
}

QWidget* PageSheet::BuildNgWords() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("ngWordsPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    layout->addWidget(NewLabel(page, kNgWordsExplanation));

    AddWordColumn(page, layout, keys::kNgWords, record_.settings.ngwords, ngwords_);
    layout->addStretch(1);
    return page;
}

QWidget* PageSheet::BuildAreas() {
    const store::PageSettings& s = record_.settings;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("areasPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    auto add_group = [&](std::string_view title, const store::AreaMarker& marker,
                         AreaControls& controls, const ini::TextKey& start_string,
                         const ini::NumberKey& start_type, const ini::TextKey& end_string,
                         const ini::NumberKey& end_type) {
        auto* group = new QGroupBox(desktop::FromSjis(title), page);
        auto* grid = new QGridLayout(group);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(8);
        controls.start_string = new TextField(group, start_string);
        controls.start_string->SetSjis(marker.start_string);
        controls.start_type = NewChoiceList(group, ini::KeyName(start_type).c_str(),
                                            {kStartFromLine, kStartAfterLine}, marker.start_type);
        controls.end_string = new TextField(group, end_string);
        controls.end_string->SetSjis(marker.end_string);
        controls.end_type = NewChoiceList(group, ini::KeyName(end_type).c_str(),
                                          {kEndAtLine, kEndBeforeLine}, marker.end_type);
        grid->addWidget(NewLabel(group, kAreaStartLabel), 0, 0);
        grid->addWidget(controls.start_string, 0, 1);
        grid->addWidget(controls.start_type, 0, 2);
        grid->addWidget(NewLabel(group, kAreaEndLabel), 1, 0);
        grid->addWidget(controls.end_string, 1, 1);
        grid->addWidget(controls.end_type, 1, 2);
        grid->setColumnStretch(1, 1);
        layout->addWidget(group);
    };
    add_group(kCheckAreaGroup, s.check_area, check_area_, keys::kCheckAreaStart,
              keys::kCheckAreaStartType, keys::kCheckAreaEnd, keys::kCheckAreaEndType);
    add_group(kIgnoreAreaGroup, s.ignore_area, ignore_area_, keys::kIgnoreAreaStart,
              keys::kIgnoreAreaStartType, keys::kIgnoreAreaEnd, keys::kIgnoreAreaEndType);
    layout->addStretch(1);
    return page;
}

QWidget* PageSheet::BuildAuth() {
    const store::PageSettings& s = record_.settings;
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("authPage"));
    QVBoxLayout* layout = NewPageLayout(page);

    auth_type_ = NewCheckBox(page, "AUTH_TYPE", kUseBasicAuthLabel, s.auth_type);
    layout->addWidget(auth_type_);

    auth_id_ = new TextField(page, keys::kAuthId);
    auth_id_->SetSjis(s.auth_id);
    // The password itself fits an account field; its stored, scrambled form is longer.
    auth_pass_ = new TextField(page, "AUTH_PASS", keys::kAuthId.MaxChars(), keys::kAuthId.buffer);
    auth_pass_->setEchoMode(QLineEdit::Password);
    // The record holds the stored form; the field shows the password itself.
    if (!s.auth_pass.empty()) {
        auth_pass_->SetSjis(fetch::UnscramblePassword(s.auth_pass));
    }
    auto* account = new QFormLayout;
    account->setContentsMargins(0, 4, 0, 4);
    account->addRow(NewLabel(page, kAuthIdLabel), auth_id_);
    account->addRow(NewLabel(page, kAuthPasswordLabel), auth_pass_);
    layout->addLayout(account);

    QLabel* warning = NewLabel(page, kAuthWarning, "authWarning");
    warning->setWordWrap(true);
    layout->addWidget(warning);
    layout->addStretch(1);
    return page;
}

void PageSheet::WatchEdits() {
    auto mark = [this] { MarkChanged(); };
    for (TextField* field :
         {site_name_, url_, browse_url_, check_area_.start_string, check_area_.end_string,
          ignore_area_.start_string, ignore_area_.end_string, auth_id_, auth_pass_}) {
        connect(field, &QLineEdit::textChanged, this, mark);
    }
    for (TextField* field : ngwords_) {
        connect(field, &QLineEdit::textChanged, this, mark);
    }
    connect(comment_, &QPlainTextEdit::textChanged, this, mark);
    connect(check_interval_, &IntervalField::Edited, this, mark);
    connect(use_old_log_->editor(), &QLineEdit::textChanged, this, mark);
    // Leaving the past-log field counts as an edit too.
    connect(use_old_log_, &QAbstractSpinBox::editingFinished, this, mark);
    // On the 認証 page only the texts count: the Basic box alone does not.
    for (QCheckBox* box : {noproxy_, disable_auto_check_, dont_use_head_, ignore_number_diff_,
                           ignore_number_only_line_, ignore_same_text_, ignore_url_, as_text_}) {
        connect(box, &QCheckBox::clicked, this, mark);
    }
    for (QComboBox* list : {table_setting_, charset_sel_, check_area_.start_type,
                            check_area_.end_type, ignore_area_.start_type, ignore_area_.end_type}) {
        connect(list, &QComboBox::currentIndexChanged, this, mark);
    }
}

void PageSheet::accept() {
    store::PageSettings& s = record_.settings;
    record_.node.name = site_name_->Sjis();
    s.url = url_->Sjis();
    s.browse_url = browse_url_->Sjis();
    s.comment = comment_->Sjis();
    s.noproxy = CheckValue(noproxy_);
    s.disable_auto_check = CheckValue(disable_auto_check_);

    s.dont_use_head = CheckValue(dont_use_head_);
    s.use_old_log = use_old_log_->Number();
    s.ignore_number_diff = CheckValue(ignore_number_diff_);
    s.ignore_number_only_line = CheckValue(ignore_number_only_line_);
    s.ignore_same_text = CheckValue(ignore_same_text_);
    s.ignore_url = CheckValue(ignore_url_);
    s.as_text = CheckValue(as_text_);
    s.table_setting = ChoiceValue(table_setting_, s.table_setting);
    s.charset_sel = ChoiceValue(charset_sel_, s.charset_sel);
    s.check_interval = check_interval_->Minutes();

    for (int i = 0; i < store::kNgWordCount; ++i) {
        s.ngwords[i] = ngwords_[i]->Sjis();
    }

    auto store_area = [](const AreaControls& controls, store::AreaMarker& marker) {
        marker.start_string = controls.start_string->Sjis();
        marker.start_type = ChoiceValue(controls.start_type, marker.start_type);
        marker.end_string = controls.end_string->Sjis();
        marker.end_type = ChoiceValue(controls.end_type, marker.end_type);
    };
    store_area(check_area_, s.check_area);
    store_area(ignore_area_, s.ignore_area);

    s.auth_type = CheckValue(auth_type_);
    s.auth_id = auth_id_->Sjis();
    std::string password = auth_pass_->Sjis();
    s.auth_pass = password.empty() ? std::string() : fetch::ScramblePassword(password);

    PropertySheet::accept();
}

void PageSheet::reject() {
    changed_ = false;
    PropertySheet::reject();
}

}  // namespace velnora::sheets
