// The page tree pane: the view and its model over a tree read from a temporary data directory,
// the tree operations behind it, and clearing past logs.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "desktop/qt_text.h"
#include "files/file_system.h"
#include "japanese_locale.h"
#include "results/display.h"
#include "results/document.h"
#include "settings/settings_views.h"
#include "store/log_index.h"
#include "store/page_tree.h"
#include "store/settings_files.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "widget_driving.h"
#include "window/clear_past_logs.h"
#include "window/message_box.h"
#include "window/page_tree_model.h"
#include "window/page_tree_view.h"
#include "window/tree_operations.h"

namespace velnora::window {
namespace {

using store::ItemId;
using test::Sjis;

class FakeServices : public WindowServices {
  public:
    FakeServices() { display_.SetSettings(settings::DisplaySettingsFrom(settings_)); }
    QWidget* window() override { return nullptr; }
    const settings::AppSettings& settings() const override { return settings_; }
    void SetStatusText(std::string_view text) override { statuses.emplace_back(text); }
    void LockCommands(bool enable) override { locks.push_back(enable); }
    bool CheckRunning() const override { return false; }
    void ShowProgress(int done, int total) override { progress.emplace_back(done, total); }
    void ClearPane() override {
        ++panes_cleared;
        document.Clear();
    }
    results::ResultDisplay& display() override { return display_; }
    void OpenAddress(std::string_view address) override { opened.emplace_back(address); }

    settings::AppSettings settings_;
    std::vector<std::string> statuses;
    std::vector<bool> locks;
    std::vector<std::pair<int, int>> progress;
    int panes_cleared = 0;
    std::vector<std::string> opened;
    results::ResultDocument document;

  private:
    results::ResultDisplay display_{document};
};

// Answers the sheets as the test says; by default they are cancelled.
class FakeSheets : public sheets::SheetLauncher {
  public:
    using Answer = std::function<bool(store::ItemRecord&)>;
    Answer page = [](store::ItemRecord&) { return false; };
    Answer folder = [](store::ItemRecord&) { return false; };
    std::vector<store::ItemRecord> pages_shown;
    std::vector<store::ItemRecord> folders_shown;
    int roots_shown = 0;
    std::vector<store::ItemRecord> root_records;
    std::vector<int> inherited_intervals;  // of the page and folder sheets, in order

    bool ShowPageSheet(store::ItemRecord& record, int inherited_interval) override {
        pages_shown.push_back(record);
        inherited_intervals.push_back(inherited_interval);
        return page(record);
    }
    bool ShowFolderSheet(store::ItemRecord& record, int inherited_interval) override {
        folders_shown.push_back(record);
        inherited_intervals.push_back(inherited_interval);
        return folder(record);
    }
    bool ShowRootSheet(store::ItemRecord& record) override {
        ++roots_shown;
        root_records.push_back(record);
        return false;
    }
};

using test::ScopedEnv;

struct Message {
    std::string text;
    std::string caption;
    bool operator==(const Message&) const = default;
};

std::vector<Message> Messages() {
    std::vector<Message> messages;
    for (auto& shown : TakeShownMessages()) {
        messages.push_back({shown.text, shown.caption});
    }
    return messages;
}

// The label editor the view has open, if any.
QLineEdit* LabelEditor(QWidget* view) {
    QLineEdit* editor = view->findChild<QLineEdit*>();
    return editor != nullptr && editor->isVisible() ? editor : nullptr;
}

class TreeTest : public testing::Test {
  protected:
    TreeTest() : tree_(home_.path() + "/") {
        test::MakeDir(home_ / "data");
        TakeShownMessages();
        // A message box that no test answered would wait for ever: close it and fail.
        watchdog_.setInterval(50);
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected dialog: " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        watchdog_.start();
    }

    // "F/G/p": the page p in the folder G in the folder F.
    std::string Disk(std::string_view relative, std::string_view suffix) const {
        std::string path = home_ / "data";
        std::size_t start = 0;
        for (;;) {
            std::size_t slash = relative.find('/', start);
            path += "/";
            path += relative.substr(start, slash - start);
            if (slash == std::string_view::npos) {
                return path + std::string(suffix);
            }
            path += ".grp";
            start = slash + 1;
        }
    }
    std::string PageDir(std::string_view relative) const { return Disk(relative, ".dat"); }
    std::string FolderDir(std::string_view relative) const { return Disk(relative, ".grp"); }

    void Folder(std::string_view relative, int disabled = 0) {
        test::MakeDir(FolderDir(relative));
        if (disabled != 0) {
            store::FolderSettings settings;
            settings.disable_auto_check = disabled;
            EXPECT_EQ(store::WriteFolderSettings(FolderDir(relative), settings), 0);
        }
    }
    void Page(std::string_view relative, std::string_view url = "http://example.com/",
              int disabled = 0) {
        test::MakeDir(PageDir(relative));
        store::PageSettings settings;
        settings.url = std::string(url);
        settings.disable_auto_check = disabled;
        EXPECT_EQ(store::WritePageSettings(PageDir(relative), settings), 0);
    }

    // Shows the tree read from the data directory, or (populate false) the tree as it stands.
    void Open(bool populate = true) {
        view_ = std::make_unique<PageTreeView>(tree_);
        ops_ = std::make_unique<TreeOperations>(tree_, *view_, services_, sheets_);
        // As the main window wires them.
        QObject::connect(view_.get(), &PageTreeView::SelectionChanged,
                         [this](ItemId item) { ops_->OnItemSelected(item); });
        QObject::connect(view_.get(), &PageTreeView::OpenRequested,
                         [this](ItemId item) { ops_->OpenItemInBrowser(item); });
        QObject::connect(
            view_.get(), &PageTreeView::LabelEdited,
            [this](ItemId item, const std::string& text) { ops_->RenameItem(item, text); });
        view_->resize(320, 480);
        view_->show();
        if (populate) {
            ops_->PopulateTree();
        } else {
            view_->ExpandItem(tree_.root());
            view_->SelectItem(tree_.root());
        }
        services_.statuses.clear();
        services_.locks.clear();
    }

    ItemId Item(std::string_view relative) const {
        ItemId item = tree_.root();
        std::size_t start = 0;
        while (item != 0 && start <= relative.size() && !relative.empty()) {
            std::size_t slash = relative.find('/', start);
            std::string_view name = relative.substr(start, slash - start);
            ItemId child = tree_.FirstChild(item);
            while (child != 0 && tree_.Find(child)->name != name) {
                child = tree_.NextSibling(child);
            }
            item = child;
            if (slash == std::string_view::npos) {
                break;
            }
            start = slash + 1;
        }
        return item;
    }

    PageTreeModel& model() { return view_->tree_model(); }
    QModelIndex Index(std::string_view relative) { return model().IndexOf(Item(relative)); }

    // The texts the view shows under an item, in order.
    std::vector<std::string> Shown(std::string_view relative = {}) {
        QModelIndex parent = relative.empty() ? model().IndexOf(tree_.root()) : Index(relative);
        std::vector<std::string> names;
        for (int row = 0; row < model().rowCount(parent); ++row) {
            names.push_back(desktop::ToSjis(model().index(row, 0, parent).data().toString()));
        }
        return names;
    }

    void Select(std::string_view relative) { view_->SelectItem(Item(relative)); }

    // A double click as the window system delivers it: press, release, double click, release.
    void DoubleClick(QPoint at) {
        QWidget* viewport = view_->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    test::TempDir home_;
    store::PageTree tree_;
    FakeServices services_;
    FakeSheets sheets_;
    std::unique_ptr<PageTreeView> view_;
    std::unique_ptr<TreeOperations> ops_;
    QTimer watchdog_;
};

TEST_F(TreeTest, FoldersComeFirstThenPagesEachInNameOrder) {
    Folder("b");
    Folder("A");
    Page("c");
    Page("a");
    test::WriteBytes(home_ / "data/loose.dat", "a file, not a page");
    test::MakeDir(home_ / "data/other");
    Open();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"A", "b", "a", "c"}));
    // The root is shown expanded and selected, and is the current item.
    EXPECT_TRUE(view_->isExpanded(model().IndexOf(tree_.root())));
    EXPECT_EQ(view_->SelectedItem(), tree_.root());
    EXPECT_TRUE(ops_->has_selection());
    EXPECT_EQ(ops_->current_item().node.kind, store::KIND_ROOT);
    EXPECT_EQ(ops_->current_item().node.path, home_ / "data");
}

TEST_F(TreeTest, ModelShowsNamesImagesAndUnreadMarks) {
    Folder("On");
    Folder("Off", 1);
    Page("On/p");
    Page("On/q", "http://example.com/q", 1);
    Page(Sjis("日本語"));
    Open();
    auto images = [&](std::string_view item) {
        QModelIndex index = Index(item);
        return std::pair{index.data(PageTreeModel::kImageRole).toInt(),
                         index.data(PageTreeModel::kSelectedImageRole).toInt()};
    };
    EXPECT_EQ(images(""), std::pair(0, 0));
    EXPECT_EQ(images("On"), std::pair(1, 2));
    EXPECT_EQ(images("Off"), std::pair(3, 4));
    EXPECT_EQ(images("On/p"), std::pair(5, 6));
    EXPECT_EQ(images("On/q"), std::pair(7, 7));
    EXPECT_EQ(model().IndexOf(tree_.root()).data().toString(), "data");
    EXPECT_EQ(Index(Sjis("日本語")).data().toString(), QString::fromUtf8("日本語"));
    // Until the icon set is installed, the style's icons stand in.
    EXPECT_FALSE(Index("On/q").data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(Index("On/q").flags() & Qt::ItemIsEditable, Qt::ItemIsEditable);
    EXPECT_EQ(model().IndexOf(tree_.root()).flags() & Qt::ItemIsEditable, Qt::NoItemFlags);

    auto bold = [&](std::string_view item) {
        QVariant font = Index(item).data(Qt::FontRole);
        return font.isValid() && font.value<QFont>().bold();
    };
    tree_.MarkUpdated(Item("On/p"));
    tree_.MarkUpdated(Item("On/q"));
    EXPECT_TRUE(bold("On/p") && bold("On/q") && bold("On") && bold(""));
    EXPECT_FALSE(bold("Off"));
    // Checking one page again leaves the folder bold while the other is unread.
    tree_.ClearUpdated(Item("On/p"));
    EXPECT_FALSE(bold("On/p"));
    EXPECT_TRUE(bold("On") && bold(""));
    tree_.ClearUpdated(Item("On/q"));
    EXPECT_FALSE(bold("On") || bold(""));

    // A changed flag changes the image at once.
    tree_.SetDisabled(Item("On/p"), true);
    EXPECT_EQ(images("On/p"), std::pair(7, 7));
}

TEST_F(TreeTest, ModelFollowsInsertionsRemovalsAndRenames) {
    Folder("F");
    Page("F/m");
    Open();
    ItemId folder = Item("F");
    view_->expand(Index("F"));
    view_->SelectItem(Item("F/m"));
    ItemId z = tree_.AddItem(folder, "z", store::KIND_PAGE, false);
    tree_.AddItem(folder, "a", store::KIND_PAGE, false);
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"a", "m", "z"}));
    tree_.SetName(z, "b");
    tree_.SortSiblings(z);
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"a", "b", "m"}));
    // The selection stays on its item through the reordering.
    EXPECT_EQ(view_->SelectedItem(), Item("F/m"));
    EXPECT_EQ(view_->currentIndex(), Index("F/m"));
    tree_.Remove(Item("F/a"));
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"b", "m"}));
    EXPECT_EQ(Index("F/m").row(), 1);
    EXPECT_EQ(model().parent(Index("F/m")), Index("F"));
}

TEST_F(TreeTest, NewFoldersAreNumberedFromTwoAndTheirLabelIsEdited) {
    Open();
    for (int i = 0; i < 3; ++i) {
        view_->SelectItem(tree_.root());
        ops_->NewFolder();
        EXPECT_TRUE(view_->IsEditingLabel());
    }
    view_->FinishLabelEdit();
    EXPECT_EQ(Shown(), (std::vector<std::string>{Sjis("新規フォルダ"), Sjis("新規フォルダ(2)"),
                                                 Sjis("新規フォルダ(3)")}));
    EXPECT_TRUE(test::Exists(FolderDir(Sjis("新規フォルダ(3)"))));
    EXPECT_FALSE(test::Exists(FolderDir(Sjis("新規フォルダ(3)")) + "/group.ini"));
    // Ending the edits without a change renamed nothing and said nothing.
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(view_->SelectedItem(), Item(Sjis("新規フォルダ(3)")));
}

TEST_F(TreeTest, LabelEditRenamesTheDirectoryAndEscapeKeepsTheName) {
    Folder("Taken");
    Open();
    ops_->NewFolder();
    auto* editor = view_->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Work");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits after the key
    EXPECT_TRUE(test::Exists(FolderDir("Work")));
    EXPECT_FALSE(test::Exists(FolderDir(Sjis("新規フォルダ"))));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Taken", "Work"}));
    EXPECT_EQ(view_->SelectedItem(), Item("Work"));
    EXPECT_EQ(ops_->current_item().node.path, FolderDir("Work"));

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view_->EditItemLabel(Item("Work"));
    editor = view_->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Else");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(test::Exists(FolderDir("Work")));
    EXPECT_FALSE(test::Exists(FolderDir("Else")));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TreeTest, RenameFailuresSayWhyAndKeepTheOldName) {
    Page("a");
    Page("b");
    Open();
    Select("a");
    ItemId a = Item("a");
    SetNextMessageAnswer(MessageAnswer::kOk);
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->RenameItem(a, "b");
    ops_->RenameItem(a, "x/y");
    EXPECT_EQ(Messages(), (std::vector<Message>{{std::strerror(EEXIST), "Error"},
                                                {std::strerror(EINVAL), "Error"}}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(test::Exists(PageDir("a")));
    EXPECT_EQ(view_->SelectedItem(), a);
    EXPECT_EQ(ops_->current_item().node.path, PageDir("a"));

    // The root keeps its name; a name beyond the path buffer is dropped without a word.
    ops_->RenameItem(tree_.root(), "root");
    ops_->RenameItem(a, std::string(300, 'n'));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(model().IndexOf(tree_.root()).data().toString(), "data");
    EXPECT_TRUE(test::Exists(PageDir("a")));
}

TEST_F(TreeTest, SystemErrorTextsReadInAJapaneseLocale) {
    test::JapaneseLocale japanese;
    if (!japanese.ok()) {
        GTEST_SKIP() << "localedef cannot make ja_JP.UTF-8 here";
    }
    Page("a");
    Page("b");
    Open();
    Select("a");
    SetNextMessageAnswer(MessageAnswer::kOk);
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->RenameItem(Item("a"), "b");
    ops_->RenameItem(Item("a"), "x/y");
    // The system's texts in the locale's UTF-8, shown as the program's Shift_JIS.
    EXPECT_EQ(Messages(), (std::vector<Message>{{Sjis("ファイルが存在します"), "Error"},
                                                {Sjis("無効な引数です"), "Error"}}));
}

TEST_F(TreeTest, MessageBoxesHaveTheirCaptionsIconsAndOwners) {
    Page("a");
    Page("b");
    Open();
    Select("a");
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->RenameItem(Item("a"), "b");
    SetNextMessageAnswer(MessageAnswer::kNo);
    ops_->DeleteItem();
    std::vector<ShownMessage> shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 2u);
    // The system's error: no owner, the information icon.
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].icon, MessageIcon::kInformation);
    EXPECT_FALSE(shown[0].owned);
    EXPECT_EQ(shown[1].icon, MessageIcon::kWarning);
}

TEST_F(TreeTest, F2OrAClickOnTheSelectedLabelRenamesAnExistingItem) {
    Folder("F");
    Page("p");
    Open();
    Select("p");
    view_->setFocus();
    QTest::keyClick(view_.get(), Qt::Key_F2);
    QLineEdit* editor = LabelEditor(view_.get());
    ASSERT_NE(editor, nullptr) << "F2 edits the selected item's label";
    editor->selectAll();
    QTest::keyClicks(editor, "renamed");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(test::Exists(PageDir("renamed")));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("renamed"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A click on the selected folder's label, after the double-click time, edits it; a click
    // beside the label does not.
    Select("F");
    QRect label = view_->LabelRect(Index("F"));
    QPoint beside(view_->viewport()->width() - 3, label.center().y());
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, beside);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(LabelEditor(view_.get()), nullptr);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, label.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return LabelEditor(view_.get()) != nullptr; }, 3000));
    editor = LabelEditor(view_.get());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "G");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(test::Exists(FolderDir("G")));

    // The root's label stays.
    view_->SelectItem(tree_.root());
    QTest::keyClick(view_.get(), Qt::Key_F2);
    EXPECT_EQ(LabelEditor(view_.get()), nullptr);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TreeTest, TheLabelEditorRefusesWhatShiftJisCannotHold) {
    Page("p");
    Open();
    Select("p");
    view_->EditItemLabel(Item("p"));
    QLineEdit* editor = LabelEditor(view_.get());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    // A Korean syllable and an emoji have no Shift_JIS form; the kanji has.
    test::TypeKeys(editor, test::Q("名\xea\xb0\x80\xf0\x9f\x98\x80前"));
    EXPECT_EQ(editor->text(), test::Q("名前"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(test::Exists(PageDir(Sjis("名前"))));
    EXPECT_FALSE(test::Exists(PageDir(Sjis("名??前"))));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A text put past the validator renames nothing; it never becomes "?".
    view_->EditItemLabel(Item(Sjis("名前")));
    editor = LabelEditor(view_.get());
    ASSERT_NE(editor, nullptr);
    editor->setText(test::Q("\xea\xb0\x80"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(test::Exists(PageDir(Sjis("名前"))));
    EXPECT_FALSE(test::Exists(PageDir("?")));
}

TEST_F(TreeTest, KeyboardContextMenuActsOnTheSelectedItemAtTheItem) {
    Page("a");
    Page("b");
    Open();
    Select("b");
    std::vector<QPoint> requests;
    QObject::connect(view_.get(), &PageTreeView::ContextMenuRequested,
                     [&](QPoint at) { requests.push_back(at); });
    // The pointer rests over "a" (or outside the tree): the menu key still means "b".
    QRect a_row = view_->visualRect(Index("a"));
    QCursor::setPos(view_->viewport()->mapToGlobal(a_row.center()));
    QContextMenuEvent key(QContextMenuEvent::Keyboard, a_row.center(),
                          view_->viewport()->mapToGlobal(a_row.center()));
    QApplication::sendEvent(view_->viewport(), &key);
    QTest::keyClick(view_.get(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(requests.size(), 2u);
    QRect b_label = view_->LabelRect(Index("b"));
    for (QPoint at : requests) {
        QPoint local = view_->viewport()->mapFromGlobal(at);
        EXPECT_EQ(view_->indexAt(local - QPoint(0, 1)), Index("b")) << "the menu is at b";
        EXPECT_EQ(local.x(), b_label.left());
    }
    EXPECT_EQ(view_->SelectedItem(), Item("b"));
}

TEST_F(TreeTest, DeleteKeyAsksToDeleteTheSelectedItem) {
    Page("p");
    Open();
    int asked = 0;
    QObject::connect(view_.get(), &PageTreeView::DeleteRequested, [&] { ++asked; });
    Select("p");
    QTest::keyClick(view_.get(), Qt::Key_Delete);
    EXPECT_EQ(asked, 1);
    // Delete inside a label edit edits the label.
    view_->EditItemLabel(Item("p"));
    QTest::keyClick(LabelEditor(view_.get()), Qt::Key_Delete);
    EXPECT_EQ(asked, 1);
}

TEST_F(TreeTest, SheetsOpenOnTheSelectedItemsOwnRecordWhateverWasShownLast) {
    Folder("F");
    Page("F/p", "http://example.com/p", 1);
    Open();
    // A check or a reload of the root has shown the page last: the working copy is the page.
    store::ItemRecord shown;
    ASSERT_EQ(tree_.BuildTreeNode(Item("F/p"), shown.node), 0);
    store::ReadPageSettings(shown.node.path, shown.settings);

    Select("F");
    ops_->working_copy() = shown;
    sheets_.folder = [](store::ItemRecord& record) {
        record.settings.disable_auto_check = 1;
        return true;
    };
    ops_->EditProperties();
    ASSERT_EQ(sheets_.folders_shown.size(), 1u);
    EXPECT_EQ(sheets_.folders_shown[0].node.path, FolderDir("F"));
    EXPECT_EQ(sheets_.folders_shown[0].settings.disable_auto_check, 0) << "the folder's own flag";
    EXPECT_EQ(store::ReadAutoCheckFlag(false, FolderDir("F")), 1);
    EXPECT_EQ(ops_->current_item().node.path, FolderDir("F")) << "later commands target F";

    // The root's sheet (whose button clears past logs) is about the root, not the page shown
    // last.
    view_->SelectItem(tree_.root());
    ops_->working_copy() = shown;
    ops_->EditProperties();
    ASSERT_EQ(sheets_.root_records.size(), 1u);
    EXPECT_EQ(sheets_.root_records[0].node.kind, store::KIND_ROOT);
    EXPECT_EQ(sheets_.root_records[0].node.path, home_ / "data");
    EXPECT_EQ(ops_->current_item().node.kind, store::KIND_ROOT);
}

TEST_F(TreeTest, DeletingCreatesAMissingTrashInsteadOfTrashingIntoTheCurrentDirectory) {
    test::TempDir data_home;
    test::TempDir working;
    // A fresh account: not even the data home exists yet.
    ScopedEnv trash_home("XDG_DATA_HOME", data_home / "new/share");
    std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(working.path());
    Page("p");
    Open();
    Select("p");
    SetNextMessageAnswer(MessageAnswer::kYes);
    ops_->DeleteItem();
    std::filesystem::current_path(cwd);
    Messages();
    EXPECT_TRUE(test::Exists(data_home / "new/share/Trash/files/p.dat/site.ini"));
    EXPECT_TRUE(test::Exists(data_home / "new/share/Trash/info/p.dat.trashinfo"));
    EXPECT_FALSE(test::Exists(working / "files"));
    EXPECT_EQ(services_.statuses.back(), Sjis("削除しました"));
}

TEST_F(TreeTest, RenamingAFolderFindsTheSelectedPageInsideItAgain) {
    Folder("F");
    Page("F/p");
    Open();
    ItemId folder = Item("F");
    Select("F/p");
    ops_->RenameItem(folder, "G");
    EXPECT_EQ(view_->SelectedItem(), Item("G/p"));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("G/p"));
    EXPECT_EQ(ops_->working_copy().node.path, PageDir("G/p"));
}

TEST_F(TreeTest, DroppedPageIsOfferedUnderAFreeNumberedName) {
    Page("News");
    Open();
    sheets_.page = [](store::ItemRecord&) { return true; };
    ops_->NewPage(std::string_view("News"), std::string_view("http://example.com/news"));
    ASSERT_EQ(sheets_.pages_shown.size(), 1u);
    const store::ItemRecord& offered = sheets_.pages_shown[0];
    EXPECT_EQ(offered.node.name, "News(2)");
    EXPECT_EQ(offered.settings.url, "http://example.com/news");
    EXPECT_EQ(offered.settings.use_old_log, 1);

    store::PageSettings stored;
    ASSERT_EQ(store::ReadPageSettings(PageDir("News(2)"), stored), 0);
    EXPECT_EQ(stored.url, "http://example.com/news");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"News", "News(2)"}));
    EXPECT_EQ(view_->SelectedItem(), Item("News(2)"));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("News(2)"));
    EXPECT_EQ(ops_->working_copy().settings.url, "http://example.com/news");

    // An address dropped without a title is offered under the name of a new page.
    sheets_.page = [](store::ItemRecord&) { return false; };
    ops_->NewPage(std::string_view(), std::string_view("http://example.com/untitled"));
    ASSERT_EQ(sheets_.pages_shown.size(), 2u);
    EXPECT_EQ(sheets_.pages_shown[1].node.name, Sjis("新規ページ"));
}

TEST_F(TreeTest, SheetsAreToldTheIntervalTheFoldersGive) {
    Folder("F");
    ASSERT_EQ(store::WriteFolderSettings(FolderDir("F"), store::FolderSettings{0, 30}), 0);
    Folder("F/G");  // follows F
    Page("F/G/p");
    Folder("H");
    services_.settings_.check_interval = 120;
    Open();
    const struct {
        const char* item;
        int inherited;
    } rows[] = {{"F/G/p", 30}, {"F/G", 30}, {"F", 120}, {"H", 120}};
    for (const auto& row : rows) {
        Select(row.item);
        sheets_.inherited_intervals.clear();
        ops_->EditProperties();
        EXPECT_EQ(sheets_.inherited_intervals, std::vector<int>{row.inherited}) << row.item;
    }
    // A new page takes the interval of the folder it goes into.
    Select("F/G");
    sheets_.inherited_intervals.clear();
    ops_->NewPage();
    EXPECT_EQ(sheets_.inherited_intervals, std::vector<int>{30});
}

TEST_F(TreeTest, NewPageBesideASelectedPageGoesIntoItsFolderAsTheSheetLeftIt) {
    Folder("F");
    Page("F/p");
    Open();
    Select("F/p");
    sheets_.page = [](store::ItemRecord& record) {
        record.settings.url = "http://example.com/typed";
        record.settings.disable_auto_check = 1;
        return true;
    };
    ops_->NewPage();
    ASSERT_EQ(sheets_.pages_shown.size(), 1u);
    EXPECT_EQ(sheets_.pages_shown[0].node.name, Sjis("新規ページ"));
    EXPECT_EQ(sheets_.pages_shown[0].node.kind, store::KIND_PAGE);
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"p", Sjis("新規ページ")}));
    store::PageSettings stored;
    ASSERT_EQ(store::ReadPageSettings(PageDir(Sjis("F/新規ページ")), stored), 0);
    EXPECT_EQ(stored.url, "http://example.com/typed");
    EXPECT_EQ(Index(Sjis("F/新規ページ")).data(PageTreeModel::kImageRole).toInt(),
              static_cast<int>(TreeImage::kPageOff));
}

TEST_F(TreeTest, NewPageCreatesNothingWhenCancelledAndReopensItsSheetWhenRefused) {
    Folder("F");
    Open();
    Select("F");
    // Cancelled; a second new page asked for while the sheet is open is not started.
    sheets_.page = [this](store::ItemRecord&) {
        ops_->NewPage(std::string_view("Dropped"), std::string_view("http://example.com/"));
        return false;
    };
    ops_->NewPage();
    EXPECT_EQ(sheets_.pages_shown.size(), 1u);
    EXPECT_TRUE(files::ListDirectory(FolderDir("F")).empty());
    EXPECT_TRUE(Shown("F").empty());

    // Renamed in the sheet to a name that is taken, that no directory can have or that is too
    // long: the error is shown and the sheet opens again with everything typed, until the user
    // cancels.
    Page("F/Taken");
    ops_->PopulateTree();
    Select("F");
    struct Refused {
        std::string name;
        Message message;
    };
    const Refused refused[] = {
        {"Taken", {std::strerror(EEXIST), "Error"}},
        {"a/b", {std::strerror(EINVAL), "Error"}},
        {std::string(300, 'n'), {Sjis("サイト名が長すぎます。"), Sjis("エラー")}},
    };
    for (const Refused& r : refused) {
        sheets_.pages_shown.clear();
        sheets_.page = [&](store::ItemRecord& record) {
            if (sheets_.pages_shown.size() > 1) {
                return false;  // the second time: cancelled
            }
            record.node.name = r.name;
            record.settings.url = "http://example.com/typed";
            record.settings.comment = "typed";
            return true;
        };
        SetNextMessageAnswer(MessageAnswer::kOk);
        ops_->NewPage();
        EXPECT_EQ(Messages(), (std::vector<Message>{r.message}));
        ASSERT_EQ(sheets_.pages_shown.size(), 2u) << r.name;
        EXPECT_EQ(sheets_.pages_shown[1].node.name, r.name);
        EXPECT_EQ(sheets_.pages_shown[1].settings.url, "http://example.com/typed");
        EXPECT_EQ(sheets_.pages_shown[1].settings.comment, "typed");
    }
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"Taken"}));

    // Mended in the sheet the second time: the page is made with what was typed.
    sheets_.pages_shown.clear();
    sheets_.page = [&](store::ItemRecord& record) {
        record.node.name = sheets_.pages_shown.size() == 1 ? "Taken" : "Fresh";
        record.settings.url = "http://example.com/fresh";
        return true;
    };
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->NewPage();
    Messages();
    EXPECT_EQ(Shown("F"), (std::vector<std::string>{"Fresh", "Taken"}));
    store::PageSettings stored;
    ASSERT_EQ(store::ReadPageSettings(PageDir("F/Fresh"), stored), 0);
    EXPECT_EQ(stored.url, "http://example.com/fresh");

    // Nothing selected: no new page.
    view_->SelectItem(0);
    EXPECT_FALSE(ops_->has_selection());
    sheets_.pages_shown.clear();
    ops_->NewPage();
    EXPECT_TRUE(sheets_.pages_shown.empty());
}

TEST_F(TreeTest, DeleteMovesTheDirectoryToTheTrashAndRemovesTheSubtree) {
    test::TempDir data_home;
    ScopedEnv trash_home("XDG_DATA_HOME", data_home.path());
    Folder("F");
    Folder("F/G");
    Page("F/G/p");
    Page("q");
    Open();
    tree_.MarkUpdated(Item("F/G/p"));
    Select("F");

    // No keeps everything.
    SetNextMessageAnswer(MessageAnswer::kNo);
    ops_->DeleteItem();
    EXPECT_EQ(
        Messages(),
        (std::vector<Message>{{Sjis("F\r\nを削除します。よろしいですか？"), Sjis("削除の確認")}}));
    EXPECT_TRUE(test::Exists(FolderDir("F")));

    SetNextMessageAnswer(MessageAnswer::kYes);
    services_.statuses.clear();
    ops_->DeleteItem();
    Messages();
    EXPECT_FALSE(test::Exists(FolderDir("F")));
    EXPECT_TRUE(test::Exists(data_home / "Trash/files/F.grp/G.grp/p.dat/site.ini"));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"q"}));
    EXPECT_EQ(Item("F/G/p"), 0u);
    EXPECT_EQ(model().rowCount(model().IndexOf(tree_.root())), 1);
    // The unread mark went with it; the next item is selected and current.
    EXPECT_FALSE(tree_.Find(tree_.root())->bold);
    EXPECT_EQ(view_->SelectedItem(), Item("q"));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("q"));
    ASSERT_FALSE(services_.statuses.empty());
    EXPECT_EQ(services_.statuses.front(), Sjis("削除中..."));
    EXPECT_EQ(services_.statuses.back(), Sjis("削除しました"));

    // The root cannot be deleted: not even asked.
    view_->SelectItem(tree_.root());
    ops_->DeleteItem();
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(test::Exists(home_ / "data"));
}

TEST_F(TreeTest, DeleteThatFailsLeavesTheTree) {
    Page("p");
    Open();
    Select("p");
    // The page's directory vanished behind the program's back: nothing to move.
    ASSERT_TRUE(files::MovePath(PageDir("p"), home_ / "elsewhere"));
    SetNextMessageAnswer(MessageAnswer::kYes);
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->DeleteItem();
    auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], (Message{Sjis("削除できませんでした。"), Sjis("削除失敗")}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"p"}));
}

TEST_F(TreeTest, SelectingAPageShowsItsStoredResultsAndAFolderReadsItsFlag) {
    Folder("F", 1);
    Page("p", "http://example.com/p");
    ASSERT_TRUE(store::WriteLogIndex(PageDir("p"), 1));
    test::WriteBytes(PageDir("p") + "/add1.txt", "newest line");
    test::WriteBytes(PageDir("p") + "/add0.txt", "older line");
    Open();
    Select("p");
    EXPECT_EQ(services_.locks, (std::vector<bool>{false, true}));
    EXPECT_EQ(services_.panes_cleared, 1);
    EXPECT_NE(services_.document.Text().find("newest line"), std::string::npos);
    EXPECT_LT(services_.document.Text().find("newest line"),
              services_.document.Text().find("older line"));
    EXPECT_EQ(ops_->working_copy().settings.url, "http://example.com/p");
    EXPECT_EQ(ops_->current_item().node.path, PageDir("p"));
    // The selection clears the status bar.
    EXPECT_EQ(services_.statuses, (std::vector<std::string>{""}));

    Select("F");
    EXPECT_EQ(ops_->working_copy().node.kind, store::KIND_FOLDER);
    EXPECT_EQ(ops_->working_copy().settings.disable_auto_check, 1);
    EXPECT_EQ(services_.panes_cleared, 1);
}

TEST_F(TreeTest, DoubleClickOnAPageLabelOpensItsBrowserAddress) {
    Folder("F");
    Page("F/x");
    Page("p", "http://example.com/check");
    store::PageSettings settings;
    store::ReadPageSettings(PageDir("p"), settings);
    settings.browse_url = "http://example.com/read";
    EXPECT_EQ(store::WritePageSettings(PageDir("p"), settings), 0);
    Page("q", "http://example.com/q");
    Open();
    QRect row = view_->visualRect(Index("p"));
    QPoint on_label(row.left() + 10, row.center().y());
    ASSERT_TRUE(view_->HitsIconOrLabel(Index("p"), on_label));
    DoubleClick(on_label);
    EXPECT_EQ(services_.opened, (std::vector<std::string>{"http://example.com/read"}));
    EXPECT_EQ(services_.statuses.back(), Sjis("開きます(http://example.com/check)"));

    // Far right of the label is not on the item.
    QRect q_row = view_->visualRect(Index("q"));
    QPoint beside(q_row.right() - 2, q_row.center().y());
    ASSERT_FALSE(view_->HitsIconOrLabel(Index("q"), beside));
    DoubleClick(beside);
    // A folder opens and closes; no address.
    QRect f_row = view_->visualRect(Index("F"));
    DoubleClick({f_row.left() + 10, f_row.center().y()});
    EXPECT_TRUE(view_->isExpanded(Index("F")));
    EXPECT_EQ(services_.opened.size(), 1u);
}

TEST_F(TreeTest, ContextMenuOnlyOverAnItemWhichIsSelectedFirst) {
    Page("a");
    Page("b");
    Open();
    std::vector<QPoint> requests;
    QObject::connect(view_.get(), &PageTreeView::ContextMenuRequested,
                     [&](QPoint at) { requests.push_back(at); });
    QRect row = view_->visualRect(Index("b"));
    QContextMenuEvent on_item(QContextMenuEvent::Mouse, row.center(),
                              view_->viewport()->mapToGlobal(row.center()));
    QApplication::sendEvent(view_->viewport(), &on_item);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(view_->SelectedItem(), Item("b"));
    EXPECT_EQ(ops_->current_item().node.name, "b");

    QPoint empty(10, view_->viewport()->height() - 5);
    QContextMenuEvent on_nothing(QContextMenuEvent::Mouse, empty,
                                 view_->viewport()->mapToGlobal(empty));
    QApplication::sendEvent(view_->viewport(), &on_nothing);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(view_->SelectedItem(), Item("b"));
}

TEST_F(TreeTest, TabLeavesForThePaneAndShiftTabForTheToolbar) {
    Open();
    int pane = 0;
    int toolbar = 0;
    QObject::connect(view_.get(), &PageTreeView::FocusPaneRequested, [&] { ++pane; });
    QObject::connect(view_.get(), &PageTreeView::FocusToolbarRequested, [&] { ++toolbar; });
    QTest::keyClick(view_.get(), Qt::Key_Tab);
    EXPECT_EQ(pane, 1);
    QTest::keyClick(view_.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(view_.get(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(toolbar, 2);
    EXPECT_EQ(pane, 1);
}

TEST_F(TreeTest, RenamingAPageInItsSheetMovesItsDirectory) {
    Page("Taken");
    Page("p", "http://example.com/old");
    Open();
    Select("p");
    sheets_.page = [](store::ItemRecord& record) {
        record.node.name = "q";
        record.settings.url = "http://example.com/new";
        return true;
    };
    ops_->EditProperties();
    EXPECT_FALSE(test::Exists(PageDir("p")));
    store::PageSettings stored;
    ASSERT_EQ(store::ReadPageSettings(PageDir("q"), stored), 0);
    EXPECT_EQ(stored.url, "http://example.com/new");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"q", "Taken"}));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("q"));
    EXPECT_EQ(ops_->working_copy().node.path, PageDir("q"));
    EXPECT_EQ(ops_->working_copy().settings.url, "http://example.com/new");
    // A check of the item finds it in its new directory.
    store::TreeNode node;
    ASSERT_EQ(tree_.BuildTreeNode(Item("q"), node), 0);
    EXPECT_EQ(node.path, PageDir("q"));

    // A taken name and a name beyond the path buffer keep the old one; the settings are stored.
    sheets_.page = [](store::ItemRecord& record) {
        record.node.name = "Taken";
        record.settings.disable_auto_check = 1;
        return true;
    };
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->EditProperties();
    sheets_.page = [](store::ItemRecord& record) {
        record.node.name = std::string(300, 'n');
        return true;
    };
    SetNextMessageAnswer(MessageAnswer::kOk);
    ops_->EditProperties();
    EXPECT_EQ(Messages(),
              (std::vector<Message>{{std::strerror(EEXIST), "Error"},
                                    {Sjis("サイト名が長すぎます。"), Sjis("設定エラー")}}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"q", "Taken"}));
    EXPECT_EQ(ops_->current_item().node.name, "q");
    EXPECT_EQ(Index("q").data(PageTreeModel::kImageRole).toInt(),
              static_cast<int>(TreeImage::kPageOff));
    ASSERT_EQ(store::ReadPageSettings(PageDir("q"), stored), 0);
    EXPECT_EQ(stored.disable_auto_check, 1);
}

TEST_F(TreeTest, FolderAndRootSheets) {
    Folder("F");
    Open();
    Select("F");
    sheets_.folder = [](store::ItemRecord& record) {
        record.settings.disable_auto_check = 1;
        return true;
    };
    ops_->EditProperties();
    EXPECT_EQ(store::ReadAutoCheckFlag(false, FolderDir("F")), 1);
    EXPECT_EQ(Index("F").data(PageTreeModel::kImageRole).toInt(),
              static_cast<int>(TreeImage::kFolderOff));
    EXPECT_EQ(ops_->working_copy().settings.disable_auto_check, 1);

    view_->SelectItem(tree_.root());
    ops_->EditProperties();
    EXPECT_EQ(sheets_.roots_shown, 1);
    EXPECT_FALSE(test::Exists(home_ / "data/group.ini"));
}

TEST_F(TreeTest, EditPropertiesOfKeepsTheSelectionUnlessItEditsTheSelectedPage) {
    Folder("F");
    Page("p", "http://example.com/p");
    Open();
    Select("F");
    sheets_.page = [](store::ItemRecord& record) {
        record.settings.url = "http://example.com/changed";
        return true;
    };
    ops_->EditPropertiesOf(Item("p"));
    ASSERT_EQ(sheets_.pages_shown.size(), 1u);
    EXPECT_EQ(sheets_.pages_shown[0].settings.url, "http://example.com/p");
    store::PageSettings stored;
    store::ReadPageSettings(PageDir("p"), stored);
    EXPECT_EQ(stored.url, "http://example.com/changed");
    EXPECT_EQ(ops_->current_item().node.path, FolderDir("F"));
    EXPECT_EQ(ops_->working_copy().node.kind, store::KIND_FOLDER);

    // The selected page renamed through its settings link: the current item follows it.
    Select("p");
    sheets_.page = [](store::ItemRecord& record) {
        record.node.name = "r";
        return true;
    };
    ops_->EditPropertiesOf(Item("p"));
    EXPECT_EQ(ops_->current_item().node.path, PageDir("r"));
    EXPECT_EQ(ops_->working_copy().settings.url, "http://example.com/changed");
}

// Every page keeps index.txt 3 with log and update texts 0 to 4, head.txt, new.txt, html.txt
// and result.ini.
void WriteLogs(const std::string& page) {
    ASSERT_TRUE(store::WriteLogIndex(page, 3));
    for (int k = 0; k < 5; ++k) {
        test::WriteBytes(page + "/log" + std::to_string(k) + ".txt", "log");
        test::WriteBytes(page + "/add" + std::to_string(k) + ".txt", "add");
    }
    for (const char* name : {"/head.txt", "/new.txt", "/html.txt"}) {
        test::WriteBytes(page + name, "x");
    }
    EXPECT_EQ(store::WriteResultCode(page, store::RESULT_UPDATED), 0);
}

std::vector<std::string> Files(const std::string& page) {
    std::vector<std::string> names;
    for (const auto& entry : files::ListDirectory(page)) {
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(TreeTest, ClearPastLogsAskedNoDeletesNothingAndSaysNothing) {
    Page("p");
    WriteLogs(PageDir("p"));
    Open();
    auto before = Files(PageDir("p"));
    SetNextMessageAnswer(MessageAnswer::kNo);
    ClearPastLogs(ops_->current_item(), tree_, services_);
    EXPECT_EQ(
        Messages(),
        (std::vector<Message>{
            {Sjis("全ての過去ログおよび更新チェック結果を削除します。\r\n\r\nよろしいですか？"),
             Sjis("過去ログの削除")}}));
    EXPECT_EQ(Files(PageDir("p")), before);
    EXPECT_TRUE(services_.statuses.empty());
}

TEST_F(TreeTest, ClearPastLogsOfTheRootWalksEveryPageAndKeepsTheCurrentOnes) {
    Folder("F");
    Folder("F/G");
    Page("F/G/p");
    Page("q");
    WriteLogs(PageDir("F/G/p"));
    WriteLogs(PageDir("q"));
    Open();
    SetNextMessageAnswer(MessageAnswer::kYes);
    ClearPastLogs(ops_->current_item(), tree_, services_);
    Messages();
    const std::vector<std::string> kept = {"add3.txt", "html.txt",   "index.txt", "log3.txt",
                                           "new.txt",  "result.ini", "site.ini"};
    EXPECT_EQ(Files(PageDir("F/G/p")), kept);
    EXPECT_EQ(Files(PageDir("q")), kept);
    // The folder that holds only a folder is walked through: one text per page.
    EXPECT_EQ(services_.statuses, (std::vector<std::string>{
                                      Sjis("過去ログ削除中..."), Sjis("過去ログ削除中\"p\"..."),
                                      Sjis("過去ログ削除中\"q\"..."), Sjis("過去ログ削除完了。")}));
    // The progress bar counts the pages and goes at the end.
    EXPECT_EQ(services_.progress,
              (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}, {0, 0}}));
}

TEST_F(TreeTest, ClearPastLogsOfOnePageLeavesTheOthers) {
    Page("p");
    Page("q");
    WriteLogs(PageDir("p"));
    WriteLogs(PageDir("q"));
    Open();
    Select("p");
    services_.statuses.clear();
    SetNextMessageAnswer(MessageAnswer::kYes);
    ClearPastLogs(ops_->current_item(), tree_, services_);
    Messages();
    EXPECT_FALSE(test::Exists(PageDir("p") + "/log0.txt"));
    EXPECT_TRUE(test::Exists(PageDir("q") + "/log0.txt"));
    EXPECT_EQ(services_.statuses,
              (std::vector<std::string>{Sjis("過去ログ削除中..."), Sjis("過去ログ削除完了。")}));

    // A record without a directory (a page not made yet) has nothing to clear: not even asked.
    store::ItemRecord unsaved;
    unsaved.node.kind = store::KIND_PAGE;
    services_.statuses.clear();
    ClearPastLogs(unsaved, tree_, services_);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(services_.statuses.empty());
}

TEST_F(TreeTest, TenThousandPagesAreShownWithinASecond) {
    // The tree as the data directory's listing fills it (in no particular order), then the
    // window's view of it: everything of start-up but reading the directories.
    QElapsedTimer clock;
    clock.start();
    ItemId root = tree_.Reset();
    for (int i = 0; i < 10000; ++i) {
        int n = (i * 7919) % 10000;
        tree_.AddItem(root, "page" + std::to_string(n), store::KIND_PAGE, n % 7 == 0);
    }
    Open(false);
    QApplication::processEvents();
    view_->repaint();
    EXPECT_LT(clock.elapsed(), 1000) << "milliseconds until the tree is shown";
    EXPECT_EQ(model().rowCount(model().IndexOf(tree_.root())), 10000);
    EXPECT_EQ(Shown()[2], "page10");

    // Working in the large folder stays quick.
    clock.restart();
    Select("page9999");
    tree_.MarkUpdated(Item("page5000"));
    tree_.ClearUpdated(Item("page5000"));
    ItemId added = tree_.AddItem(root, "page10000", store::KIND_PAGE, false);
    tree_.Remove(added);
    view_->repaint();
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_EQ(view_->SelectedItem(), Item("page9999"));
}

}  // namespace
}  // namespace velnora::window
