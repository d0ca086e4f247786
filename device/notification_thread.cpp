// The notification thread: blocks on the mouse's input reports, keeps the event flags and,
// on a release, reads the CPI level or the mode byte through the link and posts it to the UI.
#include "device/notification_thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace nivra {
namespace {

constexpr std::uint16_t kModeByteAt = 164;
constexpr std::uint16_t kCurrentCpiLevelAt = 166;
constexpr int kBelowNormalNice = 5;

}  // namespace

NotificationThread::NotificationThread(Discovery& discovery, Link& link, Clock& clock, DeviceEvents& events)
    : discovery_(discovery), link_(link), clock_(clock), events_(events) {}

NotificationThread::~NotificationThread() { stop(); }

void NotificationThread::start() {
    if (thread_.joinable()) return;
    thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
}

void NotificationThread::stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    {
        std::lock_guard lock(readingMutex_);
        if (reading_) reading_->cancelRead();
    }
    thread_.join();
}

NotificationThread::Flags NotificationThread::flags() const {
    return Flags{cpi1_.load(), cpi2_.load(), cpi4_.load(), mode_.load()};
}

void NotificationThread::run(std::stop_token stop) {
    // Below normal priority: the thread only keeps a display current. Best effort; a
    // refused change leaves the thread at normal priority.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBelowNormalNice);

    std::shared_ptr<HidHandle> failed;
    while (!stop.stop_requested()) {
        std::shared_ptr<HidHandle> handle = discovery_.waitNotificationHandle(stop, failed.get());
        if (!handle) break;
        {
            std::lock_guard lock(readingMutex_);
            // stop() cancels the handle it finds here; one requested before is seen here.
            if (stop.stop_requested()) break;
            reading_ = handle;
        }
        std::vector<std::uint8_t> report(std::max<std::size_t>(discovery_.inputReportLength(), protocol::kReportLength), 0);
        const int n = handle->readInput(report);
        {
            std::lock_guard lock(readingMutex_);
            reading_.reset();
        }
        if (n <= 0) {
            // Cancelled (handle replaced or closed) or the mouse is gone: wait for another handle
            // rather than failing on this one in a busy loop.
            failed = std::move(handle);
            continue;
        }
        failed.reset();
        report.resize(static_cast<std::size_t>(n));
        handleReport(report);
    }
}

void NotificationThread::handleReport(std::span<const std::uint8_t> report) {
    if (report.size() <= protocol::kNotificationEventAt || report[0] != protocol::kNotificationReportId) return;
    switch (report[protocol::kNotificationEventAt]) {
    case 1: cpi1_ = true; break;
    case 2: cpi2_ = true; break;
    case 4: cpi4_ = true; break;
    case protocol::kEventMode: mode_ = true; break;
    case protocol::kEventRelease:
        for (std::atomic<bool>* flag : {&cpi1_, &cpi2_, &cpi4_}) {
            if (!flag->load()) continue;
            clock_.waitFor(kRefreshDelay);
            refresh(kCurrentCpiLevelAt, true);
            *flag = false;
        }
        if (mode_) {
            clock_.waitFor(kRefreshDelay);
            refresh(kModeByteAt, false);
            mode_ = false;
        }
        break;
    default:
        break;
    }
}

void NotificationThread::refresh(std::uint16_t address, bool cpi) {
    std::array<std::uint8_t, 1> value{};
    // No mouse to ask (handle invalid, command refused, no data report): nothing new to show.
    if (!link_.ReadBlock(address, 1, value).complete()) return;
    const std::uint8_t v = value[0];
    DeviceEvents& events = events_;
    if (cpi)
        events_.postToUi([&events, v] { events.RefreshCurrentDPIStatus(v); });
    else
        events_.postToUi([&events, v] { events.RefreshCurrentProfileStatus(v); });
}

}  // namespace nivra
