#pragma once

// The network as the fetch sees it: an asynchronous host lookup and non-blocking connections,
// reported as events on the thread that runs the check. The real transport lives in the
// platform layer; tests drive the fetch with fakes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::fetch {

using LookupId = std::uint64_t;  // 0: none
using SocketId = std::uint64_t;  // 0: none

enum class SocketEvent : int {
    kConnected = 0,  // the TCP connection is established
    kSecured = 1,    // the TLS handshake started by StartTls has completed
    kReadable = 2,   // data is waiting to be received
    kClosed = 3,     // the peer closed the connection cleanly (what remains can be received)
};

enum class SocketError : int {
    kNone = 0,
    kFailed = 1,  // refused, reset, unreachable, a receive error: the attempt may be retried
    kTls = 2,     // the TLS handshake or certificate check failed: retrying does not help
};

// How long a connection attempt has the field to itself before the next address is tried.
inline constexpr int kNextAddressDelayMs = 2000;

// Why Open started no connection.
struct OpenFailure {
    // A socket was made, but every address refused the connection at once (no route, for
    // instance); otherwise no socket could be made at all.
    bool connect_failed = false;
    // The system's reason.
    std::string reason;
};

class TransportListener {
  public:
    virtual ~TransportListener() = default;
    // error != 0: the name could not be resolved. addresses are numeric, in preference order.
    virtual void OnLookupDone(LookupId lookup, int error, std::vector<std::string> addresses) = 0;
    // An event of a connection; with an error the connection is unusable and the event says
    // nothing more (error_text says why).
    virtual void OnSocketEvent(SocketId socket, SocketEvent event, SocketError error,
                               std::string_view error_text) = 0;
};

class Transport {
  public:
    virtual ~Transport() = default;
    virtual void SetListener(TransportListener* listener) = 0;

    // Starts resolving a host name; 0 when the lookup cannot be started.
    virtual LookupId StartLookup(std::string_view host) = 0;
    // The lookup's result is not reported.
    virtual void CancelLookup(LookupId lookup) = 0;

    // Starts connecting to the port, trying the addresses in order; kConnected or an error
    // follows. Each address has its own share of the time: when one has not answered within
    // kNextAddressDelayMs, the next is tried beside it, and the first to connect is taken. 0 when
    // no connection could be started (see OpenFailure).
    virtual SocketId Open(const std::vector<std::string>& addresses, std::uint16_t port,
                          OpenFailure* failure) = 0;
    // Starts TLS on a connected socket, verifying the certificate against the system's trust
    // store and the peer name; kSecured or a kTls error follows.
    virtual void StartTls(SocketId socket, std::string_view peer_name) = 0;
    // Queues bytes; all of them are sent (a partial send is continued). False on a dead socket.
    virtual bool Send(SocketId socket, std::string_view bytes) = 0;
    // Bytes received and not yet taken, at most size; 0 when there are none.
    virtual std::size_t Receive(SocketId socket, char* buffer, std::size_t size) = 0;
    // Closes the connection; no event of it is reported any more.
    virtual void Close(SocketId socket) = 0;
};

// Whether a host is an IP address, which needs no lookup (dotted IPv4, or IPv6).
bool IsIpLiteral(std::string_view host);

}  // namespace velnora::fetch
