#pragma once

// What the check needs of the event loop of the thread it runs on.

#include <functional>

namespace velnora::fetch {

// The period of a check's tick: time-outs are counted in ticks.
inline constexpr int kTickMilliseconds = 250;

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Runs the task on the loop's thread, after what is already queued. Callable from any
    // thread (the processing worker hands its results over with it).
    virtual void Post(std::function<void()> task) = 0;
    // Calls tick every kTickMilliseconds until StopTicks.
    virtual void StartTicks(std::function<void()> tick) = 0;
    virtual void StopTicks() = 0;
    virtual bool TicksRunning() const = 0;
};

}  // namespace velnora::fetch
