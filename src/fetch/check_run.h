#pragma once

// CheckRun: a check of one page, a folder or the whole tree. It walks the tree, hands pages to
// the eight fetch sessions (at most four connections open once the check is under way), queues
// complete responses for the processing worker (one page at a time, in the order the responses
// completed, on a thread of its own), acts on each page's outcome and ends with the completion
// notice. It also carries abort, closing while a check runs, reload and "確認".
//
// Everything but the worker runs on the event loop's thread. The worker's results come back as
// posted tasks and are handled at once; the 250 ms tick counts time-outs and is a fallback, it
// does not pace the work.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "fetch/check_observer.h"
#include "fetch/check_settings.h"
#include "fetch/event_loop.h"
#include "fetch/fetch_session.h"
#include "fetch/page_walk.h"
#include "fetch/schedule.h"
#include "fetch/traffic_stats.h"
#include "fetch/transport.h"
#include "processing/page_check.h"
#include "store/page_tree.h"

namespace velnora::fetch {

class CheckRun {
  public:
    CheckRun(store::PageTree& tree, Transport& transport, EventLoop& loop, CheckObserver& observer,
             TrafficStats& stats);
    virtual ~CheckRun();
    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    // "チェック開始": checks the selected item (a page alone, or every page below a folder). While
    // a background check runs, it stops that one's walk and starts at once on the sessions that
    // are free (the others finish their pages first, whose results show in this check).
    void StartCheck(store::ItemId selected, const CheckSettings& settings);
    // A check in the background of the pages below the item that `due` lets through: it locks
    // no command, clears neither the pane nor any unread mark, gives no completion notice and
    // plays the sound only when it found updates. Nothing happens while another check runs.
    void StartBackgroundCheck(store::ItemId below, const CheckSettings& settings,
                              std::function<bool(store::ItemId)> due);
    // The background check takes no further page; the pages in flight are finished.
    void StopBackgroundCheck();
    // "中止".
    void AbortCheck();
    // "リロード" (all false) and "全てリロード" (all true): stored results, no fetch.
    void Reload(store::ItemId selected, bool all, const CheckSettings& settings);
    // "確認": the current text of a page; refused while a check runs.
    void ShowWholeText(store::ItemId selected);

    // The window is being closed. True when it may close now; false when closing is put off
    // because a page is being processed: then retry_close is called when it may be tried again.
    bool RequestClose(std::function<void()> retry_close);

    // Called each time a check has stopped running (after its completion notice, or at once
    // when it could start no page).
    void OnStopped(std::function<void()> stopped) { stopped_ = std::move(stopped); }
    // Every change of a fetch session's phase or connection state is reported to the trace.
    void SetSessionTrace(SessionTrace trace) { fetcher_.SetTrace(std::move(trace)); }

    // The time each page's check begins is taken from the clock (the system's by default).
    void SetClock(const Clock& clock) { clock_ = &clock; }

    BusyState busy_state() const { return busy_state_; }
    bool running() const { return busy_state_ != BusyState::kIdle; }
    // A background check is running.
    bool background() const { return running() && background_; }
    int updated_pages() const { return updated_pages_; }
    const std::atomic<bool>& closing_flag() const { return closing_; }

  protected:
    // Starts the processing worker's thread; false when the system cannot start one.
    virtual bool StartThread(std::function<void()> body);

  private:
    // The processing worker.
    enum class WorkerState : int {
        kIdle = 0,     // no page is being processed
        kRunning = 1,  // a page is being processed on the worker's thread
        kDone = 3,     // the page has been processed; its outcome is being handled
    };

    void OnTick();
    void OnFetched(FetchSession& session);
    void StartWorker(FetchSession& session);
    void OnWorkerDone(processing::CheckOutcome outcome);
    void HandleResult(processing::CheckOutcome outcome, store::ItemRecord& page,
                      const RedirectTrail& trail);
    // Starts pages of the walk on the free sessions; true when one started (or when none was
    // free to try, so that the walk waits for one).
    bool StartPages();
    // A check (the user's or a background one) begins; false when the selected item is gone.
    bool Begin(store::ItemId selected, const CheckSettings& settings, bool background);
    // A response that came cut short is fetched again, as a failed receive is.
    void RetryCutResponse(FetchSession& session);
    void StartNextQueued();
    void Refill();
    void RequestRefill();
    void DoAbort();
    void FinishIfIdle();
    void FinishCheck();
    void StopIfIdle();
    bool AllIdle() const;
    bool StartPage(FetchSession& session);
    // Gives the session the next page of the walk; false when the walk is over.
    bool StartNextPage(FetchSession& session);
    // Whether another session carries the page now.
    bool InFlight(store::ItemId page) const;

    store::PageTree& tree_;
    EventLoop& loop_;
    CheckObserver& observer_;
    TrafficStats& stats_;
    Fetcher fetcher_;
    CheckSettings settings_;
    PageWalk walk_;

    bool single_page_ = false;
    store::ItemId single_item_ = 0;
    bool background_ = false;
    const Clock* clock_ = &SystemClock();
    int queue_counter_ = 0;
    int updated_pages_ = 0;
    bool abort_ = false;
    std::atomic<bool> closing_{false};
    int close_attempts_ = 0;
    std::function<void()> retry_close_;
    BusyState busy_state_ = BusyState::kIdle;
    std::function<void()> stopped_;
    bool in_tick_ = false;
    bool finishing_ = false;
    bool refill_posted_ = false;

    WorkerState worker_state_ = WorkerState::kIdle;
    store::ItemRecord current_page_;
    int processing_session_ = 0;  // the session whose page is with the worker
    std::thread worker_;
    // Tasks posted to the loop hold this weakly, so that none runs after the run is gone.
    std::shared_ptr<CheckRun*> self_;
};

}  // namespace velnora::fetch
