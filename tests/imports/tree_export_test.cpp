// The tree written out as a bookmark export or OPML, and read back by the import.

#include "imports/tree_export.h"

#include <gtest/gtest.h>

#include "imports/import_run.h"
#include "store/settings_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::imports {
namespace {

using test::Sjis;

// A home whose tree is made from a list of (path, address) pairs; folders end in "/".
class Home {
  public:
    Home() : tree_(dir_.path() + "/") { test::MakeDir(dir_ / "data"); }

    void Add(std::string_view path, std::string_view url = {}) {
        std::string disk = dir_ / "data";
        std::string_view rest = path;
        while (!rest.empty()) {
            std::size_t slash = rest.find('/');
            std::string name = Sjis(rest.substr(0, slash));
            bool folder = slash != std::string_view::npos;
            disk += "/" + name + (folder ? ".grp" : ".dat");
            if (!test::Exists(disk)) {
                test::MakeDir(disk);
            }
            rest = folder ? rest.substr(slash + 1) : std::string_view();
        }
        if (!path.ends_with('/')) {
            store::PageSettings settings;
            settings.url = std::string(url);
            ASSERT_EQ(store::WritePageSettings(disk, settings), 0);
        }
    }

    store::PageTree& Tree() {
        store::PopulateTree(tree_);
        return tree_;
    }

    // Every item below the item as "path <address>" lines.
    std::string Listing(store::ItemId item, const std::string& prefix = {}) {
        std::string listing;
        for (store::ItemId child = tree_.FirstChild(item); child != 0;
             child = tree_.NextSibling(child)) {
            const store::PageTree::Node* node = tree_.Find(child);
            std::string path = prefix + test::Utf8(node->name);
            if (node->kind == store::KIND_FOLDER) {
                listing += path + "/\n" + Listing(child, path + "/");
            } else {
                store::TreeNode page;
                store::PageSettings settings;
                tree_.BuildTreeNode(child, page);
                store::ReadPageSettings(page.path, settings);
                listing += path + " <" + settings.url + ">\n";
            }
        }
        return listing;
    }

  private:
    test::TempDir dir_;
    store::PageTree tree_;
};

TEST(TreeExport, AnImportOfTheExportMakesTheSameTree) {
    Home home;
    home.Add("News/Tech/Site <A> & \"B\"", "http://a.example/?x=1&y=<2>");
    home.Add("News/日本語 ／ ニュース", "https://news.example.jp/");
    home.Add("News/Tech/Other", "https://b.example/");
    home.Add("Top page", "https://top.example/");
    store::PageTree& tree = home.Tree();
    std::string expected = home.Listing(tree.root());

    for (ExportFormat format : {ExportFormat::kBookmarkHtml, ExportFormat::kOpml}) {
        SCOPED_TRACE(format == ExportFormat::kOpml ? "OPML" : "bookmark export");
        std::string file = ExportTree(tree, tree.root(), format);
        ImportSource source = ReadImportBytes(file);
        ASSERT_EQ(source.error, ReadError::kNone) << source.detail << "\n" << file;
        EXPECT_EQ(source.format, format == ExportFormat::kOpml ? SourceFormat::kOpml
                                                               : SourceFormat::kBookmarkHtml);
        Home other;
        ImportRequest request;
        request.tree = &other.Tree();
        request.target = request.tree->root();
        request.base_name = "copy";
        ImportReport report = RunImport(request, source);
        ASSERT_EQ(report.failure, ImportFailure::kNone);
        store::PageTree& copied = other.Tree();
        store::ItemId copy = copied.FirstChild(copied.root());
        EXPECT_EQ(other.Listing(copy), expected) << file;
    }
}

TEST(TreeExport, AFolderOrAPageAloneCanBeExported) {
    Home home;
    home.Add("News/Site", "http://a.example/");
    home.Add("Other", "http://b.example/");
    store::PageTree& tree = home.Tree();
    store::ItemId news = tree.FirstChild(tree.root());
    ImportSource folder = ReadImportBytes(ExportTree(tree, news, ExportFormat::kBookmarkHtml));
    ASSERT_EQ(folder.entries.size(), 1u);
    EXPECT_TRUE(folder.entries[0].folders.empty()) << "the folder's content, under its name";
    ImportSource page =
        ReadImportBytes(ExportTree(tree, tree.NextSibling(news), ExportFormat::kOpml));
    ASSERT_EQ(page.entries.size(), 1u);
    EXPECT_EQ(page.entries[0].address, "http://b.example/");
    EXPECT_EQ(ExportFormatFor("list.OPML"), ExportFormat::kOpml);
    EXPECT_EQ(ExportFormatFor("list.html"), ExportFormat::kBookmarkHtml);
}

}  // namespace
}  // namespace velnora::imports
