#include "net/qt_event_loop.h"

#include <QMetaObject>

namespace velnora::net {

QtEventLoop::QtEventLoop() {
    timer_.setInterval(fetch::kTickMilliseconds);
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] {
        if (tick_) {
            tick_();
        }
    });
}

QtEventLoop::~QtEventLoop() {
    timer_.stop();
}

void QtEventLoop::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

void QtEventLoop::StartTicks(std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.start();
}

void QtEventLoop::StopTicks() {
    timer_.stop();
}

bool QtEventLoop::TicksRunning() const {
    return timer_.isActive();
}

}  // namespace velnora::net
