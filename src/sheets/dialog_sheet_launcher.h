#pragma once

// The property sheets of tree items, shown as modal dialogs over the main window.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "sheets/past_log_page.h"
#include "sheets/sheet_launcher.h"

namespace velnora::sheets {

class DialogSheetLauncher final : public SheetLauncher {
  public:
    // Called with true before a sheet is shown and with false after it has closed, so that the
    // window can leave its stay-on-top state while the sheet is up and restore it afterwards.
    using SheetShowing = std::function<void(bool showing)>;

    // `owner` owns the sheets (may be null); `clear` runs for the "過去ログのクリア" buttons.
    DialogSheetLauncher(QWidget* owner, PastLogClearer clear, SheetShowing showing = {});

    bool ShowPageSheet(store::ItemRecord& record, int inherited_interval) override;
    bool ShowFolderSheet(store::ItemRecord& record, int inherited_interval) override;
    bool ShowRootSheet(store::ItemRecord& record) override;

  private:
    template <typename Sheet, typename... Inputs>
    bool Show(store::ItemRecord& record, Inputs... inputs);

    QPointer<QWidget> owner_;
    PastLogClearer clear_;
    SheetShowing showing_;
};

}  // namespace velnora::sheets
