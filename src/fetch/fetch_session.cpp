#include "fetch/fetch_session.h"

#include <algorithm>
#include <cerrno>

#include "fetch/messages.h"
#include "fetch/request.h"
#include "fetch/response_head.h"
#include "files/file_system.h"
#include "processing/file_failure.h"
#include "processing/page_extraction.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"

namespace velnora::fetch {

namespace {

std::string WithReason(std::string_view prefix, std::string_view reason) {
    std::string text(prefix);
    text.append(text::CutToBuffer(reason, 201));
    text.append(")");
    return text;
}

}  // namespace

void FetchSession::Enter(SessionPhase next) {
    Trace("phase", kSessionPhaseNames[static_cast<std::size_t>(phase_)],
          kSessionPhaseNames[static_cast<std::size_t>(next)]);
    phase_ = next;
}

void FetchSession::Enter(ConnectionState next) {
    Trace("connection", kConnectionStateNames[static_cast<std::size_t>(connection_)],
          kConnectionStateNames[static_cast<std::size_t>(next)]);
    connection_ = next;
}

void FetchSession::Trace(std::string_view what, std::string_view from, std::string_view to) const {
    if (trace == nullptr || !*trace || from == to) {
        return;
    }
    std::string line = "session " + std::to_string(index) + " ";
    line.append(what).append(": ").append(from).append(" -> ").append(to);
    (*trace)(line);
}

Fetcher::Fetcher(Transport& transport, CheckObserver& observer, TrafficStats& stats, Hooks hooks)
    : transport_(transport), observer_(observer), stats_(stats), hooks_(std::move(hooks)) {
    for (int i = 0; i < kSessionCount; ++i) {
        sessions_[i].index = i;
        sessions_[i].trace = &trace_;
    }
    transport_.SetListener(this);
}

Fetcher::~Fetcher() {
    transport_.SetListener(nullptr);
}

void Fetcher::RecordError(const FetchSession& session) {
    // The page has shown its error line already; a result.ini that cannot be written adds none.
    (void)store::WriteResultCode(session.page.node.path, store::RESULT_ERROR);
    observer_.PageDone(session.page);
}

void Fetcher::Fail(FetchSession& session, std::string_view message) {
    observer_.ErrorLine(session.page, message);
    session.error = true;
}

FetchSession* Fetcher::BySocket(SocketId socket) {
    if (socket == 0) {
        return nullptr;
    }
    for (FetchSession& session : sessions_) {
        if (session.socket == socket) {
            return &session;
        }
    }
    return nullptr;
}

bool Fetcher::StartFetch(FetchSession& session) {
    if (session.connection() != ConnectionState::kIdle) {
        return true;
    }
    const store::PageSettings& page = session.page.settings;
    if (!session.page.settings_error.empty()) {
        Fail(session, processing::FileFailureMessage(processing::FileFailure{
                          processing::FileFailure::Kind::kRead, std::string(store::kSiteIni),
                          session.page.settings_error}));
        return false;
    }
    if (page.url.empty()) {
        Fail(session, messages::kNoUrl);
        return false;
    }
    // Every hop asks with the validators of the page's last response: the server that gave it
    // answers 304 when it has not changed.
    const std::string& address = session.trail.address();
    session.last_modified =
        LoadLastModified(settings_.use_head, page.dont_use_head, session.page.node.path);
    session.last_modified.entity_tag =
        LoadEntityTag(settings_.use_head, page.dont_use_head, session.page.node.path);
    hooks_.busy(BusyState::kFetchStarted);
    session.ticks = 0;
    session.error = false;
    session.Enter(ConnectionState::kResolving);
    session.received = 0;
    session.tunnel_reply.clear();

    auto url = SplitUrl(address);
    if (!url) {
        Fail(session, messages::kBadUrl);
        return false;
    }
    session.url = *url;
    session.via_proxy = UsesProxy(settings_.use_proxy, settings_.proxy_url, page.noproxy);

    auto response_path = store::PagePath(session.page.node.path, store::kReceivingFile);
    if (!response_path || !session.response.Open(*response_path)) {
        Fail(session, messages::kResponseFileFailed);
        return false;
    }

    std::string name = session.via_proxy ? settings_.proxy_url : session.url.host;
    if (IsIpLiteral(name)) {
        if (!OpenConnection(session, {name})) {
            return false;
        }
    } else {
        session.lookup = transport_.StartLookup(name);
        if (session.lookup == 0) {
            Fail(session, messages::kLookupStartFailed);
            return false;
        }
    }

    std::string status(messages::kFetchingPrefix);
    status.append(text::CutToBuffer(address, 101));
    status.append(")...");
    observer_.SetStatusText(status);
    hooks_.ensure_ticking();
    return true;
}

bool Fetcher::OpenConnection(FetchSession& session, const std::vector<std::string>& addresses) {
    int port = session.via_proxy ? settings_.proxy_port : session.url.port;
    if (port < 1 || port > 65535) {
        Fail(session, messages::kConnectFailed);
        return false;
    }
    OpenFailure failure;
    session.socket = transport_.Open(addresses, static_cast<std::uint16_t>(port), &failure);
    if (session.socket == 0) {
        // A connect refused at once is not retried: the same address would refuse again.
        Fail(session, failure.connect_failed ? messages::kConnectFailed : messages::kSocketFailed);
        return false;
    }
    session.Enter(ConnectionState::kConnecting);
    return true;
}

void Fetcher::CloseFetch(FetchSession& session) {
    if (session.lookup != 0) {
        transport_.CancelLookup(session.lookup);
        session.lookup = 0;
    }
    if (session.socket != 0) {
        Drain(session);
        transport_.Close(session.socket);
        session.socket = 0;
    }
    // A response that is used has been closed (and its close checked) before.
    [[maybe_unused]] bool closed = session.response.Close();
    session.Enter(ConnectionState::kIdle);
    session.ticks = 0;
    session.Enter(SessionPhase::kIdle);
    hooks_.busy(BusyState::kFetchClosed);
    if (hooks_.closed) {
        hooks_.closed();
    }
}

bool Fetcher::RetryFetch(FetchSession& session) {
    session.retry_count += 1;
    if (session.retry_count > settings_.retry) {
        return false;
    }
    return Restart(session);
}

bool Fetcher::Restart(FetchSession& session) {
    if (StartFetch(session)) {
        session.Enter(SessionPhase::kFetching);
        return true;
    }
    CloseFetch(session);
    RecordError(session);
    return false;
}

void Fetcher::CheckTimeouts() {
    int limit = settings_.timeout * 1000 / kTickMilliseconds;
    for (FetchSession& session : sessions_) {
        if (session.connection() == ConnectionState::kIdle) {
            continue;
        }
        session.ticks += 1;
        if (session.ticks >= limit) {
            CloseFetch(session);
            if (!RetryFetch(session)) {
                Fail(session, messages::kTimeout);
            }
        }
    }
}

void Fetcher::OnLookupDone(LookupId lookup, int error, std::vector<std::string> addresses) {
    if (lookup == 0) {
        return;
    }
    auto it = std::find_if(sessions_.begin(), sessions_.end(),
                           [&](const FetchSession& s) { return s.lookup == lookup; });
    if (it == sessions_.end()) {
        return;
    }
    FetchSession& session = *it;
    session.lookup = 0;
    if (error != 0 || addresses.empty()) {
        CloseFetch(session);
        if (!RetryFetch(session)) {
            Fail(session, messages::kLookupFailed);
        }
        return;
    }
    if (!OpenConnection(session, addresses)) {
        CloseFetch(session);
        RecordError(session);
        return;
    }
    session.ticks = 0;
}

void Fetcher::SendRequest(FetchSession& session) {
    const store::PageSettings* page = &session.page.settings;
    store::PageSettings without_credentials;
    if (page->auth_type != 0 && !SendsCredentials(session.trail)) {
        without_credentials = *page;
        without_credentials.auth_type = 0;
        page = &without_credentials;
    }
    std::string request =
        ComposeRequest(session.url, session.via_proxy, session.last_modified, *page);
    transport_.Send(session.socket, request);
    session.Enter(ConnectionState::kReceiving);
    session.ticks = 0;
}

void Fetcher::OnSocketEvent(SocketId socket, SocketEvent event, SocketError error,
                            std::string_view error_text) {
    FetchSession* found = BySocket(socket);
    if (found == nullptr) {
        return;
    }
    FetchSession& session = *found;
    if (error == SocketError::kTls) {
        // A certificate or handshake failure does not heal by trying again.
        Fail(session, WithReason(messages::kTlsFailedPrefix, error_text));
        CloseFetch(session);
        RecordError(session);
        return;
    }
    if (error != SocketError::kNone ||
        (event == SocketEvent::kClosed && session.connection() != ConnectionState::kReceiving)) {
        CloseFetch(session);
        if (!RetryFetch(session)) {
            Fail(session, messages::kSocketEventError);
        }
        return;
    }
    switch (event) {
        case SocketEvent::kConnected:
            if (session.url.tls && session.via_proxy) {
                transport_.Send(session.socket, ComposeConnectRequest(session.url));
                session.Enter(ConnectionState::kTunnelling);
            } else if (session.url.tls) {
                transport_.StartTls(session.socket, session.url.host);
                session.Enter(ConnectionState::kHandshaking);
            } else {
                SendRequest(session);
            }
            break;
        case SocketEvent::kSecured:
            SendRequest(session);
            break;
        case SocketEvent::kReadable:
            if (session.connection() == ConnectionState::kTunnelling) {
                ReceiveTunnelReply(session);
            } else if (session.connection() == ConnectionState::kReceiving) {
                ReceiveResponse(session);
            }
            break;
        case SocketEvent::kClosed:
            OnClosed(session);
            break;
    }
}

void Fetcher::ReceiveTunnelReply(FetchSession& session) {
    char block[4096];
    for (;;) {
        std::size_t n = transport_.Receive(session.socket, block, sizeof block);
        if (n == 0) {
            break;
        }
        session.tunnel_reply.append(block, n);
        std::size_t end = session.tunnel_reply.find("\r\n\r\n");
        if (end == std::string::npos && session.tunnel_reply.size() <= kMaxTunnelReply) {
            continue;
        }
        std::string_view reply = session.tunnel_reply;
        std::string_view first_line = reply.substr(0, reply.find('\n'));
        if (end == std::string::npos || processing::ParseStatusCode(first_line) != 200) {
            std::size_t cut = first_line.find('\r');
            Fail(session, WithReason(messages::kProxyFailedPrefix, first_line.substr(0, cut)));
            CloseFetch(session);
            RecordError(session);
            return;
        }
        session.tunnel_reply.clear();
        transport_.StartTls(session.socket, session.url.host);
        session.Enter(ConnectionState::kHandshaking);
        return;
    }
}

Fetcher::Intake Fetcher::Take(FetchSession& session, std::string_view bytes) {
    session.received += bytes.size();
    if (session.received > kMaxResponseBytes) {
        return Intake::kTooLarge;
    }
    if (!session.response.Write(bytes)) {
        write_error_ = files::SystemErrorText(errno);
        return Intake::kWriteFailed;
    }
    return Intake::kStored;
}

void Fetcher::ReceiveResponse(FetchSession& session) {
    char block[kReceiveBlock];
    for (;;) {
        std::size_t n = transport_.Receive(session.socket, block, sizeof block);
        if (n == 0) {
            return;
        }
        Intake intake = Take(session, std::string_view(block, n));
        if (intake != Intake::kStored) {
            StopIntake(session, intake);
            return;
        }
        stats_.CountReceivedBytes(static_cast<std::uint32_t>(n));
    }
}

void Fetcher::StopIntake(FetchSession& session, Intake intake) {
    Fail(session, intake == Intake::kTooLarge
                      ? std::string(messages::kTooLarge)
                      : WithReason(messages::kWriteFailedPrefix, write_error_));
    CloseFetch(session);
    DropResponse(session.page.node.path);
    RecordError(session);
}

void Fetcher::OnClosed(FetchSession& session) {
    bool failed = session.error;
    if (failed) {
        observer_.ErrorLine(session.page, messages::kCommunicationError);
    } else {
        Intake intake = Drain(session);
        // The system may report a failed write only when the file is closed.
        if (intake == Intake::kStored && !session.response.Close()) {
            write_error_ = files::SystemErrorText(errno);
            intake = Intake::kWriteFailed;
        }
        if (intake != Intake::kStored) {
            StopIntake(session, intake);
            return;
        }
    }
    CloseFetch(session);
    if (failed) {
        RecordError(session);
        return;
    }
    if (settings_.follow_redirects != 0 && FollowRedirect(session)) {
        return;
    }
    session.Enter(SessionPhase::kFetched);
    stats_.CountReceivedPage();
    hooks_.fetched(session);
}

bool Fetcher::FollowRedirect(FetchSession& session) {
    auto path = store::PagePath(session.page.node.path, store::kReceivingFile);
    if (!path) {
        return false;
    }
    std::string head = ReadResponseHead(*path);
    int status = HeadStatus(head);
    std::optional<std::string> location;
    if (IsRedirectStatus(status)) {
        location = HeadField(head, "Location");
    }
    if (!location) {
        return false;  // no redirect: the pipeline judges the status as it stands
    }
    Hop hop = NextHop(session.trail, status, *location);
    std::string_view failure;
    switch (hop.result) {
        case HopResult::kFollow:
            break;
        case HopResult::kTooMany:
            failure = messages::kTooManyRedirectsPrefix;
            break;
        case HopResult::kLoop:
            failure = messages::kRedirectLoopPrefix;
            break;
        case HopResult::kNotHttp:
            failure = messages::kRedirectNotHttpPrefix;
            break;
        case HopResult::kBadAddress:
            failure = messages::kBadRedirectPrefix;
            break;
    }
    if (!failure.empty()) {
        Fail(session, WithReason(failure, hop.address));
        files::RemoveFile(*path);
        RecordError(session);
        return true;
    }
    // The next hop is a new request, built as the first one was.
    Restart(session);
    return true;
}

Fetcher::Intake Fetcher::Drain(FetchSession& session) {
    if (session.socket == 0 || session.connection() != ConnectionState::kReceiving ||
        !session.response.IsOpen()) {
        return Intake::kStored;
    }
    char block[kReceiveBlock];
    for (;;) {
        std::size_t n = transport_.Receive(session.socket, block, sizeof block);
        if (n == 0) {
            return Intake::kStored;
        }
        Intake intake = Take(session, std::string_view(block, n));
        if (intake != Intake::kStored) {
            return intake;
        }
    }
}

void DropResponse(const std::string& page_directory) {
    if (auto received = store::PagePath(page_directory, store::kReceivingFile)) {
        files::RemoveFile(*received);
    }
}

}  // namespace velnora::fetch
