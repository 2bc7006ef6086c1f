// The check intervals on the page, folder and root sheets ("フォルダに従う" stores no key), and the
// new address of a page that moved for good, offered on the page sheet.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "sheets/folder_sheet.h"
#include "sheets/page_sheet.h"
#include "store/result_file.h"
#include "store/settings_keys.h"
#include "support/temp_dir.h"
#include "widget_driving.h"

namespace velnora::sheets {
namespace {

using test::Click;
using test::Find;
using test::PressCancel;
using test::PressOk;
using test::ShowActive;
using test::TypeInto;

constexpr int kFollow = store::keys::kFollowFolder;

PastLogClearer NoClearing() {
    return [](const store::ItemRecord&) {};
}

// Opens the sheet of the kind on a record with the stored interval, does what `act` does and
// presses OK; the interval the record then holds, and whether the sheet counts as changed.
struct Outcome {
    int interval;
    bool changed;
};

template <typename Sheet>
Outcome Edit(int kind, int stored, const std::function<void(QDialog&)>& act) {
    store::ItemRecord record;
    record.node.kind = kind;
    record.settings.check_interval = stored;
    Sheet sheet(nullptr, record, NoClearing());
    ShowActive(sheet);
    act(sheet);
    PressOk(sheet);
    return {record.settings.check_interval, sheet.changed()};
}

void Nothing(QDialog&) {}
void Unfollow(QDialog& sheet) {
    Click(Find<QCheckBox>(&sheet, "followFolder"));
}
void Type(QDialog& sheet, const char* minutes) {
    TypeInto(Find<QAbstractSpinBox>(&sheet, "CHECK_INTERVAL"), minutes);
}

TEST(IntervalFields, FollowingTheFolderStoresNoValueOfItsOwn) {
    struct Row {
        const char* edit;
        int stored;
        std::function<void(QDialog&)> act;
        int expected;
    } rows[] = {
        {"untouched, following", kFollow, Nothing, kFollow},
        {"untouched, by hand", 0, Nothing, 0},
        {"untouched, an hour", 60, Nothing, 60},
        {"no longer following", kFollow,
         [](QDialog& s) {
             Unfollow(s);
             Type(s, "45");
         },
         45},
        {"following again", 30, Unfollow, kFollow},
        {"by hand", 30, [](QDialog& s) { Type(s, "0"); }, 0},
        {"beyond a year: the field's default", 30, [](QDialog& s) { Type(s, "999999"); }, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edit);
        EXPECT_EQ(Edit<FolderSheet>(store::KIND_FOLDER, row.stored, row.act).interval,
                  row.expected);
        // The page sheet keeps its interval on its second page.
        store::ItemRecord page;
        page.node.kind = store::KIND_PAGE;
        page.settings.check_interval = row.stored;
        PageSheet sheet(nullptr, page, NoClearing());
        ShowActive(sheet);
        test::Reveal(Find<QWidget>(&sheet, "checkInterval"));
        row.act(sheet);
        PressOk(sheet);
        EXPECT_EQ(page.settings.check_interval, row.expected);
    }
}

TEST(IntervalFields, TheFieldIsGreyedWhileTheFolderIsFollowed) {
    store::ItemRecord folder;
    folder.node.kind = store::KIND_FOLDER;
    FolderSheet sheet(nullptr, folder, NoClearing(), 90);
    ShowActive(sheet);
    auto* minutes = Find<QSpinBox>(&sheet, "CHECK_INTERVAL");
    EXPECT_TRUE(Find<QCheckBox>(&sheet, "followFolder")->isChecked());
    EXPECT_FALSE(minutes->isEnabled());
    EXPECT_EQ(minutes->value(), 90) << "the interval the folders give";
    Unfollow(sheet);
    EXPECT_TRUE(minutes->isEnabled());
    PressCancel(sheet);
    EXPECT_EQ(folder.settings.check_interval, kFollow) << "Cancel keeps the record";
}

TEST(IntervalFields, NoLongerFollowingStartsFromTheIntervalThatApplied) {
    store::ItemRecord page;
    page.node.kind = store::KIND_PAGE;
    page.settings.check_interval = kFollow;
    PageSheet sheet(nullptr, page, NoClearing(), 45);
    ShowActive(sheet);
    test::Reveal(Find<QWidget>(&sheet, "checkInterval"));
    EXPECT_EQ(Find<QSpinBox>(&sheet, "CHECK_INTERVAL")->value(), 45);
    Unfollow(sheet);
    PressOk(sheet);
    EXPECT_EQ(page.settings.check_interval, 45);

    // An item with an interval of its own shows it, whatever the folders give.
    store::ItemRecord own;
    own.node.kind = store::KIND_FOLDER;
    own.settings.check_interval = 10;
    FolderSheet folder(nullptr, own, NoClearing(), 45);
    EXPECT_EQ(Find<QSpinBox>(&folder, "CHECK_INTERVAL")->value(), 10);
}

TEST(IntervalFields, EditsMarkTheFolderAndRootSheetsChanged) {
    EXPECT_FALSE((Edit<FolderSheet>(store::KIND_FOLDER, kFollow, Nothing).changed));
    EXPECT_TRUE((Edit<FolderSheet>(store::KIND_FOLDER, kFollow, Unfollow).changed));
    EXPECT_TRUE(
        (Edit<FolderSheet>(store::KIND_FOLDER, 5, [](QDialog& s) { Type(s, "6"); }).changed));
    EXPECT_FALSE((Edit<RootSheet>(store::KIND_ROOT, 0, Nothing).changed));
    Outcome root = Edit<RootSheet>(store::KIND_ROOT, 0, [](QDialog& s) { Type(s, "30"); });
    EXPECT_TRUE(root.changed);
    EXPECT_EQ(root.interval, 30);
}

TEST(MovedAddress, OfferedOnThePageSheetAndTakenOnlyWhenAsked) {
    test::TempDir dir;
    store::ItemRecord page;
    page.node.kind = store::KIND_PAGE;
    page.node.path = dir.path();
    page.settings.url = "http://old.example/";
    {
        PageSheet sheet(nullptr, page, NoClearing());
        EXPECT_EQ(sheet.findChild<QPushButton*>("takeMovedUrl"), nullptr) << "nothing moved";
    }
    ASSERT_TRUE(store::WriteMovedUrl(dir.path(), "https://new.example/"));
    {
        PageSheet sheet(nullptr, page, NoClearing());
        ShowActive(sheet);
        EXPECT_NE(Find<QLabel>(&sheet, "movedUrl")->text().indexOf("https://new.example/"), -1);
        PressOk(sheet);
        EXPECT_EQ(page.settings.url, "http://old.example/") << "never changed silently";
    }
    {
        PageSheet sheet(nullptr, page, NoClearing());
        ShowActive(sheet);
        Click(Find<QPushButton>(&sheet, "takeMovedUrl"));
        PressOk(sheet);
        EXPECT_EQ(page.settings.url, "https://new.example/");
    }
    PageSheet sheet(nullptr, page, NoClearing());
    EXPECT_EQ(sheet.findChild<QPushButton*>("takeMovedUrl"), nullptr)
        << "a URL that is the new address is offered nothing";
}

}  // namespace
}  // namespace velnora::sheets
