#include "text/yield.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace velnora::text {

namespace {
std::atomic<unsigned> yield_counter{0};
}

void Yield(int milliseconds) {
    if (yield_counter.fetch_add(1, std::memory_order_relaxed) % 30 != 29) {
        return;
    }
    if (milliseconds <= 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

}  // namespace velnora::text
