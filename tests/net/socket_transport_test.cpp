// The transport and the event loop on their own, on loopback.

#include "net/socket_transport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <type_traits>

#include "net/qt_event_loop.h"
#include "support/servers.h"

namespace velnora::net {
namespace {

// A listening socket on one loopback address, closed when the object goes.
class Listener {
  public:
    Listener(const char* address, int port, int backlog) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(static_cast<std::uint16_t>(port));
        ::inet_pton(AF_INET, address, &where.sin_addr);
        ok_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 &&
              ::listen(fd_, backlog) == 0;
    }
    ~Listener() {
        for (int fd : clients_) {
            ::close(fd);
        }
        ::close(fd_);
    }
    bool ok() const { return ok_; }

    // Connects from here until the accept queue is full: later connects are dropped.
    void FillAcceptQueue(const char* address, int port) {
        for (int i = 0; i < 4; ++i) {
            int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            sockaddr_in where{};
            where.sin_family = AF_INET;
            where.sin_port = htons(static_cast<std::uint16_t>(port));
            ::inet_pton(AF_INET, address, &where.sin_addr);
            ::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where);
            clients_.push_back(fd);
        }
        ::usleep(200 * 1000);
    }

    // Whether a connection waits to be accepted.
    bool HasPendingConnection() const {
        pollfd entry{fd_, POLLIN, 0};
        return ::poll(&entry, 1, 0) == 1;
    }

  private:
    int fd_ = -1;
    bool ok_ = false;
    std::vector<int> clients_;
};

struct EventLog : fetch::TransportListener {
    void OnLookupDone(fetch::LookupId, int, std::vector<std::string>) override {}
    void OnSocketEvent(fetch::SocketId, fetch::SocketEvent event, fetch::SocketError error,
                       std::string_view) override {
        events.emplace_back(event, error);
    }
    std::vector<std::pair<fetch::SocketEvent, fetch::SocketError>> events;
};

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop events;
    while (!done() && clock.elapsed() < milliseconds) {
        QTimer::singleShot(10, &events, &QEventLoop::quit);
        events.exec();
    }
    return done();
}

TEST(SocketTransport, ASilentFirstAddressDoesNotHoldUpTheSecond) {
    int port = test::FreePort();
    Listener silent("127.0.0.1", port, 0);
    Listener reachable("127.0.0.2", port, 16);
    ASSERT_TRUE(silent.ok() && reachable.ok());
    silent.FillAcceptQueue("127.0.0.1", port);

    SocketTransport transport;
    EventLog log;
    transport.SetListener(&log);
    fetch::OpenFailure failure;
    QElapsedTimer clock;
    clock.start();
    fetch::SocketId socket =
        transport.Open({"127.0.0.1", "127.0.0.2"}, static_cast<std::uint16_t>(port), &failure);
    ASSERT_NE(socket, 0u) << failure.reason;
    ASSERT_TRUE(WaitFor([&] { return !log.events.empty(); }, 15000)) << "no connection";
    EXPECT_EQ(log.events.front(),
              std::make_pair(fetch::SocketEvent::kConnected, fetch::SocketError::kNone));
    EXPECT_TRUE(reachable.HasPendingConnection()) << "the second address answered";
    EXPECT_GE(clock.elapsed(), fetch::kNextAddressDelayMs - 100) << "after the first's share";
    transport.Close(socket);
}

TEST(SocketTransport, AConnectRefusedAtOnceIsReportedByOpen) {
    SocketTransport transport;
    EventLog log;
    transport.SetListener(&log);
    fetch::OpenFailure failure;
    // The system refuses a TCP connect to the broadcast address before sending anything.
    EXPECT_EQ(transport.Open({"255.255.255.255"}, 80, &failure), 0u);
    EXPECT_TRUE(failure.connect_failed);
    EXPECT_FALSE(failure.reason.empty());
    failure = {};
    EXPECT_EQ(transport.Open({"not an address"}, 80, &failure), 0u);
    EXPECT_FALSE(failure.connect_failed) << "no socket was made";
}

TEST(QtEventLoop, OwnsItsObjectsAlone) {
    // A Qt parent would delete the loop's member object a second time when it went first.
    EXPECT_FALSE((std::is_constructible_v<QtEventLoop, QObject*>));
    QtEventLoop loop;
    bool ran = false;
    loop.Post([&] { ran = true; });
    EXPECT_TRUE(WaitFor([&] { return ran; }, 5000));
}

}  // namespace
}  // namespace velnora::net
