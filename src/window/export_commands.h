#pragma once

// The result pane as HTML from the window: "ﾛｸﾞをHTML保存", "結果をﾌﾞﾗｳｻﾞで開く", and the link
// history of the links the user opens.

#include <functional>
#include <string>

#include "results/document.h"
#include "results/status_sink.h"
#include "store/page_tree.h"
#include "window/window_services.h"

namespace velnora::window {

class ExportCommands {
  public:
    // Everything given must outlive the commands; `home_directory` ends in a separator and
    // `selected` gives the tree's selected item.
    ExportCommands(WindowServices& services, results::StatusSink& status,
                   const results::ResultDocument& document, const store::PageTree& tree,
                   std::string home_directory, std::function<store::ItemId()> selected);

    // Saves the pane as an HTML file the user chooses; a file that cannot be written is
    // reported.
    void SaveLogAsHtml();
    // Writes the browser file for the selected item and opens it in the browser; when it cannot
    // be written, says so and opens nothing (not an older file left there).
    void OpenResultsInBrowser();
    // Adds a link of the pane to the day's history file when SAVE_HISTORY is set (settings
    // links never). A failure loses the entry only: the link is opened all the same.
    void RecordLink(std::size_t link);

  private:
    void ShowWriteError(const std::string& error);

    WindowServices& services_;
    results::StatusSink& status_;
    const results::ResultDocument& document_;
    const store::PageTree& tree_;
    std::string home_directory_;
    std::function<store::ItemId()> selected_;
};

}  // namespace velnora::window
