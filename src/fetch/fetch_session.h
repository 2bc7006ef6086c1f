#pragma once

// One page's fetch: an address lookup, a connection (through the proxy, a CONNECT tunnel and
// TLS where the page needs them), the request, and the response written raw into the page's
// htmltmp.txt. Eight sessions serve a check; the Fetcher drives their network side, event by
// event and tick by tick, and tells its owner when a response is complete.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "fetch/check_observer.h"
#include "fetch/check_settings.h"
#include "fetch/event_loop.h"
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

enum class ConnectionState : int {
    kIdle = 0,       // no lookup, no socket
    kResolving = 1,  // the host name is being looked up
    kOpen = 2,       // a socket exists (see OpenStage)
};

enum class OpenStage : int {
    kConnecting = 0,  // TCP connection under way
    kTunnel = 1,      // CONNECT sent to the proxy, waiting for its answer
    kHandshake = 2,   // TLS handshake under way
    kTransfer = 3,    // the request is sent; the response arrives
};

struct FetchSession {
    int index = 0;
    SocketId socket = 0;
    LookupId lookup = 0;
    bool error = false;
    ConnectionState connection = ConnectionState::kIdle;
    OpenStage stage = OpenStage::kConnecting;
    store::ItemRecord page;
    UrlParts url;
    bool via_proxy = false;
    LastModified last_modified;
    int ticks = 0;
    files::OutputFile response;
    std::uint64_t received = 0;
    std::string tunnel_reply;
    SessionPhase phase = SessionPhase::kIdle;
    int queue_number = 0;
    int retry_count = 0;
};

class Fetcher : public TransportListener {
  public:
    struct Hooks {
        // A response is complete (the session's phase is kFetched).
        std::function<void(FetchSession&)> fetched;
        // A session's connection has closed (after a failure, a give-up or a complete fetch).
        std::function<void()> closed;
        // The busy state of the check (only zero or not matters outside).
        std::function<void(int)> busy;
        // A fetch has started: the check's tick must run.
        std::function<void()> ensure_ticking;
    };

    Fetcher(Transport& transport, CheckObserver& observer, TrafficStats& stats, Hooks hooks);
    ~Fetcher() override;

    void Configure(const CheckSettings& settings) { settings_ = settings; }
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
    bool OpenConnection(FetchSession& session, const std::vector<std::string>& addresses);
    void Fail(FetchSession& session, std::string_view message);
    void SendRequest(FetchSession& session);
    void ReceiveResponse(FetchSession& session);
    void ReceiveTunnelReply(FetchSession& session);
    void OnClosed(FetchSession& session);
    // What the server sent before its close still belongs to the response: it goes to the file,
    // not counted as traffic. False when the response went over kMaxResponseBytes.
    bool Drain(FetchSession& session);
    void StopTooLarge(FetchSession& session);
    FetchSession* BySocket(SocketId socket);

    Transport& transport_;
    CheckObserver& observer_;
    TrafficStats& stats_;
    Hooks hooks_;
    CheckSettings settings_;
    std::array<FetchSession, kSessionCount> sessions_;
};

}  // namespace velnora::fetch
