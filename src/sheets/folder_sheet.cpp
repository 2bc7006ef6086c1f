#include "sheets/folder_sheet.h"

#include <QLabel>
#include <QVBoxLayout>

#include "sheets/sheet_texts.h"

namespace velnora::sheets {

namespace {
constexpr int kFolderSheetWidth = 400;
constexpr int kFolderSheetHeight = 220;
}  // namespace

FolderSheet::FolderSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear,
                         int inherited_interval)
    : PropertySheet(owner, "folderSheet", kFolderSheetCaption), record_(record) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("folderSettingsPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    disable_auto_check_ = NewCheckBox(page, "DISABLE_AUTO_CHECK", kDisableAutoCheckLabel,
                                      record_.settings.disable_auto_check);
    layout->addWidget(disable_auto_check_);
    check_interval_ =
        new IntervalField(page, true, record_.settings.check_interval, inherited_interval);
    layout->addWidget(check_interval_);
    layout->addStretch(1);
    AddPage(page, kFolderSettingsTitle);
    AddPage(new PastLogPage(this, record_, std::move(clear)), kPastLogTitle);
    setMinimumSize(kFolderSheetWidth, kFolderSheetHeight);

    connect(disable_auto_check_, &QCheckBox::clicked, this, [this] { changed_ = true; });
    connect(check_interval_, &IntervalField::Edited, this, [this] { changed_ = true; });
}

void FolderSheet::accept() {
    record_.settings.disable_auto_check = CheckValue(disable_auto_check_);
    record_.settings.check_interval = check_interval_->Minutes();
    PropertySheet::accept();
}

void FolderSheet::reject() {
    changed_ = false;
    PropertySheet::reject();
}

RootSheet::RootSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear)
    : PropertySheet(owner, "rootSheet", kRootSheetCaption), record_(record) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("rootSettingsPage"));
    QVBoxLayout* layout = NewPageLayout(page);
    check_interval_ = new IntervalField(page, false, record_.settings.check_interval);
    layout->addWidget(check_interval_);
    layout->addWidget(NewLabel(page, kRootIntervalHint));
    layout->addStretch(1);
    AddPage(page, kRootSettingsTitle);
    AddPage(new PastLogPage(this, record_, std::move(clear)), kPastLogTitle);
    setMinimumSize(kFolderSheetWidth, kFolderSheetHeight);

    connect(check_interval_, &IntervalField::Edited, this, [this] { changed_ = true; });
}

void RootSheet::accept() {
    record_.settings.check_interval = check_interval_->Minutes();
    PropertySheet::accept();
}

void RootSheet::reject() {
    changed_ = false;
    PropertySheet::reject();
}

}  // namespace velnora::sheets
