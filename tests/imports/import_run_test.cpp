// Imports into a temporary data directory: what is made on disk, what is skipped and why.

#include "imports/import_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "store/settings_files.h"
#include "support/file_size_limit.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::imports {
namespace {

using test::Sjis;

class ImportRunTest : public testing::Test {
  protected:
    ImportRunTest() : tree_(home_.path() + "/") { test::MakeDir(home_ / "data"); }

    ImportReport Import(const ImportSource& source, std::string_view base,
                        ImportRules rules = ImportRules::kBookmarks, std::string_view folder = "") {
        store::PopulateTree(tree_);
        ImportRequest request;
        request.tree = &tree_;
        request.target = folder.empty() ? tree_.root() : FindChild(tree_.root(), Sjis(folder));
        request.base_name = Sjis(base);
        request.rules = rules;
        request.progress = [this](int found, int total) { progress_.emplace_back(found, total); };
        return RunImport(request, source);
    }
    ImportReport ImportFixture(std::string_view file, std::string_view base) {
        return Import(ReadImportBytes(test::ReadBytes(std::string(VELNORA_TEST_DATA) + "/imports/" +
                                                      std::string(file))),
                      base);
    }

    store::ItemId FindChild(store::ItemId parent, std::string_view name) const {
        for (store::ItemId child = tree_.FirstChild(parent); child != 0;
             child = tree_.NextSibling(child)) {
            if (tree_.Find(child)->name == name) {
                return child;
            }
        }
        return 0;
    }

    // Every directory below data, as UTF-8 paths relative to it, sorted.
    std::vector<std::string> Tree() const {
        std::vector<std::string> paths;
        std::string data = home_ / "data/";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(data)) {
            if (entry.is_directory()) {
                paths.push_back(entry.path().string().substr(data.size()));
            }
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::string SiteIni(std::string_view relative_utf8) const {
        return test::ReadBytes(home_ / Sjis("data/" + std::string(relative_utf8) + "/site.ini"));
    }
    void Page(std::string_view relative, std::string_view url) {
        test::MakeDir(home_ / ("data/" + std::string(relative)));
        store::PageSettings settings;
        settings.url = std::string(url);
        ASSERT_EQ(store::WritePageSettings(home_ / ("data/" + std::string(relative)), settings), 0);
    }

    test::TempDir home_;
    store::PageTree tree_;
    std::vector<std::pair<int, int>> progress_;
};

TEST_F(ImportRunTest, AFirefoxExportBecomesAFolderOfItsWebAddresses) {
    ImportReport report = ImportFixture("firefox.html", "bookmarks");
    ASSERT_EQ(report.failure, ImportFailure::kNone) << report.error;
    EXPECT_EQ(report.folder_name, "bookmarks");
    EXPECT_EQ(report.found, 10);
    EXPECT_EQ(report.made, 6);
    EXPECT_EQ(report.Skipped(SkipReason::kNotWebAddress), 3) << "a bookmarklet, two place: queries";
    EXPECT_EQ(report.Skipped(SkipReason::kDuplicate), 1) << "one address twice in one folder";
    EXPECT_EQ(Tree(), (std::vector<std::string>{
                          "bookmarks.grp",
                          "bookmarks.grp/Bookmarks Toolbar.grp",
                          "bookmarks.grp/Bookmarks Toolbar.grp/Example News & Views.dat",
                          "bookmarks.grp/Bookmarks Toolbar.grp/日本語のサイト.grp",
                          "bookmarks.grp/Bookmarks Toolbar.grp/日本語のサイト.grp/Party blog.dat",
                          "bookmarks.grp/Bookmarks Toolbar.grp/日本語のサイト.grp/例のサイト ／ "
                          "トップ.dat",
                          "bookmarks.grp/Mozilla Firefox.grp",
                          "bookmarks.grp/Mozilla Firefox.grp/Example News again.dat",
                          "bookmarks.grp/Mozilla Firefox.grp/Get Help.dat",
                          "bookmarks.grp/Other Bookmarks.grp",
                          "bookmarks.grp/Other Bookmarks.grp/Example FTP mirror.dat",
                      }));
    // Only the address and USE_OLD_LOG: every other key reads as its default.
    EXPECT_EQ(SiteIni("bookmarks.grp/Bookmarks Toolbar.grp/Example News & Views.dat"),
              "[CONFIG]\r\nURL=https://www.example.org/news/\r\nUSE_OLD_LOG=1\r\n");
}

TEST_F(ImportRunTest, SameNamesAreNumberedAndTheSameAddressInTwoFoldersMakesTwoPages) {
    ImportReport report = ImportFixture("chromium.html", "Chromium bookmarks");
    ASSERT_EQ(report.failure, ImportFailure::kNone) << report.error;
    EXPECT_EQ(report.made, 4);
    EXPECT_EQ(report.Skipped(SkipReason::kDuplicate), 1);
    EXPECT_EQ(Tree(),
              (std::vector<std::string>{
                  "Chromium bookmarks.grp",
                  "Chromium bookmarks.grp/Bookmarks bar.grp",
                  "Chromium bookmarks.grp/Bookmarks bar.grp/Example Domain.dat",
                  "Chromium bookmarks.grp/Bookmarks bar.grp/Tech／Dev.grp",
                  "Chromium bookmarks.grp/Bookmarks bar.grp/Tech／Dev.grp/A <dev> page(2).dat",
                  "Chromium bookmarks.grp/Bookmarks bar.grp/Tech／Dev.grp/A <dev> page.dat",
                  "Chromium bookmarks.grp/Other bookmarks.grp",
                  "Chromium bookmarks.grp/Other bookmarks.grp/Example Domain.dat",
              }))
        << "the empty folder is not made";
    EXPECT_EQ(SiteIni("Chromium bookmarks.grp/Bookmarks bar.grp/Tech／Dev.grp/A <dev> page(2).dat"),
              "[CONFIG]\r\nURL=https://dev.example.com/b\r\nUSE_OLD_LOG=1\r\n");
}

TEST_F(ImportRunTest, ASecondImportMakesOnlyWhatIsNewBelowTheTargetFolder) {
    ASSERT_EQ(ImportFixture("urls.txt", "urls").made, 4);
    EXPECT_EQ(Tree(),
              (std::vector<std::string>{
                  "urls.grp", "urls.grp/files.example.com.dat", "urls.grp/one.example.com(2).dat",
                  "urls.grp/one.example.com.dat", "urls.grp/two.example.com.dat"}));

    // Everything is there already: no folder.
    ImportReport again = ImportFixture("urls.txt", "urls");
    EXPECT_EQ(again.failure, ImportFailure::kNothingNew);
    EXPECT_EQ(again.Skipped(SkipReason::kAlreadyThere), 5) << "the line listed twice too";
    EXPECT_EQ(Tree().size(), 5u);

    // One new address among old ones: a folder "urls(1)" with it alone.
    ImportSource more =
        ReadImportBytes("https://two.example.com/path?q=1\nhttps://new.example.com/\n");
    ImportReport third = Import(more, "urls");
    ASSERT_EQ(third.failure, ImportFailure::kNone);
    EXPECT_EQ(third.folder_name, "urls(1)");
    EXPECT_EQ(third.made, 1);
    EXPECT_TRUE(test::Exists(home_ / "data/urls(1).grp/new.example.com.dat/site.ini"));
}

TEST_F(ImportRunTest, OnlyPagesBelowTheTargetFolderCount) {
    test::MakeDir(home_ / "data/Target.grp");
    Page("Elsewhere.dat", "https://one.example.com/");
    ImportReport report = Import(ReadImportBytes("https://one.example.com/\n"), "list",
                                 ImportRules::kBookmarks, "Target");
    ASSERT_EQ(report.failure, ImportFailure::kNone);
    EXPECT_TRUE(test::Exists(home_ / "data/Target.grp/list.grp/one.example.com.dat"));
}

TEST_F(ImportRunTest, AFailedWriteTakesBackEverythingTheImportMade) {
    Page("Kept.dat", "http://kept.example/");
    std::vector<std::string> before = Tree();
    ImportSource source =
        ReadImportBytes(test::ReadBytes(std::string(VELNORA_TEST_DATA) + "/imports/firefox.html"));
    ImportReport report;
    {
        test::FileSizeLimit limit(16);  // no site.ini fits
        report = Import(source, "bookmarks");
    }
    EXPECT_EQ(report.failure, ImportFailure::kWriteFailed);
    EXPECT_EQ(report.error, "File too large");
    EXPECT_EQ(Tree(), before);
}

TEST_F(ImportRunTest, TheFavoritesRulesMakeEveryFolderAndEveryLink) {
    test::TempDir favorites;
    test::MakeDir(favorites / "News");
    test::MakeDir(favorites / "Empty");
    test::WriteBytes(favorites / "News/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
    test::WriteBytes(favorites / "News/b.url", "[InternetShortcut]\r\nURL=javascript:void(0)\r\n");
    test::WriteBytes(favorites / "nothing.url", "[InternetShortcut]\r\n");
    ImportSource source = ReadImportPath(favorites.path());
    std::string base = "IEのお気に入り";
    ImportReport first = Import(source, base, ImportRules::kFavorites);
    ASSERT_EQ(first.failure, ImportFailure::kNone) << first.error;
    EXPECT_EQ(first.found, 3);
    EXPECT_EQ(first.made, 3);
    EXPECT_EQ(Tree(), (std::vector<std::string>{
                          "IEのお気に入り.grp", "IEのお気に入り.grp/Empty.grp",
                          "IEのお気に入り.grp/News.grp", "IEのお気に入り.grp/News.grp/a.dat",
                          "IEのお気に入り.grp/News.grp/b.dat", "IEのお気に入り.grp/nothing.dat"}));
    EXPECT_EQ(SiteIni("IEのお気に入り.grp/nothing.dat"), "[CONFIG]\r\nURL=\r\nUSE_OLD_LOG=1\r\n");
    // A second import goes into a folder numbered from 1.
    EXPECT_EQ(Import(source, base, ImportRules::kFavorites).folder_name, Sjis("IEのお気に入り(1)"));
}

TEST_F(ImportRunTest, EntriesNestedDeeperThanAPathAllowsAreSkippedAsTooLong) {
    ImportSource source;
    ImportEntry shallow;
    shallow.folders = {"Top"};
    shallow.title = "kept";
    shallow.address = "http://kept.example/";
    ImportEntry deep = shallow;
    deep.folders.assign(20, std::string(20, 'f'));
    deep.title = "too deep";
    deep.address = "http://deep.example/";
    source.entries = {shallow, deep};
    ImportReport report = Import(source, "deep");
    ASSERT_EQ(report.failure, ImportFailure::kNone) << report.error;
    EXPECT_EQ(report.made, 1);
    EXPECT_EQ(report.Skipped(SkipReason::kTooLong), 1);
    EXPECT_TRUE(test::Exists(home_ / "data/deep.grp/Top.grp/kept.dat/site.ini"));
}

TEST_F(ImportRunTest, ProgressIsToldEveryTenthEntry) {
    std::string list;
    for (int i = 0; i < 25; ++i) {
        list += "http://host" + std::to_string(i) + ".example/\n";
    }
    ASSERT_EQ(Import(ReadImportBytes(list), "many").made, 25);
    EXPECT_EQ(progress_, (std::vector<std::pair<int, int>>{{10, 25}, {20, 25}}));
}

}  // namespace
}  // namespace velnora::imports
