#pragma once

// Test doubles for the check: a transport driven by the test, an event loop run by the test,
// and an observer that records what the user would see.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "fetch/check_observer.h"
#include "fetch/event_loop.h"
#include "fetch/transport.h"

namespace velnora::fetch::test {

class FakeTransport : public Transport {
  public:
    struct Connection {
        std::vector<std::string> addresses;
        std::uint16_t port = 0;
        std::string sent;
        std::string pending;  // received and not yet taken
        std::string tls_peer;
        bool closed_by_us = false;
    };

    void SetListener(TransportListener* listener) override { listener_ = listener; }
    LookupId StartLookup(std::string_view host) override;
    void CancelLookup(LookupId lookup) override;
    SocketId Open(const std::vector<std::string>& addresses, std::uint16_t port,
                  OpenFailure* failure) override;
    void StartTls(SocketId socket, std::string_view peer_name) override;
    bool Send(SocketId socket, std::string_view bytes) override;
    std::size_t Receive(SocketId socket, char* buffer, std::size_t size) override;
    void Close(SocketId socket) override;

    // What the network does, as the test says.
    void Resolve(LookupId lookup, std::vector<std::string> addresses = {"192.0.2.1"});
    void FailLookup(LookupId lookup);
    void Connected(SocketId socket);
    void Secured(SocketId socket);
    void Arrive(SocketId socket, std::string_view bytes);
    void ServerClose(SocketId socket);
    void Error(SocketId socket, SocketError error, std::string_view text = "reset");
    // Connects, answers with the response and closes: one whole exchange.
    void Serve(SocketId socket, std::string_view response);

    std::map<LookupId, std::string> lookups;  // pending
    std::vector<std::string> looked_up;       // every host looked up, in order
    std::map<SocketId, Connection> connections;
    std::vector<SocketId> open_order;
    bool refuse_sockets = false;
    bool refuse_connects = false;  // every address refuses the connect at once
    bool refuse_lookups = false;

    // Open connections (not closed by the fetch).
    int OpenCount() const;
    SocketId LastSocket() const { return open_order.empty() ? 0 : open_order.back(); }

  private:
    TransportListener* listener_ = nullptr;
    std::uint64_t next_ = 1;
};

class FakeLoop : public EventLoop {
  public:
    void Post(std::function<void()> task) override;
    void StartTicks(std::function<void()> tick) override;
    void StopTicks() override { ticking_ = false; }
    bool TicksRunning() const override { return ticking_; }

    // Runs posted tasks until none is left.
    void RunPending();
    // Runs posted tasks, waiting for more (from the worker thread) until done() holds.
    bool RunUntil(const std::function<bool()>& done);
    void Tick(int count = 1);

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    std::function<void()> tick_;
    bool ticking_ = false;
};

class RecordingObserver : public CheckObserver {
  public:
    void SetStatusText(std::string_view text) override;
    void StatusLine(const store::ItemRecord& page, std::string_view message) override;
    void ErrorLine(const store::ItemRecord& page, std::string_view message) override;
    void ClearPane() override { events.push_back("clear"); }
    void ShowResultsAfterCheck(store::ItemRecord& page, int count) override;
    void CaretToStart() override {}
    void ShowCurrentText(store::ItemRecord& page) override;
    void LockCommands(bool enable) override;
    void MarkUpdated(store::ItemId item) override;
    void ClearUpdated(store::ItemId item) override;
    void PlaySound(std::string_view file) override;
    void ShowFinishMessage(std::string_view text) override;

    // Pane lines and notices, in order, as UTF-8: "status Site: 更新なし", "error Site: ...",
    // "results Site 1", "finish 1 件の更新がありました", "lock", "unlock", "clear", ...
    std::vector<std::string> events;
    std::string status_text;  // the status bar's last text, UTF-8
    int finished = 0;

    bool Has(std::string_view event) const;
    int Count(std::string_view prefix) const;
};

}  // namespace velnora::fetch::test
