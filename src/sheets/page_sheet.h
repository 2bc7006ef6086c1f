#pragma once

// The page sheet "ウェブページのプロパティ": a page's name and settings on six pages. The sheet
// reads the record when it opens and writes its controls into it only on OK; its result is the
// sheet-changed flag, which the tree operations use to decide whether to store the record.

#include <array>

#include "sheets/interval_field.h"
#include "sheets/past_log_page.h"
#include "sheets/sheet_controls.h"
#include "store/records.h"

namespace velnora::sheets {

class PageSheet : public PropertySheet {
    Q_OBJECT
  public:
    // Fills the controls from the record; `clear` runs for the page's "過去ログのクリア".
    // inherited_interval: the minutes the page follows when it follows its folder.
    PageSheet(QWidget* owner, store::ItemRecord& record, PastLogClearer clear,
              int inherited_interval = 0);

    // The sheet-changed flag: set by edits (and from the start for a page with a URL), false
    // after Cancel.
    bool changed() const { return changed_; }

    // OK: the controls into the record.
    void accept() override;
    // Cancel: the record stays as it was, and the sheet counts as unchanged.
    void reject() override;

  private:
    QWidget* BuildPageSettings();
    QWidget* BuildCheckSettings();
    QWidget* BuildNgWords();
    QWidget* BuildAreas();
    QWidget* BuildAuth();
    void WatchEdits();
    void MarkChanged() { changed_ = true; }

    store::ItemRecord& record_;
    int inherited_interval_ = 0;
    bool changed_ = false;

    // ページ設定
    TextField* site_name_ = nullptr;
    TextField* url_ = nullptr;
    TextField* browse_url_ = nullptr;
    TextBox* comment_ = nullptr;
    QCheckBox* noproxy_ = nullptr;
    QCheckBox* disable_auto_check_ = nullptr;
    // チェック設定
    QCheckBox* dont_use_head_ = nullptr;
    NumberField* use_old_log_ = nullptr;
    QCheckBox* ignore_number_diff_ = nullptr;
    QCheckBox* ignore_number_only_line_ = nullptr;
    QCheckBox* ignore_same_text_ = nullptr;
    QCheckBox* ignore_url_ = nullptr;
    QCheckBox* as_text_ = nullptr;
    QCheckBox* links_only_ = nullptr;
    QComboBox* table_setting_ = nullptr;
    QComboBox* charset_sel_ = nullptr;
    IntervalField* check_interval_ = nullptr;
    // NGワード
    std::array<TextField*, store::kNgWordCount> ngwords_{};
    // 更新確認範囲: the check area and the ignore area
    struct AreaControls {
        TextField* start_string = nullptr;
        QComboBox* start_type = nullptr;
        TextField* end_string = nullptr;
        QComboBox* end_type = nullptr;
    };
    AreaControls check_area_;
    AreaControls ignore_area_;
    // 認証
    QCheckBox* auth_type_ = nullptr;
    TextField* auth_id_ = nullptr;
    TextField* auth_pass_ = nullptr;
};

}  // namespace velnora::sheets
