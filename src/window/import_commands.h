#pragma once

// The import commands of the file menu: the favorites (a folder of .url link files the user
// picks, since Linux keeps no favorites of its own) and a bookmark collection (a browser's
// bookmark export, an OPML outline or a list of addresses). Each makes a new folder directly
// under the root, reports its progress and end in the status bar, and rebuilds the tree. Both
// write with the program home's write lock held.

#include <functional>

#include "store/page_tree.h"
#include "window/window_services.h"

namespace velnora::window {

class ImportCommands {
  public:
    // rebuild_tree: fills the tree from the data directory again (selecting the root).
    ImportCommands(store::PageTree& tree, WindowServices& services,
                   std::function<void()> rebuild_tree);

    // "IEのお気に入りをインポート(&I)": after confirmation and the choice of the folder.
    void ImportFavorites();
    // "ブックマークをインポート(&M)...": after the choice of the file.
    void ImportBookmarks();

  private:
    store::PageTree& tree_;
    WindowServices& services_;
    std::function<void()> rebuild_tree_;
};

}  // namespace velnora::window
