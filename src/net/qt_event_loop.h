#pragma once

// The fetch's event loop on top of Qt's: posted tasks and the 250 ms tick of a check run on
// the thread that made the loop. Its QObject and timer are members and have no Qt parent: a
// parent would delete them a second time.

#include <QObject>
#include <QTimer>

#include "fetch/event_loop.h"

namespace velnora::net {

class QtEventLoop : public fetch::EventLoop {
  public:
    QtEventLoop();
    ~QtEventLoop() override;

    void Post(std::function<void()> task) override;
    void StartTicks(std::function<void()> tick) override;
    void StopTicks() override;
    bool TicksRunning() const override;

  private:
    QObject context_;
    QTimer timer_;
    std::function<void()> tick_;
};

}  // namespace velnora::net
