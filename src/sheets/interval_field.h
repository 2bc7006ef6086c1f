#pragma once

// The check interval of a page, a folder or the data directory on their sheets: minutes in a
// number field, 0 for "only by hand", and for pages and folders "フォルダに従う", which greys the
// field out, showing the interval the folders give, and stores no key.

#include <QCheckBox>
#include <QWidget>

#include "sheets/sheet_controls.h"

namespace velnora::sheets {

class IntervalField : public QWidget {
    Q_OBJECT
  public:
    // minutes: the stored value (kFollowFolder: as the folder). offer_follow: the item has a
    // folder to follow. inherited: the minutes the item follows when it follows its folder,
    // shown then, and where the field starts when the user stops following.
    IntervalField(QWidget* parent, bool offer_follow, int minutes, int inherited = 0);

    // What is to be stored: the minutes, or kFollowFolder.
    int Minutes();

  signals:
    // The user changed the interval or its following.
    void Edited();

  private:
    void UpdateEnabled();

    QCheckBox* follow_ = nullptr;
    NumberField* minutes_ = nullptr;
};

}  // namespace velnora::sheets
