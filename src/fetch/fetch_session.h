#pragma once

// One page's fetch: an address lookup, a connection (through the proxy, a CONNECT tunnel and
// TLS where the page needs them), the request, and the response written raw into the page's
// htmltmp.txt. Eight sessions serve a check; the Fetcher drives their network side, event by
// event and tick by tick, and tells its owner when a response is complete.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "fetch/check_observer.h"
#include "fetch/check_settings.h"
#include "fetch/event_loop.h"
#include "fetch/redirect.h"
#include "fetch/request.h"
#include "fetch/traffic_stats.h"
#include "fetch/transport.h"
#include "fetch/url_split.h"
#include "files/binary_file.h"
#include "store/records.h"

namespace velnora::fetch {

inline constexpr int kSessionCount = 8;
// A response larger than this is stopped: a server cannot fill the disk.
inline constexpr std::uint64_t kMaxResponseBytes = std::uint64_t{50} << 20;
inline constexpr std::size_t kReceiveBlock = 65536;
// A proxy's answer to CONNECT, at most.
inline constexpr std::size_t kMaxTunnelReply = 16384;

// The scheduler's view of a session.
enum class SessionPhase : int {
    kIdle = 0,        // free
    kFetching = 1,    // its page is being fetched
    kFetched = 2,     // the response is complete; the owner has been told
    kProcessing = 3,  // its page is with the processing worker
    kQueued = 4,      // waiting for the worker, by queue number
};
inline constexpr std::array<std::string_view, 5> kSessionPhaseNames = {
    "free", "fetching", "fetched", "processing", "queued"};
static_assert(kSessionPhaseNames.size() == static_cast<std::size_t>(SessionPhase::kQueued) + 1);

// Where the session's connection stands.
enum class ConnectionState : int {
    kIdle = 0,         // no lookup, no socket
    kResolving = 1,    // the host name is being looked up
    kConnecting = 2,   // TCP connection under way
    kTunnelling = 3,   // CONNECT sent to the proxy, waiting for its answer
    kHandshaking = 4,  // TLS handshake under way
    kReceiving = 5,    // the request is sent; the response arrives
};
inline constexpr std::array<std::string_view, 6> kConnectionStateNames = {
    "idle", "resolving", "connecting", "tunnelling", "handshaking", "receiving"};
static_assert(kConnectionStateNames.size() ==
              static_cast<std::size_t>(ConnectionState::kReceiving) + 1);

// Receives one line for every change of a session's phase or connection state, such as
// "session 3 connection: connecting -> receiving".
using SessionTrace = std::function<void(std::string_view line)>;

class FetchSession {
  public:
    int index = 0;
    SocketId socket = 0;
    LookupId lookup = 0;
    bool error = false;
    store::ItemRecord page;
    UrlParts url;
    bool via_proxy = false;
    LastModified last_modified;
    // The redirects followed for the page: what is fetched now is trail.address().
    RedirectTrail trail;
    int ticks = 0;
    files::OutputFile response;
    std::uint64_t received = 0;
    std::string tunnel_reply;
    int queue_number = 0;
    int retry_count = 0;
    // Where changes are traced; none when null.
    const SessionTrace* trace = nullptr;

    // The page starts afresh at its own URL (no redirect followed yet, no retry).
    void BeginPage() {
        trail.Begin(page.settings.url);
        retry_count = 0;
    }

    SessionPhase phase() const { return phase_; }
    ConnectionState connection() const { return connection_; }
    // Neither a page nor a connection is with the session: it can take the next page.
    bool Free() const {
        return phase_ == SessionPhase::kIdle && connection_ == ConnectionState::kIdle;
    }
    // Every change of either goes through Enter.
    void Enter(SessionPhase next);
    void Enter(ConnectionState next);

  private:
    void Trace(std::string_view what, std::string_view from, std::string_view to) const;

    SessionPhase phase_ = SessionPhase::kIdle;
    ConnectionState connection_ = ConnectionState::kIdle;
};

// What a check is doing; outside it only matters whether it is kIdle.
enum class BusyState : int {
    kIdle = 0,           // no check runs
    kFetchStarted = 1,   // a fetch has started
    kFetchClosed = 2,    // a fetch has closed
    kProcessing = 3,     // the worker has been started on a page
    kClosingPutOff = 5,  // closing the window waits for the worker
};

class Fetcher : public TransportListener {
  public:
    struct Hooks {
        // A response is complete (the session's phase is kFetched).
        std::function<void(FetchSession&)> fetched;
        // A session's connection has closed (after a failure, a give-up or a complete fetch).
        std::function<void()> closed;
        // The busy state of the check.
        std::function<void(BusyState)> busy;
        // A fetch has started: the check's tick must run.
        std::function<void()> ensure_ticking;
    };

    Fetcher(Transport& transport, CheckObserver& observer, TrafficStats& stats, Hooks hooks);
    ~Fetcher() override;

    void Configure(const CheckSettings& settings) { settings_ = settings; }
    // Every change of a session's phase or connection state is reported to the trace.
    void SetTrace(SessionTrace trace) { trace_ = std::move(trace); }
    const CheckSettings& settings() const { return settings_; }
    std::array<FetchSession, kSessionCount>& sessions() { return sessions_; }
    const std::array<FetchSession, kSessionCount>& sessions() const { return sessions_; }

    // Starts one attempt for the session's page. On failure an error line has been shown; the
    // caller closes the session and records RESULT_ERROR.
    bool StartFetch(FetchSession& session);
    // Ends the attempt, whatever its state, and leaves the session idle.
    void CloseFetch(FetchSession& session);
    // True when a new attempt is under way, false when the page is given up.
    bool RetryFetch(FetchSession& session);
    // Once per tick while no abort is pending.
    void CheckTimeouts();

    void OnLookupDone(LookupId lookup, int error, std::vector<std::string> addresses) override;
    void OnSocketEvent(SocketId socket, SocketEvent event, SocketError error,
                       std::string_view error_text) override;

    // Records RESULT_ERROR for the session's page.
    void RecordError(const FetchSession& session);

  private:
    // How received bytes were taken into the response file.
    enum class Intake : int {
        kStored = 0,       // written
        kTooLarge = 1,     // the response went over kMaxResponseBytes
        kWriteFailed = 2,  // the file did not take them; write_error says why
    };

    bool OpenConnection(FetchSession& session, const std::vector<std::string>& addresses);
    // Starts the next attempt or hop of the session's page: true when it is under way; false
    // when the page ended with an error.
    bool Restart(FetchSession& session);
    // A complete response that redirects (when redirects are followed): true when it was taken
    // care of (the next hop started, or the page ended with an error line); false when it is
    // the page's response.
    bool FollowRedirect(FetchSession& session);
    void Fail(FetchSession& session, std::string_view message);
    void SendRequest(FetchSession& session);
    void ReceiveResponse(FetchSession& session);
    void ReceiveTunnelReply(FetchSession& session);
    void OnClosed(FetchSession& session);
    Intake Take(FetchSession& session, std::string_view bytes);
    // What the server sent before its close still belongs to the response: it goes to the file,
    // not counted as traffic.
    Intake Drain(FetchSession& session);
    // Ends the fetch after bytes could not be taken: the error line, and the cut response file
    // is removed so that nothing processes it.
    void StopIntake(FetchSession& session, Intake intake);
    FetchSession* BySocket(SocketId socket);

    Transport& transport_;
    CheckObserver& observer_;
    TrafficStats& stats_;
    Hooks hooks_;
    CheckSettings settings_;
    SessionTrace trace_;
    std::string write_error_;
    std::array<FetchSession, kSessionCount> sessions_;
};

// Removes the page's received response (htmltmp.txt) so that nothing processes it.
void DropResponse(const std::string& page_directory);

}  // namespace velnora::fetch
