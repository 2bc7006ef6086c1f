#pragma once

// The folder sheet "グループのプロパティ" (the folder's automatic-check flag, its check interval
// and the clearing of past logs) and the root sheet "ルートのプロパティ" (the data directory's
// check interval, which is the program's, and the clearing of past logs).

#include "sheets/interval_field.h"
#include "sheets/past_log_page.h"
#include "sheets/sheet_controls.h"
#include "store/records.h"

namespace velnora::sheets {

class FolderSheet : public PropertySheet {
    Q_OBJECT
  public:
    // inherited_interval: the minutes the folder follows when it follows its own folder.
    FolderSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear,
                int inherited_interval = 0);

    // Set by a click on "自動チェックしない" or an edit of the interval; false after Cancel.
    bool changed() const { return changed_; }

    // OK: the controls into the record's FolderSettings (settings.disable_auto_check and
    // settings.check_interval).
    void accept() override;
    void reject() override;

  private:
    store::ItemRecord& record_;
    QCheckBox* disable_auto_check_;
    IntervalField* check_interval_;
    bool changed_ = false;
};

class RootSheet : public PropertySheet {
    Q_OBJECT
  public:
    // record.settings.check_interval holds the program's interval.
    RootSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear);

    // Set by an edit of the interval; false after Cancel.
    bool changed() const { return changed_; }

    // OK: the interval into record.settings.check_interval.
    void accept() override;
    void reject() override;

  private:
    store::ItemRecord& record_;
    IntervalField* check_interval_;
    bool changed_ = false;
};

}  // namespace velnora::sheets
