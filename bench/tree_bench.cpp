// Reorganising the tree at scale: importing a bookmark export of 5,000 entries in 100 folders
// (reading alone, and reading with every page written), and moving a folder of 1,000 pages
// (on disk and in the tree, and with the tree view following). Runs on the platform
// QT_QPA_PLATFORM names (offscreen by default); homes are made below $TMPDIR.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <fstream>

#include "imports/import_run.h"
#include "imports/import_source.h"
#include "store/move_item.h"
#include "store/page_tree.h"
#include "window/page_tree_view.h"

namespace {

namespace fs = std::filesystem;
using namespace velnora;

constexpr int kFolders = 100;
constexpr int kEntriesPerFolder = 50;
constexpr int kPagesMoved = 1000;

// A bookmark export as browsers write it: 100 folders of 50 links with titles.
std::string BookmarkExport() {
    std::string file =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    for (int folder = 0; folder < kFolders; ++folder) {
        file += "    <DT><H3 ADD_DATE=\"1700000000\">Folder " + std::to_string(folder) +
                "</H3>\n    <DL><p>\n";
        for (int entry = 0; entry < kEntriesPerFolder; ++entry) {
            std::string n = std::to_string(folder * kEntriesPerFolder + entry);
            file += "        <DT><A HREF=\"https://site" + n + ".example.com/news/\" ADD_DATE=\"" +
                    "1700000000\" ICON=\"data:image/png;base64,iVBORw0KGgo=\">ニュース " + n +
                    " &amp; more</A>\n";
        }
        file += "    </DL><p>\n";
    }
    return file + "</DL>\n";
}

fs::path FreshHome(const char* name) {
    fs::path home = fs::temp_directory_path() / name;
    fs::remove_all(home);
    fs::create_directories(home / "data");
    return home;
}

void BM_ReadBookmarkExport(benchmark::State& state) {
    std::string file = BookmarkExport();
    for (auto _ : state) {
        imports::ImportSource source = imports::ReadImportBytes(file);
        benchmark::DoNotOptimize(source.entries.data());
    }
    state.counters["entries"] = kFolders * kEntriesPerFolder;
}
BENCHMARK(BM_ReadBookmarkExport)->Unit(benchmark::kMillisecond);

void BM_ImportBookmarkExport(benchmark::State& state) {
    std::string file = BookmarkExport();
    int made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::path home = FreshHome("velnora-bench-import");
        store::PageTree tree(home.string() + "/");
        store::PopulateTree(tree);
        state.ResumeTiming();
        imports::ImportSource source = imports::ReadImportBytes(file);
        imports::ImportRequest request;
        request.tree = &tree;
        request.target = tree.root();
        request.base_name = "bookmarks";
        made = imports::RunImport(request, source).made;
    }
    state.counters["pages"] = made;
}
BENCHMARK(BM_ImportBookmarkExport)->Unit(benchmark::kMillisecond)->Iterations(5);

// A home with a folder of 1,000 pages and two folders it moves between.
fs::path MoveHome() {
    fs::path home = FreshHome("velnora-bench-move");
    fs::create_directories(home / "data" / "A.grp");
    fs::create_directories(home / "data" / "B.grp");
    for (int i = 0; i < kPagesMoved; ++i) {
        fs::path page =
            home / "data" / "A.grp" / "Moved.grp" / ("page " + std::to_string(i) + ".dat");
        fs::create_directories(page);
        std::ofstream(page / "site.ini", std::ios::binary)
            << "[CONFIG]\r\nURL=http://example.com/" << i << "\r\nUSE_OLD_LOG=1\r\n";
    }
    return home;
}

// Moves the folder "Moved" from A to B and back, one move per iteration.
void MoveBackAndForth(benchmark::State& state, store::PageTree& tree) {
    store::ItemId a = tree.FirstChild(tree.root());
    store::ItemId b = tree.NextSibling(a);
    store::ItemId moved = tree.FirstChild(a);
    bool to_b = true;
    for (auto _ : state) {
        store::MoveOutcome outcome = store::MoveTreeItem(tree, moved, to_b ? b : a);
        if (outcome.result != store::MoveResult::kMoved) {
            state.SkipWithError("the folder did not move");
            break;
        }
        to_b = !to_b;
    }
    state.counters["pages"] = kPagesMoved;
}

void BM_MoveFolderOfThousandPages(benchmark::State& state) {
    fs::path home = MoveHome();
    store::PageTree tree(home.string() + "/");
    store::PopulateTree(tree);
    MoveBackAndForth(state, tree);
}
BENCHMARK(BM_MoveFolderOfThousandPages)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_MoveFolderOfThousandPagesInTheView(benchmark::State& state) {
    fs::path home = MoveHome();
    store::PageTree tree(home.string() + "/");
    store::PopulateTree(tree);
    window::PageTreeView view(tree);
    view.resize(300, 600);
    view.show();
    view.expandAll();
    QApplication::processEvents();
    MoveBackAndForth(state, tree);
}
BENCHMARK(BM_MoveFolderOfThousandPagesInTheView)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
