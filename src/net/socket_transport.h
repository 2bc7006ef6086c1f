#pragma once

// The network transport of a check: asynchronous, cancellable host lookups (QHostInfo), and
// non-blocking TCP connections with optional TLS (OpenSSL), driven by Qt's event loop through
// socket notifiers. Our own sockets rather than QTcpSocket, so that a connection reset is
// reported as the error it is and never taken for the server's clean close: a truncated
// response must not be processed as complete.
//
// Every event reaches the listener from the event loop, never from inside a call the listener
// made. Certificates are verified against the system's trust store (OpenSSL's default paths,
// which SSL_CERT_FILE and SSL_CERT_DIR can point elsewhere) and the peer's name.

#include <QObject>
#include <cstdint>
#include <map>
#include <memory>

#include "fetch/transport.h"

namespace velnora::net {

class SocketTransport : public fetch::Transport {
  public:
    SocketTransport();
    ~SocketTransport() override;

    void SetListener(fetch::TransportListener* listener) override { listener_ = listener; }
    fetch::LookupId StartLookup(std::string_view host) override;
    void CancelLookup(fetch::LookupId lookup) override;
    fetch::SocketId Open(const std::vector<std::string>& addresses, std::uint16_t port,
                         fetch::OpenFailure* failure) override;
    void StartTls(fetch::SocketId socket, std::string_view peer_name) override;
    bool Send(fetch::SocketId socket, std::string_view bytes) override;
    std::size_t Receive(fetch::SocketId socket, char* buffer, std::size_t size) override;
    void Close(fetch::SocketId socket) override;

  private:
    struct Connection;

    void Deliver(fetch::SocketId id, fetch::SocketEvent event, fetch::SocketError error,
                 std::string error_text);
    // Starts a connect to the next address that takes one; false when none is left.
    bool StartNextAttempt(Connection& connection);
    void OnAttemptWritable(fetch::SocketId id, int fd);
    void OnNextAddressDue(fetch::SocketId id);
    void OnWritable(fetch::SocketId id);
    void OnReadable(fetch::SocketId id);
    void ContinueHandshake(Connection& connection);
    void Flush(Connection& connection);
    void Fail(Connection& connection, fetch::SocketError error, std::string text);
    Connection* Find(fetch::SocketId id);

    QObject context_;
    fetch::TransportListener* listener_ = nullptr;
    std::map<fetch::LookupId, int> lookups_;  // ours -> Qt's lookup id
    std::map<fetch::SocketId, std::unique_ptr<Connection>> connections_;
    std::uint64_t next_id_ = 1;
    struct TlsContext;
    std::unique_ptr<TlsContext> tls_;
};

}  // namespace velnora::net
