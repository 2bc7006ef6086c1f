// The page, folder and root sheets: which control shows and edits which field, the sheet's
// changed flag, the rules of its fields, and the launcher that shows them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>
#include <vector>

#include "fetch/password.h"
#include "sheets/dialog_sheet_launcher.h"
#include "sheets/folder_sheet.h"
#include "sheets/page_sheet.h"
#include "widget_driving.h"

namespace velnora::sheets {
namespace {

using test::Click;
using test::FieldText;
using test::Find;
using test::FocusOn;
using test::PressCancel;
using test::PressOk;
using test::SelectNext;
using test::ShowActive;
using test::Sjis;
using test::TypeInto;

// A page record whose every field differs from its default.
store::ItemRecord FilledPage() {
    store::ItemRecord record;
    record.node.kind = store::KIND_PAGE;
    record.node.path = "/home/user/velnora/data/news.dat";
    record.node.name = Sjis("ニュース");
    store::PageSettings& s = record.settings;
    s.url = "http://example.jp/news/";
    s.browse_url = "http://example.jp/";
    s.comment = Sjis("朝と夕方\r\n二回");
    s.disable_auto_check = 1;
    s.noproxy = 1;
    s.dont_use_head = 1;
    s.use_old_log = 7;
    s.ignore_number_diff = 1;
    s.ignore_number_only_line = 1;
    s.ignore_same_text = 1;
    s.ignore_url = 1;
    s.as_text = 1;
    s.table_setting = 2;
    s.charset_sel = 3;
    for (int i = 0; i < store::kNgWordCount; ++i) {
        s.ngwords[i] = Sjis("広告") + std::to_string(i);
    }
    s.auth_type = 1;
    s.auth_id = "reader";
    s.auth_pass = fetch::ScramblePassword("s3cret");
    s.check_area = {Sjis("本文"), Sjis("ここまで"), 1, 1};
    s.ignore_area = {Sjis("広告開始"), Sjis("広告終了"), 1, 0};
    return record;
}

// A page as the tree creates it: a name, no address, the default settings.
store::ItemRecord NewPage() {
    store::ItemRecord record;
    record.node.kind = store::KIND_PAGE;
    record.node.path = "/home/user/velnora/data/new.dat";
    record.node.name = "new";
    return record;
}

std::vector<store::ItemRecord> cleared;

PastLogClearer RecordClears() {
    cleared.clear();
    return [](const store::ItemRecord& record) { cleared.push_back(record); };
}

bool SameSettings(const store::ItemRecord& a, const store::ItemRecord& b) {
    const store::PageSettings& x = a.settings;
    const store::PageSettings& y = b.settings;
    return a.node.name == b.node.name && x.url == y.url && x.browse_url == y.browse_url &&
           x.comment == y.comment && x.disable_auto_check == y.disable_auto_check &&
           x.noproxy == y.noproxy && x.dont_use_head == y.dont_use_head &&
           x.use_old_log == y.use_old_log && x.ignore_number_diff == y.ignore_number_diff &&
           x.ignore_number_only_line == y.ignore_number_only_line &&
           x.ignore_same_text == y.ignore_same_text && x.ignore_url == y.ignore_url &&
           x.as_text == y.as_text && x.table_setting == y.table_setting &&
           x.charset_sel == y.charset_sel && x.ngwords == y.ngwords && x.auth_type == y.auth_type &&
           x.auth_id == y.auth_id && x.auth_pass == y.auth_pass &&
           x.check_area.start_string == y.check_area.start_string &&
           x.check_area.end_string == y.check_area.end_string &&
           x.check_area.start_type == y.check_area.start_type &&
           x.check_area.end_type == y.check_area.end_type &&
           x.ignore_area.start_string == y.ignore_area.start_string &&
           x.ignore_area.end_string == y.ignore_area.end_string &&
           x.ignore_area.start_type == y.ignore_area.start_type &&
           x.ignore_area.end_type == y.ignore_area.end_type;
}

bool Checked(const QWidget* sheet, std::string_view name) {
    auto* box = Find<QCheckBox>(sheet, name);
    return box != nullptr && box->isChecked();
}

int Chosen(const QWidget* sheet, std::string_view name) {
    auto* list = Find<QComboBox>(sheet, name);
    return list != nullptr ? list->currentIndex() : -2;
}

TEST(PageSheet, CaptionAndPagesInOrder) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    EXPECT_EQ(sheet.windowTitle().toStdString(), "ウェブページのプロパティ");
    EXPECT_EQ(test::PageTitles(sheet),
              (std::vector<std::string>{"ページ設定", "チェック設定", "NGワード", "更新確認範囲",
                                        "認証", "過去ログ"}));
}

TEST(PageSheet, ShowsEveryFieldOfTheRecord) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());

    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "siteName")), Sjis("ニュース"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "URL")), "http://example.jp/news/");
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "BROWSE_URL")), "http://example.jp/");
    EXPECT_EQ(Find<QPlainTextEdit>(&sheet, "COMMENT")->toPlainText(), test::Q("朝と夕方\n二回"));
    EXPECT_TRUE(Checked(&sheet, "NOPROXY"));
    EXPECT_TRUE(Checked(&sheet, "DISABLE_AUTO_CHECK"));

    EXPECT_TRUE(Checked(&sheet, "DONT_USE_HEAD"));
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG")), "7");
    for (const char* name : {"IGNORE_NUMBER_DIFF", "IGNORE_NUMBER_ONLY_LINE", "IGNORE_SAME_TEXT",
                             "IGNORE_URL", "AS_TEXT"}) {
        EXPECT_TRUE(Checked(&sheet, name)) << name;
    }
    EXPECT_EQ(Chosen(&sheet, "TABLE_SETTING"), 2);
    EXPECT_EQ(Chosen(&sheet, "CHARSET_SEL"), 3);

    for (int i = 0; i < store::kNgWordCount; ++i) {
        std::string name = "NGWORD" + std::to_string(i);
        EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, name)), Sjis("広告") + std::to_string(i));
    }

    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "CHECK_AREA_START_STRING")), Sjis("本文"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "CHECK_AREA_END_STRING")), Sjis("ここまで"));
    EXPECT_EQ(Chosen(&sheet, "CHECK_AREA_START_TYPE"), 1);
    EXPECT_EQ(Chosen(&sheet, "CHECK_AREA_END_TYPE"), 1);
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "IGNORE_AREA_START_STRING0")), Sjis("広告開始"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "IGNORE_AREA_END_STRING0")), Sjis("広告終了"));
    EXPECT_EQ(Chosen(&sheet, "IGNORE_AREA_START_TYPE0"), 1);
    EXPECT_EQ(Chosen(&sheet, "IGNORE_AREA_END_TYPE0"), 0);

    EXPECT_TRUE(Checked(&sheet, "AUTH_TYPE"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "AUTH_ID")), "reader");
    auto* password = Find<QLineEdit>(&sheet, "AUTH_PASS");
    EXPECT_EQ(FieldText(password), "s3cret");  // unscrambled
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST(PageSheet, ListsOfferTheirEntriesInOrder) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    auto entries = [&](std::string_view name) {
        std::vector<std::string> texts;
        auto* list = Find<QComboBox>(&sheet, name);
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            texts.push_back(list->itemText(i).toStdString());
        }
        return texts;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(entries("TABLE_SETTING"),
              (Texts{"何もしない", "セル内で改行しない", "行内で改行しない"}));
    EXPECT_EQ(entries("CHARSET_SEL"), (Texts{"自動判別", "SHIFT-JIS", "JIS", "EUC", "UTF-8"}));
    for (const char* start : {"CHECK_AREA_START_TYPE", "IGNORE_AREA_START_TYPE0"}) {
        EXPECT_EQ(entries(start), (Texts{"を含む行から", "を含む行の次から"}));
    }
    for (const char* end : {"CHECK_AREA_END_TYPE", "IGNORE_AREA_END_TYPE0"}) {
        EXPECT_EQ(entries(end), (Texts{"を含む行まで", "を含む行の前まで"}));
    }
}

TEST(PageSheet, OkWritesEveryControlIntoTheRecord) {
    store::ItemRecord record = NewPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);

    TypeInto(Find<QLineEdit>(&sheet, "siteName"), "天気予報");
    TypeInto(Find<QLineEdit>(&sheet, "URL"), "http://tenki.example.jp/");
    TypeInto(Find<QLineEdit>(&sheet, "BROWSE_URL"), "http://tenki.example.jp/top");
    TypeInto(Find<QPlainTextEdit>(&sheet, "COMMENT"), "一行目\n二行目");
    Click(Find<QCheckBox>(&sheet, "NOPROXY"));
    Click(Find<QCheckBox>(&sheet, "DISABLE_AUTO_CHECK"));

    Click(Find<QCheckBox>(&sheet, "DONT_USE_HEAD"));
    TypeInto(Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG"), "12");
    for (const char* name : {"IGNORE_NUMBER_DIFF", "IGNORE_NUMBER_ONLY_LINE", "IGNORE_SAME_TEXT",
                             "IGNORE_URL", "AS_TEXT"}) {
        Click(Find<QCheckBox>(&sheet, name));
    }
    SelectNext(Find<QComboBox>(&sheet, "TABLE_SETTING"));
    SelectNext(Find<QComboBox>(&sheet, "CHARSET_SEL"));
    SelectNext(Find<QComboBox>(&sheet, "CHARSET_SEL"));

    for (int i = 0; i < store::kNgWordCount; ++i) {
        TypeInto(Find<QLineEdit>(&sheet, "NGWORD" + std::to_string(i)),
                 "PR" + std::to_string(9 - i));
    }

    TypeInto(Find<QLineEdit>(&sheet, "CHECK_AREA_START_STRING"), "<!-- start -->");
    SelectNext(Find<QComboBox>(&sheet, "CHECK_AREA_START_TYPE"));
    TypeInto(Find<QLineEdit>(&sheet, "CHECK_AREA_END_STRING"), "<!-- end -->");
    TypeInto(Find<QLineEdit>(&sheet, "IGNORE_AREA_START_STRING0"), "広告");
    TypeInto(Find<QLineEdit>(&sheet, "IGNORE_AREA_END_STRING0"), "以上");
    SelectNext(Find<QComboBox>(&sheet, "IGNORE_AREA_END_TYPE0"));

    Click(Find<QCheckBox>(&sheet, "AUTH_TYPE"));
    TypeInto(Find<QLineEdit>(&sheet, "AUTH_ID"), "ユーザー");
    TypeInto(Find<QLineEdit>(&sheet, "AUTH_PASS"), "pa55word");
    PressOk(sheet);

    EXPECT_TRUE(sheet.changed());
    const store::PageSettings& s = record.settings;
    EXPECT_EQ(record.node.name, Sjis("天気予報"));
    EXPECT_EQ(s.url, "http://tenki.example.jp/");
    EXPECT_EQ(s.browse_url, "http://tenki.example.jp/top");
    EXPECT_EQ(s.comment, Sjis("一行目\r\n二行目"));  // line breaks as the record keeps them
    EXPECT_EQ(s.noproxy, 1);
    EXPECT_EQ(s.disable_auto_check, 1);
    EXPECT_EQ(s.dont_use_head, 1);
    EXPECT_EQ(s.use_old_log, 12);
    EXPECT_EQ(s.ignore_number_diff, 1);
    EXPECT_EQ(s.ignore_number_only_line, 1);
    EXPECT_EQ(s.ignore_same_text, 1);
    EXPECT_EQ(s.ignore_url, 1);
    EXPECT_EQ(s.as_text, 1);
    EXPECT_EQ(s.table_setting, 1);
    EXPECT_EQ(s.charset_sel, 2);
    for (int i = 0; i < store::kNgWordCount; ++i) {
        EXPECT_EQ(s.ngwords[i], "PR" + std::to_string(9 - i)) << i;
    }
    EXPECT_EQ(s.check_area.start_string, "<!-- start -->");
    EXPECT_EQ(s.check_area.start_type, 1);
    EXPECT_EQ(s.check_area.end_string, "<!-- end -->");
    EXPECT_EQ(s.check_area.end_type, 0);
    EXPECT_EQ(s.ignore_area.start_string, Sjis("広告"));
    EXPECT_EQ(s.ignore_area.start_type, 0);
    EXPECT_EQ(s.ignore_area.end_string, Sjis("以上"));
    EXPECT_EQ(s.ignore_area.end_type, 1);
    EXPECT_EQ(s.auth_type, 1);
    EXPECT_EQ(s.auth_id, Sjis("ユーザー"));
    EXPECT_NE(s.auth_pass, "pa55word");  // stored scrambled
    EXPECT_EQ(fetch::UnscramblePassword(s.auth_pass), "pa55word");
}

TEST(PageSheet, UntouchedSheetGivesTheRecordBackAsItWas) {
    store::ItemRecord record = FilledPage();
    const store::ItemRecord before = record;
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    PressOk(sheet);
    // Everything but the password's stored form, which is made afresh with new filler.
    store::ItemRecord expected = before;
    expected.settings.auth_pass = record.settings.auth_pass;
    EXPECT_TRUE(SameSettings(record, expected));
    EXPECT_EQ(fetch::UnscramblePassword(record.settings.auth_pass), "s3cret");
}

TEST(PageSheet, EmptyUrlStartsWithTheScheme) {
    store::ItemRecord record = NewPage();
    PageSheet sheet(nullptr, record, RecordClears());
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "URL")), "http://");
    EXPECT_EQ(FieldText(Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG")), "1");
    EXPECT_EQ(Chosen(&sheet, "TABLE_SETTING"), 0);
    EXPECT_FALSE(Checked(&sheet, "AUTH_TYPE"));
    EXPECT_EQ(FieldText(Find<QLineEdit>(&sheet, "AUTH_PASS")), "");
}

TEST(PageSheet, ExistingPageCountsAsChangedWithoutEdits) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    PressOk(sheet);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(sheet.changed());
}

TEST(PageSheet, NewPageWithoutEditsIsNotChanged) {
    store::ItemRecord record = NewPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    PressOk(sheet);
    EXPECT_FALSE(sheet.changed());
}

TEST(PageSheet, CancelLeavesTheRecordAndIsNotChanged) {
    for (bool existing : {true, false}) {
        store::ItemRecord record = existing ? FilledPage() : NewPage();
        const store::ItemRecord before = record;
        PageSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        TypeInto(Find<QLineEdit>(&sheet, "URL"), "http://other.example/");
        TypeInto(Find<QLineEdit>(&sheet, "NGWORD0"), "x");
        Click(Find<QCheckBox>(&sheet, "AS_TEXT"));
        PressCancel(sheet);
        EXPECT_EQ(sheet.result(), QDialog::Rejected);
        EXPECT_FALSE(sheet.changed()) << existing;
        EXPECT_TRUE(SameSettings(record, before)) << existing;
    }
}

// Which edits of a new page (no URL yet) mark the sheet changed.
TEST(PageSheet, EditsThatMarkTheSheetChanged) {
    struct Row {
        const char* edit;
        std::function<void(QDialog&)> act;
        bool changed;
    };
    const Row rows[] = {
        {"typing the site name marks it",
         [](QDialog& s) { TypeInto(Find<QLineEdit>(&s, "siteName"), "a"); }, true},
        {"typing a comment marks it",
         [](QDialog& s) { TypeInto(Find<QPlainTextEdit>(&s, "COMMENT"), "a"); }, true},
        {"clicking a box of the first page marks it",
         [](QDialog& s) { Click(Find<QCheckBox>(&s, "NOPROXY")); }, true},
        {"clicking a box of the check page marks it",
         [](QDialog& s) { Click(Find<QCheckBox>(&s, "IGNORE_URL")); }, true},
        {"choosing another table rule marks it",
         [](QDialog& s) { SelectNext(Find<QComboBox>(&s, "TABLE_SETTING")); }, true},
        {"entering and leaving the past-log field marks it",
         [](QDialog& s) {
             FocusOn(Find<QWidget>(&s, "USE_OLD_LOG"));
             FocusOn(Find<QWidget>(&s, "AS_TEXT"));
         },
         true},
        {"typing an NG word marks it",
         [](QDialog& s) { TypeInto(Find<QLineEdit>(&s, "NGWORD9"), "a"); }, true},
        {"choosing an area type marks it",
         [](QDialog& s) { SelectNext(Find<QComboBox>(&s, "IGNORE_AREA_END_TYPE0")); }, true},
        {"typing an area string marks it",
         [](QDialog& s) { TypeInto(Find<QLineEdit>(&s, "CHECK_AREA_END_STRING"), "a"); }, true},
        {"typing the user ID marks it",
         [](QDialog& s) { TypeInto(Find<QLineEdit>(&s, "AUTH_ID"), "a"); }, true},
        {"typing the password marks it",
         [](QDialog& s) { TypeInto(Find<QLineEdit>(&s, "AUTH_PASS"), "a"); }, true},
        {"clicking the Basic box alone does not",
         [](QDialog& s) { Click(Find<QCheckBox>(&s, "AUTH_TYPE")); }, false},
        {"clearing the past logs does not",
         [](QDialog& s) { Click(Find<QAbstractButton>(&s, "clearPastLogs")); }, false},
        {"looking at every page does not",
         [](QDialog& s) {
             auto* tabs = Find<QTabWidget>(&s, "pages");
             for (int i = 0; i < tabs->count(); ++i) {
                 tabs->setCurrentIndex(i);
             }
         },
         false},
    };
    for (const Row& row : rows) {
        store::ItemRecord record = NewPage();
        PageSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        row.act(sheet);
        PressOk(sheet);
        EXPECT_EQ(sheet.changed(), row.changed) << row.edit;
    }
}

TEST(PageSheet, PastLogCountOutsideItsRangeBecomesOneOnLeaving) {
    struct Row {
        const char* typed;
        const char* shown;
    };
    const Row rows[] = {{"30", "1"}, {"25", "1"}, {"24", "24"}, {"0", "0"}, {"", "0"}};
    for (const Row& row : rows) {
        store::ItemRecord record = FilledPage();
        PageSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        auto* field = Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG");
        TypeInto(field, row.typed);
        if (std::string_view(row.typed).empty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        }
        FocusOn(Find<QWidget>(&sheet, "IGNORE_URL"));
        EXPECT_EQ(FieldText(field), row.shown) << "typed " << row.typed;
        PressOk(sheet);
        EXPECT_EQ(record.settings.use_old_log, std::stoi(row.shown)) << "typed " << row.typed;
    }
}

TEST(PageSheet, PastLogFieldTakesTwoDigitsAndStepsWithinItsRange) {
    store::ItemRecord record = FilledPage();
    record.settings.use_old_log = 24;
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    auto* field = Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG");
    TypeInto(field, "123");
    EXPECT_EQ(FieldText(field), "12");
    TypeInto(field, "24");
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(FieldText(field), "24");
    TypeInto(field, "0");
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(FieldText(field), "0");
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(FieldText(field), "1");
}

// Enter in the past-log field closes the sheet through OK; the value still obeys the range.
TEST(PageSheet, EnterInThePastLogFieldAppliesItsRule) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    auto* field = Find<QAbstractSpinBox>(&sheet, "USE_OLD_LOG");
    TypeInto(field, "30");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(record.settings.use_old_log, 1);
}

TEST(PageSheet, PasswordIsStoredScrambledAndClearedWhenEmptied) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    auto* password = Find<QLineEdit>(&sheet, "AUTH_PASS");
    TypeInto(password, "");
    QTest::keyClick(password, Qt::Key_Delete);
    PressOk(sheet);
    EXPECT_EQ(record.settings.auth_pass, "");

    // A Japanese password of 32 characters is 64 bytes: the most the field holds.
    std::string long_password;
    for (int i = 0; i < 32; ++i) {
        long_password += "鍵";
    }
    PageSheet again(nullptr, record, RecordClears());
    ShowActive(again);
    TypeInto(Find<QLineEdit>(&again, "AUTH_PASS"), long_password + "x");
    PressOk(again);
    EXPECT_EQ(fetch::UnscramblePassword(record.settings.auth_pass), Sjis(long_password));
}

// The character limits of the fields, and their Shift_JIS buffers, which the limits in
// characters would let a Japanese text overrun.
TEST(PageSheet, FieldsHoldWhatTheirBuffersHold) {
    store::ItemRecord record = NewPage();
    PageSheet sheet(nullptr, record, RecordClears());
    struct Row {
        const char* field;
        int max_chars;
    };
    for (Row row : {Row{"siteName", 260}, Row{"URL", 2100}, Row{"BROWSE_URL", 2100},
                    Row{"NGWORD4", 64}, Row{"CHECK_AREA_START_STRING", 64},
                    Row{"IGNORE_AREA_END_STRING0", 64}, Row{"AUTH_ID", 64}, Row{"AUTH_PASS", 64}}) {
        EXPECT_EQ(Find<QLineEdit>(&sheet, row.field)->maxLength(), row.max_chars) << row.field;
    }

    ShowActive(sheet);
    std::string forty_kanji;
    for (int i = 0; i < 40; ++i) {
        forty_kanji += "字";
    }
    TypeInto(Find<QLineEdit>(&sheet, "NGWORD0"), forty_kanji);
    std::string comment;
    for (int i = 0; i < 60; ++i) {
        comment += "文";
    }
    TypeInto(Find<QPlainTextEdit>(&sheet, "COMMENT"), comment);
    // The fields show what is kept.
    EXPECT_EQ(Find<QLineEdit>(&sheet, "NGWORD0")->text().size(), 32);
    EXPECT_EQ(Find<QPlainTextEdit>(&sheet, "COMMENT")->toPlainText().size(), 50);
    PressOk(sheet);
    EXPECT_EQ(record.settings.ngwords[0].size(), 64u);  // 32 of the 40 characters
    EXPECT_EQ(record.settings.ngwords[0], Sjis(forty_kanji.substr(0, 32 * 3)));
    EXPECT_EQ(record.settings.comment.size(), 100u);  // 50 of the 60 characters
}

// A character that Shift_JIS cannot hold is not taken, so the field shows what is stored.
TEST(PageSheet, FieldsRefuseCharactersWithoutShiftJis) {
    store::ItemRecord record = NewPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    TypeInto(Find<QLineEdit>(&sheet, "NGWORD1"),
             "a\xF0\x9F\x98\x80"
             "b");  // an emoji
    PressOk(sheet);
    EXPECT_EQ(record.settings.ngwords[1], "ab");
}

// Stored bytes that have no Unicode form (a file edited by hand) survive an untouched field, and
// the field can still be edited.
TEST(PageSheet, UntouchedFieldsKeepTheirStoredBytes) {
    const std::string odd =
        "ab\x85\x40"
        "cd";  // a code that stands for no character
    store::ItemRecord record = FilledPage();
    record.settings.ngwords[2] = odd;
    record.settings.comment = odd;
    record.settings.ngwords[3] = odd;
    PageSheet sheet(nullptr, record, RecordClears());
    ASSERT_TRUE(Find<QLineEdit>(&sheet, "NGWORD2")->text().contains(QChar::ReplacementCharacter));
    ShowActive(sheet);
    auto* edited = Find<QLineEdit>(&sheet, "NGWORD3");
    edited->setFocus();
    edited->end(false);
    QTest::keyClicks(edited, "e");
    PressOk(sheet);
    EXPECT_EQ(record.settings.ngwords[2], odd);
    EXPECT_EQ(record.settings.comment, odd);
    EXPECT_EQ(record.settings.ngwords[3].substr(0, 2), "ab");
    EXPECT_EQ(record.settings.ngwords[3].back(), 'e');
}

// A stored list value that the list does not offer is kept rather than lost.
TEST(PageSheet, StoredValueOutsideAListIsKept) {
    store::ItemRecord record = FilledPage();
    record.settings.table_setting = 7;
    record.settings.check_area.end_type = 5;
    PageSheet sheet(nullptr, record, RecordClears());
    EXPECT_EQ(Chosen(&sheet, "TABLE_SETTING"), -1);
    ShowActive(sheet);
    PressOk(sheet);
    EXPECT_EQ(record.settings.table_setting, 7);
    EXPECT_EQ(record.settings.check_area.end_type, 5);
}

TEST(PageSheet, LinksOnlyBoxIsHidden) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    Find<QTabWidget>(&sheet, "pages")->setCurrentIndex(1);
    auto* box = Find<QCheckBox>(&sheet, "linksOnly");
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->text().toStdString(), "リンクのみ抽出する");
}

TEST(PastLogPage, ButtonClearsForTheItemTheSheetWasOpenedFor) {
    store::ItemRecord record = FilledPage();
    PageSheet sheet(nullptr, record, RecordClears());
    ShowActive(sheet);
    TypeInto(Find<QLineEdit>(&sheet, "siteName"), "renamed");
    auto* button = Find<QAbstractButton>(&sheet, "clearPastLogs");
    EXPECT_EQ(button->text().toStdString(), "過去ログのクリア");
    EXPECT_EQ(Find<QLabel>(&sheet, "pastLogExplanation")->text().toStdString(),
              "最新の更新結果以外の過去ログを全てクリアします。");
    Click(button);
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].node.path, record.node.path);
    EXPECT_EQ(cleared[0].node.name, Sjis("ニュース"));
    EXPECT_EQ(cleared[0].node.kind, store::KIND_PAGE);
    PressCancel(sheet);
}

TEST(FolderSheet, ShowsAndEditsTheAutoCheckFlag) {
    store::ItemRecord folder;
    folder.node.kind = store::KIND_FOLDER;
    folder.node.path = "/home/user/velnora/data/daily.grp";
    folder.settings.disable_auto_check = 1;
    FolderSheet sheet(nullptr, folder, RecordClears());
    EXPECT_EQ(sheet.windowTitle().toStdString(), "グループのプロパティ");
    EXPECT_EQ(test::PageTitles(sheet), (std::vector<std::string>{"グループの設定", "過去ログ"}));
    EXPECT_TRUE(Checked(&sheet, "DISABLE_AUTO_CHECK"));
    ShowActive(sheet);
    Click(Find<QCheckBox>(&sheet, "DISABLE_AUTO_CHECK"));
    PressOk(sheet);
    EXPECT_TRUE(sheet.changed());
    EXPECT_EQ(folder.settings.disable_auto_check, 0);
}

TEST(FolderSheet, UnchangedWithoutAClickAndAfterCancel) {
    store::ItemRecord folder;
    folder.node.kind = store::KIND_FOLDER;
    FolderSheet untouched(nullptr, folder, RecordClears());
    ShowActive(untouched);
    Click(Find<QAbstractButton>(&untouched, "clearPastLogs"));
    PressOk(untouched);
    EXPECT_FALSE(untouched.changed());
    EXPECT_EQ(cleared.size(), 1u);

    FolderSheet cancelled(nullptr, folder, RecordClears());
    ShowActive(cancelled);
    Click(Find<QCheckBox>(&cancelled, "DISABLE_AUTO_CHECK"));
    PressCancel(cancelled);
    EXPECT_FALSE(cancelled.changed());
    EXPECT_EQ(folder.settings.disable_auto_check, 0);
}

TEST(RootSheet, OffersTheProgramsIntervalAndTheClearingOfPastLogs) {
    store::ItemRecord root;
    root.node.kind = store::KIND_ROOT;
    root.node.path = "/home/user/velnora/data";
    RootSheet sheet(nullptr, root, RecordClears());
    EXPECT_EQ(sheet.windowTitle().toStdString(), "ルートのプロパティ");
    EXPECT_EQ(test::PageTitles(sheet), (std::vector<std::string>{"ルートの設定", "過去ログ"}));
    EXPECT_EQ(sheet.findChild<QCheckBox*>("followFolder"), nullptr)
        << "the data directory has no folder to follow";
    ShowActive(sheet);
    Click(Find<QAbstractButton>(&sheet, "clearPastLogs"));
    PressOk(sheet);
    EXPECT_FALSE(sheet.changed());
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].node.kind, store::KIND_ROOT);
}

TEST(Sheets, NothingIsClippedAtTheDefaultFont) {
    store::ItemRecord page = FilledPage();
    PageSheet page_sheet(nullptr, page, RecordClears());
    ShowActive(page_sheet);
    test::ExpectNothingClipped(page_sheet);

    store::ItemRecord folder;
    FolderSheet folder_sheet(nullptr, folder, RecordClears());
    ShowActive(folder_sheet);
    test::ExpectNothingClipped(folder_sheet);

    RootSheet root_sheet(nullptr, folder, RecordClears());
    ShowActive(root_sheet);
    test::ExpectNothingClipped(root_sheet);
}

// Answers the next modal sheet from inside its event loop.
void AnswerNextSheet(bool ok, std::function<void(QDialog&)> edit = {}) {
    QTimer::singleShot(0, [ok, edit] {
        auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        if (edit) {
            edit(*sheet);
        }
        if (ok) {
            sheet->accept();
        } else {
            sheet->reject();
        }
    });
}

TEST(DialogSheetLauncher, ShowsEachSheetAndReturnsItsChangedFlag) {
    std::vector<bool> showing;
    DialogSheetLauncher launcher(nullptr, RecordClears(), [&](bool on) { showing.push_back(on); });

    store::ItemRecord page = FilledPage();
    AnswerNextSheet(true, [](QDialog& sheet) {
        EXPECT_EQ(sheet.objectName().toStdString(), "pageSheet");
        EXPECT_TRUE(sheet.isModal());
        TypeInto(Find<QLineEdit>(&sheet, "BROWSE_URL"), "http://example.jp/read");
    });
    EXPECT_TRUE(launcher.ShowPageSheet(page, 0));
    EXPECT_EQ(page.settings.browse_url, "http://example.jp/read");
    EXPECT_EQ(showing, (std::vector<bool>{true, false}));

    AnswerNextSheet(false);
    EXPECT_FALSE(launcher.ShowPageSheet(page, 0));

    store::ItemRecord folder;
    folder.node.kind = store::KIND_FOLDER;
    AnswerNextSheet(true, [](QDialog& sheet) {
        EXPECT_EQ(sheet.objectName().toStdString(), "folderSheet");
        Click(Find<QCheckBox>(&sheet, "DISABLE_AUTO_CHECK"));
    });
    EXPECT_TRUE(launcher.ShowFolderSheet(folder, 0));
    EXPECT_EQ(folder.settings.disable_auto_check, 1);

    store::ItemRecord root;
    AnswerNextSheet(true, [](QDialog& sheet) {
        EXPECT_EQ(sheet.objectName().toStdString(), "rootSheet");
        Click(Find<QAbstractButton>(&sheet, "clearPastLogs"));
    });
    EXPECT_FALSE(launcher.ShowRootSheet(root));
    EXPECT_EQ(cleared.size(), 1u);
    EXPECT_EQ(showing.size(), 8u);
}

// The object names of the widgets of the sheet that Tab reaches from the focused one, in order,
// until it comes back (or leaves the sheet).
std::vector<std::string> TabRing(QDialog& sheet) {
    std::vector<std::string> names;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || !sheet.isAncestorOf(focus) || (i > 0 && focus == start)) {
            break;
        }
        names.push_back(focus->objectName().isEmpty() ? focus->metaObject()->className()
                                                      : focus->objectName().toStdString());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return names;
}

TEST(PropertySheets, OpenInTheirFirstFieldAndTabThroughTheFieldsBeforeOkAndCancel) {
    store::ItemRecord record = FilledPage();
    {
        PageSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        EXPECT_EQ(TabRing(sheet),
                  (std::vector<std::string>{"siteName", "URL", "BROWSE_URL", "COMMENT", "NOPROXY",
                                            "DISABLE_AUTO_CHECK", "okButton", "cancelButton",
                                            "qt_tabwidget_tabbar"}));
        // Another page: its own fields, then the same buttons.
        sheet.pages()->setCurrentIndex(2);
        Find<QLineEdit>(&sheet, "NGWORD8")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "okButton");
    }
    {
        FolderSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        EXPECT_EQ(TabRing(sheet),
                  (std::vector<std::string>{"DISABLE_AUTO_CHECK", "followFolder", "okButton",
                                            "cancelButton", "qt_tabwidget_tabbar"}));
    }
    {
        RootSheet sheet(nullptr, record, RecordClears());
        ShowActive(sheet);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "CHECK_INTERVAL");
    }
}

}  // namespace
}  // namespace velnora::sheets
