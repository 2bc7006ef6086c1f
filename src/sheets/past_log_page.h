#pragma once

// The page "過去ログ" of the page, folder and root sheets: one button that clears the stored past
// logs of the item the sheet was opened for (or of every page below it). The clearing asks for
// confirmation itself; pressing the button does not count as an edit of the sheet.

#include <QWidget>
#include <functional>

#include "store/records.h"

namespace velnora::sheets {

// Clears the past logs of a page, or of every page below a folder or the root.
using PastLogClearer = std::function<void(const store::ItemRecord&)>;

class PastLogPage : public QWidget {
    Q_OBJECT
  public:
    // The record is copied: the button clears for the item as it was when the sheet opened.
    PastLogPage(QWidget* parent, const store::ItemRecord& record, PastLogClearer clear);

  private:
    store::ItemRecord record_;
    PastLogClearer clear_;
};

}  // namespace velnora::sheets
