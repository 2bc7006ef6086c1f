#include "net/socket_transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QHostAddress>
#include <QHostInfo>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/file_system.h"

namespace velnora::net {

namespace {

// Received bytes held for the fetch at most; reading pauses beyond it until the fetch takes.
constexpr std::size_t kReceiveBufferLimit = 1 << 20;
constexpr std::size_t kReadChunk = 65536;

std::string OpenSslErrors() {
    std::string text;
    while (unsigned long code = ERR_get_error()) {
        char buffer[256];
        ERR_error_string_n(code, buffer, sizeof buffer);
        if (!text.empty()) {
            text += "; ";
        }
        text += buffer;
    }
    return text;
}

}  // namespace

struct SocketTransport::TlsContext {
    SSL_CTX* ctx = nullptr;
    TlsContext() {
        ctx = SSL_CTX_new(TLS_client_method());
        if (ctx != nullptr) {
            SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
            SSL_CTX_set_default_verify_paths(ctx);
            SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
#ifdef SSL_OP_IGNORE_UNEXPECTED_EOF
            // Many servers end a response by closing without TLS's close notice; that is the
            // end of the response as with plain TCP, not an error.
            SSL_CTX_set_options(ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
#endif
        }
    }
    ~TlsContext() {
        SSL_CTX_free(ctx);
    }
};

struct SocketTransport::Connection {
    enum class State {
        kConnecting,  // connects to one or more addresses are under way
        kPlain,       // connected, no TLS
        kHandshake,   // the TLS handshake is under way
        kSecure,      // connected over TLS
        kDead,        // failed or closed by the peer; only what is buffered can still be taken
    };

    // A connect to one address, under way.
    struct Attempt {
        int fd = -1;
        std::unique_ptr<QSocketNotifier> notifier;
        ~Attempt() {
            notifier.reset();
            if (fd >= 0) {
                ::close(fd);
            }
        }
    };

    fetch::SocketId id = 0;
    int fd = -1;  // the connected socket
    State state = State::kConnecting;
    std::vector<std::string> addresses;
    std::size_t next_address = 0;
    std::uint16_t port = 0;
    std::vector<std::unique_ptr<Attempt>> attempts;
    // Gives the next address its turn while the earlier ones are still silent.
    std::unique_ptr<QTimer> next_address_timer;
    std::unique_ptr<QSocketNotifier> read_notifier;
    std::unique_ptr<QSocketNotifier> write_notifier;
    std::string outgoing;
    std::string incoming;
    std::size_t incoming_start = 0;
    bool peer_closed = false;
    bool socket_made = false;  // some address got a socket, whether or not it connected
    SSL* ssl = nullptr;
    std::string last_error;

    ~Connection() {
        attempts.clear();
        next_address_timer.reset();
        read_notifier.reset();
        write_notifier.reset();
        if (ssl != nullptr) {
            SSL_free(ssl);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }

    std::size_t buffered() const { return incoming.size() - incoming_start; }
};

SocketTransport::SocketTransport() : tls_(std::make_unique<TlsContext>()) {}

SocketTransport::~SocketTransport() {
    for (const auto& [ours, qt] : lookups_) {
        QHostInfo::abortHostLookup(qt);
    }
    connections_.clear();
}

SocketTransport::Connection* SocketTransport::Find(fetch::SocketId id) {
    auto it = connections_.find(id);
    return it == connections_.end() ? nullptr : it->second.get();
}

void SocketTransport::Deliver(fetch::SocketId id, fetch::SocketEvent event,
                              fetch::SocketError error, std::string error_text) {
    QMetaObject::invokeMethod(
        &context_,
        [this, id, event, error, text = std::move(error_text)] {
            if (listener_ != nullptr && Find(id) != nullptr) {
                listener_->OnSocketEvent(id, event, error, text);
            }
        },
        Qt::QueuedConnection);
}

fetch::LookupId SocketTransport::StartLookup(std::string_view host) {
    fetch::LookupId id = next_id_++;
    int qt_id = QHostInfo::lookupHost(
        QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size())), &context_,
        [this, id](const QHostInfo& info) {
            if (lookups_.erase(id) == 0 || listener_ == nullptr) {
                return;
            }
            std::vector<std::string> addresses;
            for (const QHostAddress& address : info.addresses()) {
                addresses.push_back(address.toString().toStdString());
            }
            int error = info.error() == QHostInfo::NoError && !addresses.empty() ? 0 : 1;
            listener_->OnLookupDone(id, error, std::move(addresses));
        });
    lookups_[id] = qt_id;
    return id;
}

void SocketTransport::CancelLookup(fetch::LookupId lookup) {
    auto it = lookups_.find(lookup);
    if (it != lookups_.end()) {
        QHostInfo::abortHostLookup(it->second);
        lookups_.erase(it);
    }
}

fetch::SocketId SocketTransport::Open(const std::vector<std::string>& addresses, std::uint16_t port,
                                      fetch::OpenFailure* failure) {
    auto connection = std::make_unique<Connection>();
    connection->id = next_id_++;
    connection->addresses = addresses;
    connection->port = port;
    fetch::SocketId id = connection->id;
    Connection& ref = *connection;
    connections_[id] = std::move(connection);
    if (!StartNextAttempt(ref)) {
        if (failure != nullptr) {
            failure->connect_failed = ref.socket_made;
            failure->reason = ref.last_error.empty() ? "no address" : ref.last_error;
        }
        connections_.erase(id);
        return 0;
    }
    return id;
}

bool SocketTransport::StartNextAttempt(Connection& c) {
    while (c.next_address < c.addresses.size()) {
        const std::string& text = c.addresses[c.next_address++];
        sockaddr_storage storage{};
        socklen_t length = 0;
        auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
        std::string bare = text;
        if (bare.size() >= 2 && bare.front() == '[' && bare.back() == ']') {
            bare = bare.substr(1, bare.size() - 2);
        }
        if (::inet_pton(AF_INET, bare.c_str(), &v4->sin_addr) == 1) {
            v4->sin_family = AF_INET;
            v4->sin_port = htons(c.port);
            length = sizeof(sockaddr_in);
        } else if (::inet_pton(AF_INET6, bare.c_str(), &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(c.port);
            length = sizeof(sockaddr_in6);
        } else {
            c.last_error = "not an address: " + text;
            continue;
        }
        int fd = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            c.last_error = files::SystemErrorText(errno);
            continue;
        }
        c.socket_made = true;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        int result = ::connect(fd, reinterpret_cast<sockaddr*>(&storage), length);
        if (result != 0 && errno != EINPROGRESS) {
            c.last_error = files::SystemErrorText(errno);
            ::close(fd);
            continue;
        }
        auto attempt = std::make_unique<Connection::Attempt>();
        attempt->fd = fd;
        attempt->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        fetch::SocketId id = c.id;
        QObject::connect(attempt->notifier.get(), &QSocketNotifier::activated, &context_,
                         [this, id, fd] { OnAttemptWritable(id, fd); });
        c.attempts.push_back(std::move(attempt));
        if (c.next_address < c.addresses.size()) {
            if (!c.next_address_timer) {
                c.next_address_timer = std::make_unique<QTimer>();
                c.next_address_timer->setSingleShot(true);
                QObject::connect(c.next_address_timer.get(), &QTimer::timeout, &context_,
                                 [this, id] { OnNextAddressDue(id); });
            }
            c.next_address_timer->start(fetch::kNextAddressDelayMs);
        }
        return true;
    }
    return false;
}

// The attempts so far have been silent for their share of the time: the next address is tried
// beside them.
void SocketTransport::OnNextAddressDue(fetch::SocketId id) {
    Connection* c = Find(id);
    if (c != nullptr && c->state == Connection::State::kConnecting) {
        StartNextAttempt(*c);
    }
}

void SocketTransport::OnAttemptWritable(fetch::SocketId id, int fd) {
    Connection* c = Find(id);
    if (c == nullptr || c->state != Connection::State::kConnecting) {
        return;
    }
    auto it = std::find_if(c->attempts.begin(), c->attempts.end(),
                           [fd](const auto& attempt) { return attempt->fd == fd; });
    if (it == c->attempts.end()) {
        return;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    if (error != 0) {
        c->last_error = files::SystemErrorText(error);
        c->attempts.erase(it);
        // A refusal frees the field: the next address need not wait for its turn.
        if (c->attempts.empty() && !StartNextAttempt(*c)) {
            c->state = Connection::State::kDead;
            c->next_address_timer.reset();
            // Every address refused: the attempt fails as a socket event (and may be retried).
            Deliver(c->id, fetch::SocketEvent::kConnected, fetch::SocketError::kFailed,
                    c->last_error.empty() ? "connection failed" : c->last_error);
        }
        return;
    }
    // This address answered first: the others are given up.
    c->fd = fd;
    (*it)->fd = -1;
    c->attempts.clear();
    c->next_address_timer.reset();
    c->state = Connection::State::kPlain;
    c->write_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    c->write_notifier->setEnabled(false);
    QObject::connect(c->write_notifier.get(), &QSocketNotifier::activated, &context_,
                     [this, id] { OnWritable(id); });
    c->read_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(c->read_notifier.get(), &QSocketNotifier::activated, &context_,
                     [this, id] { OnReadable(id); });
    Deliver(id, fetch::SocketEvent::kConnected, fetch::SocketError::kNone, {});
    Flush(*c);
}

void SocketTransport::OnWritable(fetch::SocketId id) {
    Connection* c = Find(id);
    if (c == nullptr) {
        return;
    }
    if (c->state == Connection::State::kHandshake) {
        ContinueHandshake(*c);
        return;
    }
    Flush(*c);
}

void SocketTransport::Fail(Connection& c, fetch::SocketError error, std::string text) {
    c.state = Connection::State::kDead;
    if (c.read_notifier) {
        c.read_notifier->setEnabled(false);
    }
    if (c.write_notifier) {
        c.write_notifier->setEnabled(false);
    }
    Deliver(c.id, fetch::SocketEvent::kClosed, error, std::move(text));
}

void SocketTransport::StartTls(fetch::SocketId id, std::string_view peer_name) {
    Connection* c = Find(id);
    if (c == nullptr || c->state != Connection::State::kPlain) {
        return;
    }
    std::string name(peer_name);
    if (tls_->ctx == nullptr || (c->ssl = SSL_new(tls_->ctx)) == nullptr) {
        Fail(*c, fetch::SocketError::kTls, "cannot set up TLS: " + OpenSslErrors());
        return;
    }
    SSL_set_fd(c->ssl, c->fd);
    unsigned char probe[16];
    bool is_address = ::inet_pton(AF_INET, name.c_str(), probe) == 1 ||
                      ::inet_pton(AF_INET6, name.c_str(), probe) == 1;
    X509_VERIFY_PARAM* param = SSL_get0_param(c->ssl);
    if (is_address) {
        X509_VERIFY_PARAM_set1_ip_asc(param, name.c_str());
    } else {
        SSL_set_tlsext_host_name(c->ssl, name.c_str());
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        X509_VERIFY_PARAM_set1_host(param, name.c_str(), name.size());
    }
    c->state = Connection::State::kHandshake;
    ContinueHandshake(*c);
}

void SocketTransport::ContinueHandshake(Connection& c) {
    ERR_clear_error();
    int result = SSL_connect(c.ssl);
    if (result == 1) {
        c.state = Connection::State::kSecure;
        if (c.write_notifier) {
            c.write_notifier->setEnabled(false);
        }
        Deliver(c.id, fetch::SocketEvent::kSecured, fetch::SocketError::kNone, {});
        Flush(c);
        return;
    }
    int error = SSL_get_error(c.ssl, result);
    if (error == SSL_ERROR_WANT_READ) {
        c.write_notifier->setEnabled(false);
        return;
    }
    if (error == SSL_ERROR_WANT_WRITE) {
        c.write_notifier->setEnabled(true);
        return;
    }
    std::string reason;
    long verify = SSL_get_verify_result(c.ssl);
    if (verify != X509_V_OK) {
        reason = X509_verify_cert_error_string(verify);
    } else {
        reason = OpenSslErrors();
        if (reason.empty()) {
            reason = error == SSL_ERROR_SYSCALL && errno != 0 ? files::SystemErrorText(errno)
                                                              : "the server ended the handshake";
        }
    }
    Fail(c, fetch::SocketError::kTls, reason);
}

bool SocketTransport::Send(fetch::SocketId id, std::string_view bytes) {
    Connection* c = Find(id);
    if (c == nullptr || c->state == Connection::State::kDead) {
        return false;
    }
    c->outgoing.append(bytes);
    if (c->state == Connection::State::kPlain || c->state == Connection::State::kSecure) {
        Flush(*c);
    }
    return true;
}

// Sends what is queued; what the socket does not take now goes when it becomes writable.
void SocketTransport::Flush(Connection& c) {
    while (!c.outgoing.empty() &&
           (c.state == Connection::State::kPlain || c.state == Connection::State::kSecure)) {
        ssize_t sent;
        if (c.state == Connection::State::kSecure) {
            ERR_clear_error();
            int n = SSL_write(c.ssl, c.outgoing.data(), static_cast<int>(c.outgoing.size()));
            if (n <= 0) {
                int error = SSL_get_error(c.ssl, n);
                if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ) {
                    c.write_notifier->setEnabled(true);
                    return;
                }
                Fail(c, fetch::SocketError::kFailed, "send failed: " + OpenSslErrors());
                return;
            }
            sent = n;
        } else {
            sent = ::send(c.fd, c.outgoing.data(), c.outgoing.size(), MSG_NOSIGNAL);
            if (sent < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                    c.write_notifier->setEnabled(true);
                    return;
                }
                Fail(c, fetch::SocketError::kFailed, files::SystemErrorText(errno));
                return;
            }
        }
        c.outgoing.erase(0, static_cast<std::size_t>(sent));
    }
    if (c.write_notifier && c.outgoing.empty() && c.state != Connection::State::kHandshake) {
        c.write_notifier->setEnabled(false);
    }
}

void SocketTransport::OnReadable(fetch::SocketId id) {
    Connection* c = Find(id);
    if (c == nullptr) {
        return;
    }
    if (c->state == Connection::State::kHandshake) {
        ContinueHandshake(*c);
        return;
    }
    if (c->state != Connection::State::kPlain && c->state != Connection::State::kSecure) {
        return;
    }
    std::size_t got = 0;
    bool closed = false;
    std::string failure;
    char chunk[kReadChunk];
    while (c->buffered() < kReceiveBufferLimit) {
        ssize_t n;
        if (c->state == Connection::State::kSecure) {
            ERR_clear_error();
            int r = SSL_read(c->ssl, chunk, sizeof chunk);
            if (r > 0) {
                n = r;
            } else {
                int error = SSL_get_error(c->ssl, r);
                if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
                    break;
                }
                if (error == SSL_ERROR_ZERO_RETURN) {
                    closed = true;
                } else if (error == SSL_ERROR_SYSCALL && errno != 0) {
                    failure = files::SystemErrorText(errno);
                } else {
                    failure = "receive failed: " + OpenSslErrors();
                }
                break;
            }
        } else {
            n = ::recv(c->fd, chunk, sizeof chunk, 0);
            if (n == 0) {
                closed = true;
                break;
            }
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                    break;
                }
                failure = files::SystemErrorText(errno);  // a reset is an error, not the end of the response
                break;
            }
        }
        if (c->incoming_start > 0 && c->incoming_start == c->incoming.size()) {
            c->incoming.clear();
            c->incoming_start = 0;
        }
        c->incoming.append(chunk, static_cast<std::size_t>(n));
        got += static_cast<std::size_t>(n);
    }
    if (c->buffered() >= kReceiveBufferLimit) {
        c->read_notifier->setEnabled(false);  // until the fetch takes what is buffered
    }
    if (got > 0) {
        Deliver(id, fetch::SocketEvent::kReadable, fetch::SocketError::kNone, {});
    }
    if (!failure.empty()) {
        Fail(*c, fetch::SocketError::kFailed, failure);
    } else if (closed) {
        c->peer_closed = true;
        c->state = Connection::State::kDead;
        c->read_notifier->setEnabled(false);
        Deliver(id, fetch::SocketEvent::kClosed, fetch::SocketError::kNone, {});
    }
}

std::size_t SocketTransport::Receive(fetch::SocketId id, char* buffer, std::size_t size) {
    Connection* c = Find(id);
    if (c == nullptr) {
        return 0;
    }
    std::size_t n = std::min(size, c->buffered());
    std::memcpy(buffer, c->incoming.data() + c->incoming_start, n);
    c->incoming_start += n;
    if (c->incoming_start == c->incoming.size()) {
        c->incoming.clear();
        c->incoming_start = 0;
    } else if (c->incoming_start > kReceiveBufferLimit) {
        c->incoming.erase(0, c->incoming_start);
        c->incoming_start = 0;
    }
    if (c->read_notifier && !c->read_notifier->isEnabled() && !c->peer_closed &&
        (c->state == Connection::State::kPlain || c->state == Connection::State::kSecure) &&
        c->buffered() < kReceiveBufferLimit) {
        c->read_notifier->setEnabled(true);
        if (c->ssl != nullptr && SSL_pending(c->ssl) > 0) {
            // Bytes TLS has already decrypted wake no notifier: read them from the loop.
            QMetaObject::invokeMethod(
                &context_, [this, id] { OnReadable(id); }, Qt::QueuedConnection);
        }
    }
    return n;
}

void SocketTransport::Close(fetch::SocketId id) {
    auto it = connections_.find(id);
    if (it == connections_.end()) {
        return;
    }
    if (it->second->fd >= 0) {
        ::shutdown(it->second->fd, SHUT_WR);
    }
    connections_.erase(it);
}

}  // namespace velnora::net
