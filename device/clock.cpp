// The real and the virtual clock, and the stepped wait they share.
#include "device/clock.h"

#include <algorithm>

namespace nivra {

void Clock::waitFor(Duration total, Duration step) {
    if (step <= Duration::zero()) step = total;
    std::function<void()> pump;
    {
        std::lock_guard lock(pumpMutex_);
        if (pump_ && pumpThread_ == std::this_thread::get_id()) pump = pump_;
    }
    Duration left = total;
    while (left > Duration::zero()) {
        const Duration d = std::min(step, left);
        pass(d);
        left -= d;
        if (pump) pump();
    }
}

void Clock::setPump(std::function<void()> pump) {
    std::lock_guard lock(pumpMutex_);
    pump_ = std::move(pump);
    pumpThread_ = std::this_thread::get_id();
}

SystemClock::SystemClock() : epoch_(std::chrono::steady_clock::now()) {}

Clock::Duration SystemClock::now() const {
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - epoch_);
}

void SystemClock::pass(Duration d) { std::this_thread::sleep_for(d); }

}  // namespace nivra
