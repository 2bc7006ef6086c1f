#include "fetch/check_run.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "fetch/messages.h"
#include "fetch/reload.h"
#include "files/file_system.h"
#include "processing/file_failure.h"
#include "store/page_files.h"
#include "store/result_file.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"

namespace velnora::fetch {

namespace {

// Closing is put off at most this many times while a page is being processed.
constexpr int kMaxCloseAttempts = 100;
// Connections kept open once a check is under way; a background check never opens more, so
// that a check the user starts finds sessions free.
constexpr int kOpenConnections = 4;

// Hands the worker's texts to the loop's thread, in order.
class WorkerObserver : public processing::PipelineObserver {
  public:
    WorkerObserver(EventLoop& loop, CheckObserver& observer, std::weak_ptr<CheckRun*> alive,
                   store::ItemRecord page)
        : loop_(loop), observer_(observer), alive_(std::move(alive)), page_(std::move(page)) {}

    void SetStatusText(std::string_view text) override {
        loop_.Post([alive = alive_, &observer = observer_, text = std::string(text)] {
            if (!alive.expired()) {
                observer.SetStatusText(text);
            }
        });
    }

    void ErrorLine(std::string_view message) override {
        loop_.Post(
            [alive = alive_, &observer = observer_, page = page_, message = std::string(message)] {
                if (!alive.expired()) {
                    observer.ErrorLine(page, message);
                }
            });
    }

    void StatusLine(std::string_view text) override {
        loop_.Post([alive = alive_, &observer = observer_, page = page_, text = std::string(text)] {
            if (!alive.expired()) {
                observer.StatusLine(page, text);
            }
        });
    }

  private:
    EventLoop& loop_;
    CheckObserver& observer_;
    std::weak_ptr<CheckRun*> alive_;
    store::ItemRecord page_;
};

// Replaces html.txt by the response just processed, in one step: the old one is there until the
// new one takes its place. A response that cannot take it (html.txt is a link or a directory)
// is dropped; the old html.txt then stays.
void KeepResponse(const std::string& directory) {
    auto received = store::PagePath(directory, store::kReceivingFile);
    auto kept = store::PagePath(directory, store::kResponseFile);
    if (received && kept && !files::ReplaceFile(*received, *kept)) {
        DropResponse(directory);
    }
}

// Records the page's result code; a result.ini that cannot be written is an error line for the
// page.
void RecordResult(CheckObserver& observer, const store::ItemRecord& page, int code) {
    std::string error;
    if (store::WriteResultCode(page.node.path, code, &error) != 0) {
        observer.ErrorLine(page, processing::FileFailureMessage(processing::FileFailure{
                                     processing::FileFailure::Kind::kWrite,
                                     std::string(store::kResultIni), error}));
    }
}

}  // namespace

CheckRun::CheckRun(store::PageTree& tree, Transport& transport, EventLoop& loop,
                   CheckObserver& observer, TrafficStats& stats)
    : tree_(tree),
      loop_(loop),
      observer_(observer),
      stats_(stats),
      fetcher_(transport, observer, stats,
               Fetcher::Hooks{
                   [this](FetchSession& session) { OnFetched(session); },
                   [this] { RequestRefill(); },
                   [this](BusyState state) { busy_state_ = state; },
                   [this] {
                       if (!loop_.TicksRunning()) {
                           loop_.StartTicks([this] { OnTick(); });
                       }
                   },
               }),
      walk_(tree),
      self_(std::make_shared<CheckRun*>(this)) {}

CheckRun::~CheckRun() {
    closing_ = true;
    self_.reset();
    if (worker_.joinable()) {
        worker_.join();
    }
    loop_.StopTicks();
}

bool CheckRun::AllIdle() const {
    const auto& sessions = fetcher_.sessions();
    return std::all_of(sessions.begin(), sessions.end(),
                       [](const FetchSession& session) { return session.Free(); });
}

bool CheckRun::StartPage(FetchSession& session) {
    session.BeginPage();
    // The time the page's check begins counts for its schedule, whatever comes of it. A
    // result.ini that cannot take it leaves the page due; the check's own writes to the page's
    // files then tell what is wrong.
    (void)store::WriteLastCheck(session.page.node.path, clock_->Now());
    if (fetcher_.StartFetch(session)) {
        // A single-page check leaves its session free while it fetches, as it always has.
        if (!single_page_) {
            session.Enter(SessionPhase::kFetching);
        }
        return true;
    }
    // The check goes on with the next page; whether it has ended is for the caller to see.
    fetcher_.CloseFetch(session);
    fetcher_.RecordError(session);
    return false;
}

bool CheckRun::InFlight(store::ItemId page) const {
    for (const FetchSession& session : fetcher_.sessions()) {
        if (session.page.node.item == page && !session.Free()) {
            return true;
        }
    }
    return false;
}

bool CheckRun::StartNextPage(FetchSession& session) {
    // A page that fails to start takes no start: the next page of the walk is tried instead.
    for (;;) {
        if (!walk_.Next(session.page)) {
            return false;
        }
        // A page still carried by a session of the check this one took over from is finished
        // there (its result shows in this check), never fetched twice at once.
        if (InFlight(session.page.node.item)) {
            continue;
        }
        if (StartPage(session)) {
            return true;
        }
    }
}

bool CheckRun::Begin(store::ItemId selected, const CheckSettings& settings, bool background) {
    store::ItemRecord root;
    if (tree_.BuildTreeNode(selected, root.node) != 0) {
        return false;
    }
    if (!running()) {
        stats_.BeginCheckStatistics();
        queue_counter_ = 0;
    }
    settings_ = settings;
    fetcher_.Configure(settings);
    abort_ = false;
    updated_pages_ = 0;
    finishing_ = false;
    background_ = background;
    walk_.SetFilter({});
    single_page_ = root.node.kind == store::KIND_PAGE;
    single_item_ = single_page_ ? root.node.item : 0;
    if (single_page_) {
        // A single page is checked whatever its automatic-check flag says.
        store::ReadPageSettings(root.node.path, root.settings, &root.settings_error);
        walk_.Only(std::move(root));
    } else {
        walk_.Begin(selected);
    }
    return true;
}

bool CheckRun::StartPages() {
    bool tried = false;
    bool started = false;
    auto first_start = [&] {
        // The user's check clears the pane (unless it is of one page) and locks the commands
        // once its first page is under way.
        if (!started && !background_) {
            if (!single_page_) {
                observer_.ClearPane();
            }
            observer_.LockCommands(false);
        }
        started = true;
    };
    int opened = 0;
    for (FetchSession& session : fetcher_.sessions()) {
        if (background_ && opened >= kOpenConnections) {
            break;
        }
        if (!session.Free()) {
            continue;
        }
        tried = true;
        if (!StartNextPage(session)) {
            break;
        }
        ++opened;
        first_start();
    }
    if (!tried) {
        // Every session still carries a page of the check this one took over from: the walk
        // waits for the first that is free.
        first_start();
    }
    return started;
}

void CheckRun::StartCheck(store::ItemId selected, const CheckSettings& settings) {
    if (running() && !background_) {
        return;
    }
    bool taking_over = running();
    if (!Begin(selected, settings, false)) {
        return;
    }
    observer_.ClearUpdated(selected);
    if (!StartPages()) {
        if (taking_over) {
            // Nothing of the user's check could start: what remains of the background check
            // ends as it would have.
            background_ = true;
        }
        StopIfIdle();
    }
}

void CheckRun::StartBackgroundCheck(store::ItemId below, const CheckSettings& settings,
                                    std::function<bool(store::ItemId)> due) {
    if (running() || !Begin(below, settings, true)) {
        return;
    }
    walk_.SetFilter(std::move(due));
    if (!StartPages()) {
        StopIfIdle();
    }
}

void CheckRun::StopBackgroundCheck() {
    if (background()) {
        walk_.End();
        FinishIfIdle();
    }
}

void CheckRun::OnFetched(FetchSession& session) {
    // Posted, as the notice of a complete response is: the session's events are over first.
    int index = session.index;
    loop_.Post([alive = std::weak_ptr<CheckRun*>(self_), index] {
        if (auto self = alive.lock()) {
            CheckRun& run = **self;
            FetchSession& fetched = run.fetcher_.sessions()[index];
            if (fetched.phase() != SessionPhase::kFetched) {
                return;
            }
            if (run.worker_state_ != WorkerState::kIdle) {
                fetched.Enter(SessionPhase::kQueued);
                fetched.queue_number = run.queue_counter_++;
            } else {
                run.StartWorker(fetched);
            }
            run.FinishIfIdle();
        }
    });
}

bool CheckRun::StartThread(std::function<void()> body) {
    try {
        worker_ = std::thread(std::move(body));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void CheckRun::StartWorker(FetchSession& session) {
    if (worker_.joinable()) {
        worker_.join();
    }
    busy_state_ = BusyState::kProcessing;
    current_page_ = session.page;
    processing_session_ = session.index;
    bool was_queued = session.phase() == SessionPhase::kQueued;
    session.Enter(SessionPhase::kProcessing);
    worker_state_ = WorkerState::kRunning;
    processing::PageCheckInput input;
    input.page_directory = current_page_.node.path;
    input.settings = current_page_.settings;
    if (session.trail.redirected()) {
        // The page's links are relative to the address the response came from.
        input.settings.url = session.trail.address();
    }
    input.n_reload = settings_.n_reload;
    input.ignore_image_name = settings_.ignore_image_name;
    auto alive = std::weak_ptr<CheckRun*>(self_);
    auto observer = std::make_shared<WorkerObserver>(loop_, observer_, alive, current_page_);
    bool started = StartThread([this, input = std::move(input), observer, alive] {
        processing::CheckOutcome outcome = processing::RunPageCheck(input, *observer, closing_);
        loop_.Post([alive, outcome] {
            if (auto self = alive.lock()) {
                (*self)->OnWorkerDone(outcome);
            }
        });
    });
    if (!started) {
        // The page waits in the queue (keeping its place) and a later tick tries again.
        worker_state_ = WorkerState::kIdle;
        session.Enter(SessionPhase::kQueued);
        if (!was_queued) {
            session.queue_number = queue_counter_++;
        }
    }
}

void CheckRun::OnWorkerDone(processing::CheckOutcome outcome) {
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_state_ = WorkerState::kDone;
    if (outcome == processing::CheckOutcome::Updated) {
        ++updated_pages_;
    }
    store::ItemRecord finished = current_page_;
    int finished_session = processing_session_;
    // The session keeps its trail: it stays with this page until the result is handled.
    const RedirectTrail& finished_trail = fetcher_.sessions()[finished_session].trail;
    worker_state_ = WorkerState::kIdle;
    // The next page is processed while this one's result is recorded and shown: the result
    // touches only this page's files and the pane.
    if (!closing_) {
        StartNextQueued();
    }
    HandleResult(outcome, finished, finished_trail);
    FetchSession& session = fetcher_.sessions()[finished_session];
    session.Enter(SessionPhase::kIdle);
    if (outcome == processing::CheckOutcome::CutShort) {
        RetryCutResponse(session);
    }
    if (closing_) {
        if (retry_close_) {
            auto retry = std::move(retry_close_);
            retry_close_ = nullptr;
            retry();
        }
        return;
    }
    // The processed page's session is free again: give it the next page at once.
    if (!abort_ && running()) {
        Refill();
    }
    FinishIfIdle();
}

void CheckRun::HandleResult(processing::CheckOutcome outcome, store::ItemRecord& page,
                            const RedirectTrail& trail) {
    const std::string& directory = page.node.path;
    observer_.PageOutcome(page, outcome);
    switch (outcome) {
        case processing::CheckOutcome::Updated:
            if (single_page_ && page.node.item == single_item_) {
                observer_.ClearPane();
                observer_.ShowResultsAfterCheck(page, 3);
            } else {
                observer_.ShowResultsAfterCheck(page, 1);
            }
            RecordResult(observer_, page, store::RESULT_UPDATED);
            observer_.MarkUpdated(page.node.item);
            KeepResponse(directory);
            break;
        case processing::CheckOutcome::FirstCheck:
            observer_.StatusLine(page, messages::kInitialized);
            RecordResult(observer_, page, store::RESULT_NO_CHANGE);
            KeepResponse(directory);
            break;
        case processing::CheckOutcome::HttpError:
        case processing::CheckOutcome::FileError:
            // The server answered with an error, or the page's files could not be written (the
            // error line is shown): the old html.txt stays, so the next check fetches the page
            // whole again.
            RecordResult(observer_, page, store::RESULT_ERROR);
            DropResponse(directory);
            break;
        case processing::CheckOutcome::CutShort:
            // Fetched again (or given up, keeping the previous result), never filed.
            DropResponse(directory);
            break;
        case processing::CheckOutcome::NotModified:
            if (settings_.nochange_msg != 0) {
                observer_.StatusLine(page, messages::kNotModified);
            }
            RecordResult(observer_, page, store::RESULT_NOT_MODIFIED);
            DropResponse(directory);
            break;
        case processing::CheckOutcome::NoChange:
        default:
            if (outcome == processing::CheckOutcome::NoChange && settings_.nochange_msg != 0) {
                observer_.StatusLine(page, messages::kNoChange);
            }
            RecordResult(observer_, page, store::RESULT_NO_CHANGE);
            KeepResponse(directory);
            break;
    }
    if (outcome != processing::CheckOutcome::CutShort) {
        if (trail.redirected()) {
            observer_.StatusLine(page, std::string(messages::kRedirectedTo) + trail.address());
        }
        // A URL that moved for good is offered to the user on the page sheet, never changed
        // here.
        (void)store::WriteMovedUrl(directory, trail.moved_to);  // an offer, nothing lost
    }
    observer_.PageDone(page);
}

void CheckRun::RetryCutResponse(FetchSession& session) {
    if (abort_ || closing_ || !fetcher_.RetryFetch(session)) {
        observer_.ErrorLine(session.page, messages::kTruncated);
        session.error = true;
    }
}

void CheckRun::StartNextQueued() {
    if (worker_state_ != WorkerState::kIdle) {
        return;
    }
    FetchSession* next = nullptr;
    for (FetchSession& session : fetcher_.sessions()) {
        if (session.phase() == SessionPhase::kQueued &&
            (next == nullptr || session.queue_number < next->queue_number)) {
            next = &session;
        }
    }
    if (next != nullptr) {
        StartWorker(*next);
    }
}

void CheckRun::OnTick() {
    if (in_tick_) {
        return;  // a tick that comes while a modal notice of an earlier one is open
    }
    in_tick_ = true;
    StartNextQueued();
    if (abort_) {
        DoAbort();
    } else if (running()) {
        fetcher_.CheckTimeouts();
        Refill();
    }
    FinishIfIdle();
    if (closing_ && retry_close_) {
        auto retry = std::move(retry_close_);
        retry_close_ = nullptr;
        retry();
    }
    in_tick_ = false;
}

void CheckRun::RequestRefill() {
    if (refill_posted_) {
        return;
    }
    refill_posted_ = true;
    loop_.Post([alive = std::weak_ptr<CheckRun*>(self_)] {
        if (auto self = alive.lock()) {
            CheckRun& run = **self;
            run.refill_posted_ = false;
            if (!run.abort_ && run.running()) {
                run.Refill();
            }
            run.FinishIfIdle();
        }
    });
}

void CheckRun::Refill() {
    if (abort_ || closing_) {
        return;
    }
    auto& sessions = fetcher_.sessions();
    int open = 0;
    for (const FetchSession& session : sessions) {
        if (session.connection() != ConnectionState::kIdle) {
            ++open;
        }
    }
    for (FetchSession& session : sessions) {
        if (open >= kOpenConnections) {
            return;
        }
        if (!session.Free()) {
            continue;
        }
        if (!StartNextPage(session)) {
            return;
        }
        ++open;
    }
}

void CheckRun::AbortCheck() {
    if (!running()) {
        return;
    }
    abort_ = true;
    DoAbort();
    FinishIfIdle();
}

void CheckRun::DoAbort() {
    for (FetchSession& session : fetcher_.sessions()) {
        if (session.connection() != ConnectionState::kIdle) {
            session.error = true;
            fetcher_.CloseFetch(session);
            observer_.StatusLine(session.page, messages::kCommunicationAborted);
        }
    }
    for (FetchSession& session : fetcher_.sessions()) {
        if (session.phase() == SessionPhase::kQueued) {
            session.Enter(SessionPhase::kIdle);
            observer_.StatusLine(session.page, messages::kProcessingAborted);
        }
    }
}

void CheckRun::FinishIfIdle() {
    if (running() && !finishing_ && worker_state_ == WorkerState::kIdle && AllIdle()) {
        FinishCheck();
    }
}

void CheckRun::FinishCheck() {
    finishing_ = true;
    bool was_in_tick = in_tick_;
    in_tick_ = true;  // the notice may be modal: no tick of this check runs inside it
    std::string text = updated_pages_ > 0 ? std::to_string(updated_pages_) +
                                                std::string(messages::kUpdatesFoundSuffix)
                                          : std::string(messages::kNoUpdates);
    observer_.SetStatusText(text);
    observer_.CheckFinished(CheckSummary{background_, updated_pages_});
    // A background check is heard only when it found something, and never stops the user with
    // a notice (the desktop notification takes its place).
    if (settings_.use_notify_sound != 0 && !settings_.notify_sound.empty() &&
        (!background_ || updated_pages_ > 0)) {
        observer_.PlaySound(settings_.notify_sound);
    }
    if (settings_.finish_message != 0 && !background_) {
        observer_.ShowFinishMessage(text);
    }
    stats_.EndCheckStatistics();
    if (!background_) {
        observer_.LockCommands(true);
    }
    StopIfIdle();
    in_tick_ = was_in_tick;
    finishing_ = false;
}

void CheckRun::StopIfIdle() {
    if (AllIdle() && worker_state_ == WorkerState::kIdle) {
        loop_.StopTicks();
        bool was_running = running();
        busy_state_ = BusyState::kIdle;
        if (was_running && stopped_) {
            stopped_();
        }
    }
}

void CheckRun::Reload(store::ItemId selected, bool all, const CheckSettings& settings) {
    if (running()) {
        return;
    }
    ShowStoredResults(tree_, selected, all, settings.n_reload, observer_);
}

void CheckRun::ShowWholeText(store::ItemId selected) {
    if (running() && !background_) {
        return;
    }
    store::ItemRecord page;
    if (tree_.BuildTreeNode(selected, page.node) != 0 || page.node.kind != store::KIND_PAGE) {
        return;
    }
    store::ReadPageSettings(page.node.path, page.settings);
    observer_.LockCommands(false);
    observer_.ClearPane();
    observer_.ShowCurrentText(page);
    observer_.CaretToStart();
    observer_.LockCommands(true);
}

bool CheckRun::RequestClose(std::function<void()> retry_close) {
    closing_ = true;
    if (worker_state_ == WorkerState::kIdle) {
        return true;
    }
    if (++close_attempts_ >= kMaxCloseAttempts) {
        return true;
    }
    busy_state_ = BusyState::kClosingPutOff;
    retry_close_ = std::move(retry_close);
    return false;
}

}  // namespace velnora::fetch
