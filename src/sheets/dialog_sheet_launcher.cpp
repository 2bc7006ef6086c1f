#include "sheets/dialog_sheet_launcher.h"

#include "sheets/folder_sheet.h"
#include "sheets/page_sheet.h"

namespace velnora::sheets {

DialogSheetLauncher::DialogSheetLauncher(QWidget* owner, PastLogClearer clear, SheetShowing showing)
    : owner_(owner), clear_(std::move(clear)), showing_(std::move(showing)) {}

template <typename Sheet, typename... Inputs>
bool DialogSheetLauncher::Show(store::ItemRecord& record, Inputs... inputs) {
    if (showing_) {
        showing_(true);
    }
    bool changed = false;
    {
        Sheet sheet(owner_.data(), record, clear_, inputs...);
        sheet.exec();
        changed = sheet.changed();
    }
    if (showing_) {
        showing_(false);
    }
    return changed;
}

bool DialogSheetLauncher::ShowPageSheet(store::ItemRecord& record, int inherited_interval) {
    return Show<PageSheet>(record, inherited_interval);
}

bool DialogSheetLauncher::ShowFolderSheet(store::ItemRecord& record, int inherited_interval) {
    return Show<FolderSheet>(record, inherited_interval);
}

bool DialogSheetLauncher::ShowRootSheet(store::ItemRecord& record) {
    return Show<RootSheet>(record);
}

}  // namespace velnora::sheets
