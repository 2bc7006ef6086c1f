#pragma once

// Filling the page tree with what an import read: a new folder directly under the target
// folder, numbered when its name is taken ("name", "name(1)", ...), holding the entries' folders
// and pages. Each page directory gets a site.ini with its address and USE_OLD_LOG = 1.
//
// Two sets of rules:
//   - the favorites import makes every folder it finds, even an empty one, and a page for every
//     link file, with or without an address, as the favorites command always has;
//   - a bookmark import keeps only what is worth watching and new: http, https and ftp
//     addresses, each once per folder, none whose address already has a page below the target
//     folder; folders are made only for the pages they hold; when nothing is new, no folder is
//     made at all. A page that cannot be written takes back everything the import made.
// Names follow item_names.h; two pages of the same name in a folder become "name" and
// "name(2)", as the tree's own new pages do.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "imports/import_source.h"
#include "store/page_tree.h"

namespace velnora::imports {

enum class ImportRules {
    kFavorites,  // every link file and folder, as found
    kBookmarks,  // new web addresses only
};

// Why an entry made no page.
enum class SkipReason : int {
    kNotWebAddress,  // not http, https or ftp (a bookmarklet, a "place:" query)
    kDuplicate,      // the same address again in the same folder
    kAlreadyThere,   // a page below the target folder has the address already
    kTooLong,        // the address is longer than 2,100 bytes, or no name fits the path
    kNotMade,        // the directory could not be made (favorites: skipped, as always)
};
inline constexpr int kSkipReasons = 5;

enum class ImportFailure {
    kNone,
    kNothingNew,      // nothing to import: no folder was made
    kTargetNotFound,  // the target folder is not in the tree or its path does not fit
    kFolderNotMade,   // the import folder could not be made
    kWriteFailed,     // a folder or page could not be written; nothing stays
};

struct ImportReport {
    ImportFailure failure = ImportFailure::kNone;
    std::string error;        // kFolderNotMade, kWriteFailed: the system's text
    std::string folder_name;  // the import folder's name (Shift_JIS), once made
    std::string folder_path;  // its directory
    int found = 0;            // link entries tried (the import's counter)
    int made = 0;             // pages made
    std::array<int, kSkipReasons> skipped{};

    int Skipped(SkipReason reason) const { return skipped[static_cast<std::size_t>(reason)]; }
    int SkippedTotal() const;
};

struct ImportRequest {
    const store::PageTree* tree = nullptr;
    store::ItemId target = 0;  // the folder (or the root) the import folder goes into
    std::string base_name;     // the import folder's name before numbering, Shift_JIS
    ImportRules rules = ImportRules::kBookmarks;
    // Called with the counter at every tenth entry tried, and with the number of entries.
    std::function<void(int found, int total)> progress;
};

ImportReport RunImport(const ImportRequest& request, const ImportSource& source);

// The name of an import folder made from a file's base name (UTF-8), to fit under the
// directory.
std::string ImportFolderBaseName(std::string_view base_name, std::string_view directory);

}  // namespace velnora::imports
