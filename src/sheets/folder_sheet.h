#pragma once

// The folder sheet "グループのプロパティ" (the folder's automatic-check flag and the clearing of
// past logs) and the root sheet "ルートのプロパティ" (the clearing of past logs only).

#include "sheets/past_log_page.h"
#include "sheets/sheet_controls.h"
#include "store/records.h"

namespace velnora::sheets {

class FolderSheet : public PropertySheet {
    Q_OBJECT
  public:
    FolderSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear);

    // Set by a click on "自動チェックしない"; false after Cancel.
    bool changed() const { return changed_; }

    // OK: the check box into the record's FolderSettings (settings.disable_auto_check).
    void accept() override;
    void reject() override;

  private:
    store::ItemRecord& record_;
    QCheckBox* disable_auto_check_;
    bool changed_ = false;
};

class RootSheet : public PropertySheet {
    Q_OBJECT
  public:
    RootSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear);

    // The root sheet edits nothing.
    bool changed() const { return false; }
};

}  // namespace velnora::sheets
