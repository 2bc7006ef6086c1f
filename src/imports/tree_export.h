#pragma once

// The page tree written out for other programs: as a bookmark export (the format browsers read
// and write) or as an OPML outline, both UTF-8. Folders become folders, pages links to their
// addresses, in the tree's order; what an import of the file makes again is the same tree.

#include <string>

#include "store/page_tree.h"

namespace velnora::imports {

enum class ExportFormat {
    kBookmarkHtml,
    kOpml,
};

// The format a file name asks for: OPML for a ".opml" name, a bookmark export otherwise.
ExportFormat ExportFormatFor(std::string_view file_name);

// The item and everything below it: a folder's or the root's content under its name, a page
// alone. Pages' addresses are read from their site.ini.
std::string ExportTree(const store::PageTree& tree, store::ItemId item, ExportFormat format);

}  // namespace velnora::imports
