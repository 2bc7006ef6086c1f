#include "window/search_commands.h"

#include <memory>

#include "pane/result_pane.h"
#include "results/text_find.h"
#include "search/hit_display.h"
#include "search/past_log_search.h"
#include "search/texts.h"
#include "text/shift_jis.h"
#include "window/search_dialogs.h"

namespace velnora::window {

namespace {

// The dialogs keep at most this much of what was typed.
std::string Kept(std::string text) {
    text.resize(text::CharacterBoundary(text, search::kMaxSearchTextBytes));
    return text;
}

// Hands what the search finds to the user-interface thread, in order. The tasks it posts refer
// to the window, never to the observer, which ends with the worker.
class PostingObserver : public search::SearchObserver {
  public:
    PostingObserver(QObject* receiver, WindowServices& services, pane::ResultPane& pane)
        : receiver_(receiver), services_(services), pane_(pane) {}

    void SearchingPage(const store::ItemRecord& page) override {
        std::string status = search::SearchingText(page.node.name);
        Post([&services = services_, status] { services.SetStatusText(status); });
    }

    void PageHits(const store::ItemRecord& page, std::vector<std::string> lines) override {
        auto hits = std::make_shared<std::vector<std::string>>(std::move(lines));
        Post([&services = services_, &pane = pane_, page, hits] {
            search::ShowPageHits(services.display(), page, *hits);
            pane.MoveCaretToStart();
        });
    }

  private:
    template <typename Task>
    void Post(Task task) {
        QMetaObject::invokeMethod(receiver_, std::move(task), Qt::QueuedConnection);
    }

    QObject* receiver_;
    WindowServices& services_;
    pane::ResultPane& pane_;
};

}  // namespace

SearchCommands::SearchCommands(WindowServices& services, pane::ResultPane& pane,
                               const store::PageTree& tree, std::function<store::ItemId()> selected)
    : services_(services), pane_(pane), tree_(tree), selected_(std::move(selected)) {}

SearchCommands::~SearchCommands() {
    Shutdown();
}

// --- Find in the pane ---

bool SearchCommands::FindFrom(std::size_t position) {
    auto found = results::FindNoCase(pane_.result_document(), position, find_text_);
    if (!found) {
        return false;
    }
    pane_.Select(found->start, found->end);
    return true;
}

std::size_t SearchCommands::NextPosition() const {
    return pane_.SelectionIsEmpty() ? 0 : pane_.SelectionStart() + 1;
}

void SearchCommands::Find() {
    FindDialog dialog(
        services_.window(), find_text_,
        [this](std::string text) {
            find_text_ = Kept(std::move(text));
            return FindFrom(0);
        },
        [this] { return FindFrom(NextPosition()); });
    if (dialog.exec() == QDialog::Accepted) {
        pane_.setFocus(Qt::OtherFocusReason);
    }
}

void SearchCommands::FindNext() {
    if (find_text_.empty()) {
        Find();
        return;
    }
    if (FindFrom(NextPosition()) || FindFrom(0)) {
        pane_.setFocus(Qt::OtherFocusReason);
    }
}

// --- Past-log search ---

void SearchCommands::PastLogSearch() {
    services_.SetStatusText({});
    PastLogSearchDialog dialog(
        services_.window(), past_log_text_,
        [this](std::string text) { return StartSearch(std::move(text)); },
        [this] { cancel_ = true; });
    dialog_ = &dialog;
    dialog.exec();
    dialog_ = nullptr;
}

bool SearchCommands::StartSearch(std::string text) {
    past_log_text_ = Kept(std::move(text));
    if (past_log_text_.empty() || searching()) {
        return false;
    }
    services_.LockCommands(false);
    services_.ClearPane();
    // The worker walks its own copy of the tree: the window's may change under it.
    auto tree = std::make_shared<store::PageTree>(tree_);
    tree->SetListener(nullptr);
    store::ItemId item = selected_();
    cancel_ = false;
    worker_ = std::thread([this, tree, item, text = past_log_text_] {
        PostingObserver observer(&receiver_, services_, pane_);
        std::size_t hits = search::SearchPastLogs(*tree, item, text, cancel_, observer);
        QMetaObject::invokeMethod(
            &receiver_, [this, hits] { SearchFinished(hits); }, Qt::QueuedConnection);
    });
    return true;
}

void SearchCommands::SearchFinished(std::size_t hits) {
    if (!worker_.joinable()) {
        return;  // shut down already
    }
    worker_.join();
    if (hits == 0) {
        search::ShowNotFound(services_.display().document(), past_log_text_);
    }
    pane_.MoveCaretToStart();
    services_.SetStatusText(search::kSearchDone);
    services_.LockCommands(true);
    if (dialog_ != nullptr) {
        dialog_->SearchEnded();
    }
}

void SearchCommands::Shutdown() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    if (dialog_ != nullptr) {
        dialog_->done(QDialog::Rejected);
    }
}

}  // namespace velnora::window
