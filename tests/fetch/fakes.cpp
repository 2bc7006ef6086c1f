#include "fakes.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "text/cp932.h"

namespace velnora::fetch::test {

LookupId FakeTransport::StartLookup(std::string_view host) {
    if (refuse_lookups) {
        return 0;
    }
    LookupId id = next_++;
    lookups[id] = std::string(host);
    looked_up.push_back(std::string(host));
    return id;
}

void FakeTransport::CancelLookup(LookupId lookup) {
    lookups.erase(lookup);
}

SocketId FakeTransport::Open(const std::vector<std::string>& addresses, std::uint16_t port,
                             OpenFailure* failure) {
    if (refuse_sockets || refuse_connects) {
        failure->connect_failed = refuse_connects;
        failure->reason = refuse_connects ? "Network is unreachable" : "no sockets";
        return 0;
    }
    SocketId id = next_++;
    connections[id] = Connection{addresses, port, {}, {}, {}, false};
    open_order.push_back(id);
    return id;
}

void FakeTransport::StartTls(SocketId socket, std::string_view peer_name) {
    connections[socket].tls_peer = std::string(peer_name);
}

bool FakeTransport::Send(SocketId socket, std::string_view bytes) {
    auto it = connections.find(socket);
    if (it == connections.end() || it->second.closed_by_us) {
        return false;
    }
    it->second.sent.append(bytes);
    return true;
}

std::size_t FakeTransport::Receive(SocketId socket, char* buffer, std::size_t size) {
    auto it = connections.find(socket);
    if (it == connections.end()) {
        return 0;
    }
    std::string& pending = it->second.pending;
    std::size_t n = std::min(size, pending.size());
    std::memcpy(buffer, pending.data(), n);
    pending.erase(0, n);
    return n;
}

void FakeTransport::Close(SocketId socket) {
    connections[socket].closed_by_us = true;
}

void FakeTransport::Resolve(LookupId lookup, std::vector<std::string> addresses) {
    lookups.erase(lookup);
    listener_->OnLookupDone(lookup, 0, std::move(addresses));
}

void FakeTransport::FailLookup(LookupId lookup) {
    lookups.erase(lookup);
    listener_->OnLookupDone(lookup, 1, {});
}

void FakeTransport::Connected(SocketId socket) {
    listener_->OnSocketEvent(socket, SocketEvent::kConnected, SocketError::kNone, {});
}

void FakeTransport::Secured(SocketId socket) {
    listener_->OnSocketEvent(socket, SocketEvent::kSecured, SocketError::kNone, {});
}

void FakeTransport::Arrive(SocketId socket, std::string_view bytes) {
    connections[socket].pending.append(bytes);
    listener_->OnSocketEvent(socket, SocketEvent::kReadable, SocketError::kNone, {});
}

void FakeTransport::ServerClose(SocketId socket) {
    listener_->OnSocketEvent(socket, SocketEvent::kClosed, SocketError::kNone, {});
}

void FakeTransport::Error(SocketId socket, SocketError error, std::string_view text) {
    listener_->OnSocketEvent(socket, SocketEvent::kClosed, error, text);
}

void FakeTransport::Serve(SocketId socket, std::string_view response) {
    Connected(socket);
    Arrive(socket, response);
    ServerClose(socket);
}

int FakeTransport::OpenCount() const {
    return static_cast<int>(std::count_if(connections.begin(), connections.end(),
                                          [](const auto& c) { return !c.second.closed_by_us; }));
}

void FakeLoop::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
}

void FakeLoop::StartTicks(std::function<void()> tick) {
    tick_ = std::move(tick);
    ticking_ = true;
}

void FakeLoop::RunPending() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

bool FakeLoop::RunUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        RunPending();
        if (done()) {
            return true;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        if (!posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) {
            return false;
        }
    }
}

void FakeLoop::Tick(int count) {
    for (int i = 0; i < count && ticking_; ++i) {
        tick_();
        RunPending();
    }
}

namespace {
std::string U(std::string_view sjis) {
    return text::ShiftJisToUtf8(sjis);
}
}  // namespace

void RecordingObserver::SetStatusText(std::string_view text) {
    status_text = U(text);
}

void RecordingObserver::StatusLine(const store::ItemRecord& page, std::string_view message) {
    events.push_back("status " + U(page.node.name) + ": " + U(message));
}

void RecordingObserver::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    events.push_back("error " + U(page.node.name) + ": " + U(message));
    status_text = U(message);
}

void RecordingObserver::ShowResultsAfterCheck(store::ItemRecord& page, int count) {
    events.push_back("results " + U(page.node.name) + " " + std::to_string(count));
}

void RecordingObserver::ShowCurrentText(store::ItemRecord& page) {
    events.push_back("current " + U(page.node.name));
}

void RecordingObserver::LockCommands(bool enable) {
    events.push_back(enable ? "unlock" : "lock");
}

void RecordingObserver::MarkUpdated(store::ItemId item) {
    events.push_back("mark " + std::to_string(item));
}

void RecordingObserver::ClearUpdated(store::ItemId item) {
    events.push_back("unmark " + std::to_string(item));
}

void RecordingObserver::PlaySound(std::string_view file) {
    events.push_back("sound " + std::string(file));
}

void RecordingObserver::ShowFinishMessage(std::string_view text) {
    ++finished;
    events.push_back("finish " + U(text));
}

bool RecordingObserver::Has(std::string_view event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
}

int RecordingObserver::Count(std::string_view prefix) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
        return e.compare(0, prefix.size(), prefix) == 0;
    }));
}

}  // namespace velnora::fetch::test
