#include "sheets/dialog_sheet_launcher.h"

#include "sheets/folder_sheet.h"
#include "sheets/page_sheet.h"

namespace velnora::sheets {

DialogSheetLauncher::DialogSheetLauncher(QWidget* owner, PastLogClearer clear, SheetShowing showing)
    : owner_(owner), clear_(std::move(clear)), showing_(std::move(showing)) {}

template <typename Sheet>
bool DialogSheetLauncher::Show(store::ItemRecord& record) {
    if (showing_) {
        showing_(true);
    }
    bool changed = false;
    {
        Sheet sheet(owner_.data(), record, clear_);
        sheet.exec();
        changed = sheet.changed();
    }
    if (showing_) {
        showing_(false);
    }
    return changed;
}

bool DialogSheetLauncher::ShowPageSheet(store::ItemRecord& record) {
    return Show<PageSheet>(record);
}

bool DialogSheetLauncher::ShowFolderSheet(store::ItemRecord& record) {
    return Show<FolderSheet>(record);
}

bool DialogSheetLauncher::ShowRootSheet(store::ItemRecord& record) {
    return Show<RootSheet>(record);
}

}  // namespace velnora::sheets
