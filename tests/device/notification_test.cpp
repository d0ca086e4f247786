// The notification thread: which reports trigger which refresh and when, and a threaded run
// where key events arrive while the UI thread moves whole images.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <thread>

#include "device/discovery.h"
#include "device/notification_thread.h"
#include "tests/device/support.h"

namespace nivra {
namespace {

using Calls = std::vector<std::string>;

// Posts land in a queue that the test's "UI thread" drains, as a Qt event loop would.
class QueuedEvents : public test::RecordingEvents {
public:
    void postToUi(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(fn));
        arrived_.notify_all();
    }
    // Runs what was posted; returns how many ran.
    std::size_t drain() {
        std::deque<std::function<void()>> batch;
        {
            std::lock_guard lock(mutex_);
            batch.swap(posted_);
        }
        for (auto& fn : batch) fn();
        std::lock_guard lock(mutex_);
        drained_ += batch.size();
        return batch.size();
    }
    void RefreshCurrentDPIStatus(std::uint8_t v) override {
        offUiThread = offUiThread || std::this_thread::get_id() != uiThread;
        RecordingEvents::RefreshCurrentDPIStatus(v);
    }
    void RefreshCurrentProfileStatus(std::uint8_t v) override {
        offUiThread = offUiThread || std::this_thread::get_id() != uiThread;
        RecordingEvents::RefreshCurrentProfileStatus(v);
    }
    const std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<bool> offUiThread{false};

    // Waits (without a timed sleep) until `n` posts have been made in total.
    void waitForPosts(std::size_t n) {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [&] { return total() >= n; });
    }

private:
    std::size_t total() const { return posted_.size() + drained_; }
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> posted_;
    std::size_t drained_ = 0;
};

struct NotifyRig {
    VirtualClock clock;
    SimulatedMouse mouse{clock, test::mouseImage()};
    std::shared_ptr<ReportTrace> trace = std::make_shared<ReportTrace>();
    std::unique_ptr<HidTransport> transport = tracedTransport(mouse, trace);
    Link link;
    test::RecordingEvents events;
    Discovery discovery{*transport, clock, link, DiscoveryConfig::fromBuiltinImage(test::mouseImage()), events};

    NotifyRig() {
        discovery.OpenMouse(0x1BCF, 0x08B8);
        trace->clearLines();
    }
};

std::vector<std::uint8_t> input(std::uint8_t id, std::uint8_t event) { return {id, 0, 0, event, 0, 0, 0, 0}; }

TEST(NotificationReports, RefreshFollowsTheReleaseAfter200ms) {
    struct Case {
        const char* what;
        std::vector<std::vector<std::uint8_t>> reports;
        Calls expected;      // byte 166 of the test memory is 0x8D, byte 164 0x7F
        long long elapsedMs; // clock time spent after the last report
    };
    const Case cases[] = {
        {"CPI event 2, then release", {input(0x42, 2), input(0x42, 0)}, {"RefreshCurrentDPIStatus 141"}, 200},
        {"CPI events 1 and 4: one refresh each", {input(0x42, 1), input(0x42, 4), input(0x42, 0)},
         {"RefreshCurrentDPIStatus 141", "RefreshCurrentDPIStatus 141"}, 400},
        {"the same CPI event twice: one refresh", {input(0x42, 2), input(0x42, 2), input(0x42, 0)},
         {"RefreshCurrentDPIStatus 141"}, 200},
        {"mode event", {input(0x42, 8), input(0x42, 0)}, {"RefreshCurrentProfileStatus 127"}, 200},
        {"CPI and mode: CPI first", {input(0x42, 8), input(0x42, 1), input(0x42, 0)},
         {"RefreshCurrentDPIStatus 141", "RefreshCurrentProfileStatus 127"}, 400},
        {"release alone", {input(0x42, 0)}, {}, 0},
        {"event without release", {input(0x42, 2)}, {}, 0},
        {"unknown event value", {input(0x42, 3), input(0x42, 0)}, {}, 0},
        {"another report ID", {input(0x01, 2), input(0x01, 0)}, {}, 0},
        {"short report", {{0x42, 0, 2}, input(0x42, 0)}, {}, 0},
    };
    for (const Case& c : cases) {
        NotifyRig rig;
        NotificationThread nt(rig.discovery, rig.link, rig.clock, rig.events);
        for (std::size_t i = 0; i + 1 < c.reports.size(); ++i) nt.handleReport(c.reports[i]);
        const Clock::Duration before = rig.clock.now();
        nt.handleReport(c.reports.back());
        EXPECT_EQ(rig.events.calls(), c.expected) << c.what;
        EXPECT_EQ((rig.clock.now() - before).count(), c.elapsedMs) << c.what;
        const auto f = nt.flags();
        EXPECT_FALSE(f.cpi1 || f.cpi4 || f.mode) << c.what;
    }
}

TEST(NotificationReports, RefreshReadsOneByteOfTheMouse) {
    NotifyRig rig;
    NotificationThread nt(rig.discovery, rig.link, rig.clock, rig.events);
    nt.handleReport(input(0x42, 1));
    nt.handleReport(input(0x42, 8));
    nt.handleReport(input(0x42, 0));
    const Calls expected = {"SET 40 09 00 A6 00 01 00 00", "GET 41 8D 00 00 00 00 00 00",
                            "SET 40 09 00 A4 00 01 00 00", "GET 41 7F 00 00 00 00 00 00"};
    EXPECT_EQ(rig.trace->lines(), expected);

    // With no mouse open there is nothing to read and nothing is posted.
    rig.discovery.closeConnection();
    rig.events.clear();
    nt.handleReport(input(0x42, 2));
    nt.handleReport(input(0x42, 0));
    EXPECT_TRUE(rig.events.calls().empty());
}

// Checks that every command's data reports follow it with nothing in between. Input reports
// travel apart from feature reports and may come anywhere.
void expectWholeExchanges(const std::vector<std::string>& lines) {
    std::size_t pendingGets = 0, pendingSets = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.starts_with("IN ")) continue;
        if (pendingGets) {
            ASSERT_TRUE(l.starts_with("GET 41")) << "line " << i << ": " << l;
            --pendingGets;
            continue;
        }
        if (pendingSets) {
            ASSERT_TRUE(l.starts_with("SET 41")) << "line " << i << ": " << l;
            --pendingSets;
            continue;
        }
        ASSERT_TRUE(l.starts_with("SET 40")) << "line " << i << ": " << l;
        const unsigned code = std::stoul(l.substr(7, 2), nullptr, 16);
        const std::size_t length = std::stoul(l.substr(16, 2) + l.substr(19, 2), nullptr, 16);
        if (code == 0x09 || code == 0x06) pendingGets = protocol::dataReportCount(length);
        if (code == 0x07) pendingSets = protocol::dataReportCount(length);
    }
    EXPECT_EQ(pendingGets + pendingSets, 0u);
}

TEST(NotificationThread, KeyEventsDuringWholeImageExchangesNeverInterleave) {
    NotifyRig rig;
    QueuedEvents events;
    NotificationThread nt(rig.discovery, rig.link, rig.clock, events);
    nt.start();

    constexpr int kKeyEvents = 40;
    std::thread keys([&] {
        for (int i = 0; i < kKeyEvents; ++i) {
            if (i % 4 == 3)
                rig.mouse.pressProfileButton(static_cast<std::uint8_t>(i % 3));
            else
                rig.mouse.pressCpiButton(static_cast<std::uint8_t>(i % 8), static_cast<std::uint8_t>(1 << (i % 3)));
            std::this_thread::yield();
        }
    });

    // The UI thread: whole-image reads and writes, draining posted refreshes between them.
    std::size_t refreshed = 0;
    Image image{};
    for (int round = 0; round < 6 || refreshed < kKeyEvents; ++round) {
        ASSERT_TRUE(rig.link.ReadBlock(0, 2048, image, Splash::With));
        ASSERT_TRUE(rig.link.WriteBlock(0, 2048, image));
        const std::size_t before = events.calls().size();
        events.drain();
        refreshed += events.calls().size() - before;
        if (round == 5) events.waitForPosts(kKeyEvents);
    }
    keys.join();
    nt.stop();

    EXPECT_EQ(refreshed, static_cast<std::size_t>(kKeyEvents));
    EXPECT_FALSE(events.offUiThread);
    const std::vector<std::string> lines = rig.trace->lines();
    expectWholeExchanges(lines);
    const auto oneByteReads = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l == "SET 40 09 00 A6 00 01 00 00" || l == "SET 40 09 00 A4 00 01 00 00";
    });
    EXPECT_EQ(oneByteReads, kKeyEvents);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("IN 42"); }),
              2 * kKeyEvents);
}

TEST(NotificationThread, StopsWhileBlockedAndWaitsQuietlyWithoutAMouse) {
    NotifyRig rig;
    NotificationThread nt(rig.discovery, rig.link, rig.clock, rig.events);
    nt.start();
    // The mouse goes away under a blocked read: the thread waits for a new handle instead of
    // failing on the dead one again and again.
    rig.mouse.unplug();
    rig.discovery.closeConnection();
    EXPECT_TRUE(nt.running());
    nt.stop();
    EXPECT_FALSE(nt.running());

    // Started with no mouse at all, it stops as promptly.
    NotificationThread idle(rig.discovery, rig.link, rig.clock, rig.events);
    idle.start();
    idle.stop();
    EXPECT_TRUE(rig.events.calls().empty());
}

}  // namespace
}  // namespace nivra
