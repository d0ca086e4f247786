// `TPrimeThread`: reads the mouse's notification reports and, 200 ms after a key release,
// reads the CPI level or mode byte and hands it to the UI thread.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "device/clock.h"
#include "device/device_events.h"
#include "device/discovery.h"
#include "device/link.h"

namespace nivra {

class NotificationThread {
public:
    NotificationThread(Discovery& discovery, Link& link, Clock& clock, DeviceEvents& events);
    ~NotificationThread();   // stops and joins
    NotificationThread(const NotificationThread&) = delete;
    NotificationThread& operator=(const NotificationThread&) = delete;

    // Starts the thread at below-normal priority; it runs until stop().
    void start();
    // Asks the thread to end, wakes it out of its read and joins it.
    void stop();
    bool running() const { return thread_.joinable(); }

    // Handles one input report as the thread does (exposed for tests that feed reports
    // without a thread).
    void handleReport(std::span<const std::uint8_t> report);

    // The pending event flags: CPI events 1, 2, 4 and the mode event 8.
    struct Flags {
        bool cpi1 = false, cpi2 = false, cpi4 = false, mode = false;
    };
    Flags flags() const;

    static constexpr Clock::Duration kRefreshDelay{200};

private:
    void run(std::stop_token stop);
    void refresh(std::uint16_t address, bool cpi);

    Discovery& discovery_;
    Link& link_;
    Clock& clock_;
    DeviceEvents& events_;
    std::mutex readingMutex_;
    std::shared_ptr<HidHandle> reading_;   // the handle the thread is blocked on, for stop()
    std::atomic<bool> cpi1_{false}, cpi2_{false}, cpi4_{false}, mode_{false};
    std::jthread thread_;
};

}  // namespace nivra
