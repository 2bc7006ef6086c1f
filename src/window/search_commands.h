#pragma once

// The search menu's commands: find and find next in the result pane, and the past-log search,
// which runs on a worker thread while the window's commands are locked and stays responsive.

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "store/page_tree.h"
#include "window/window_services.h"

namespace velnora::pane {
class ResultPane;
}

namespace velnora::window {

class PastLogSearchDialog;

class SearchCommands {
  public:
    // The services, pane and tree must outlive the commands; `selected` gives the tree's
    // selected item.
    SearchCommands(WindowServices& services, pane::ResultPane& pane, const store::PageTree& tree,
                   std::function<store::ItemId()> selected);
    // Stops a running search first.
    ~SearchCommands();

    // "検索": the find dialog.
    void Find();
    // "次を検索": on from the selection with the kept text, wrapping once to the top; the find
    // dialog when no text is kept.
    void FindNext();
    // "過去ログ検索": the past-log search dialog.
    void PastLogSearch();

    // Stops a running past-log search, waits for its thread and closes its dialog (the window
    // is closing).
    void Shutdown();
    bool searching() const { return worker_.joinable(); }

    const std::string& find_text() const { return find_text_; }

  private:
    // Selects the first occurrence of the find string at or after the position; false when
    // there is none (or the string is empty).
    bool FindFrom(std::size_t position);
    std::size_t NextPosition() const;
    bool StartSearch(std::string text);
    void SearchFinished(std::size_t hits);

    WindowServices& services_;
    pane::ResultPane& pane_;
    const store::PageTree& tree_;
    std::function<store::ItemId()> selected_;

    // Kept for the life of the program, Shift_JIS.
    std::string find_text_;
    std::string past_log_text_;

    // Receives what the worker thread posts to the user-interface thread.
    QObject receiver_;
    PastLogSearchDialog* dialog_ = nullptr;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};

}  // namespace velnora::window
