// The injectable clock every wait of the device link goes through: the real clock sleeps
// and lets the UI run between steps; the virtual clock makes waits instant for tests.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace nivra {

class Clock {
public:
    using Duration = std::chrono::milliseconds;

    virtual ~Clock() = default;

    // Time since the clock's own epoch; never goes backwards.
    virtual Duration now() const = 0;

    // Waits `total` in steps of `step` (the last step may be shorter). Between steps the
    // pump runs when the waiting thread is the one that installed it, so the UI thread keeps
    // processing its messages while it waits and other threads never run UI code.
    void waitFor(Duration total, Duration step = Duration(10));

    // Installs the pump for the calling thread (typically the UI thread running
    // QCoreApplication::processEvents). An empty function removes it.
    void setPump(std::function<void()> pump);

protected:
    // Lets `d` pass: the real clock sleeps, the virtual clock advances at once.
    virtual void pass(Duration d) = 0;

private:
    std::mutex pumpMutex_;
    std::function<void()> pump_;
    std::thread::id pumpThread_;
};

// The steady clock of the machine.
class SystemClock final : public Clock {
public:
    SystemClock();
    Duration now() const override;

protected:
    void pass(Duration d) override;

private:
    std::chrono::steady_clock::time_point epoch_;
};

// A clock that only moves when somebody waits on it or calls advance(). Safe to share
// between threads; every wait returns at once.
class VirtualClock final : public Clock {
public:
    Duration now() const override { return Duration(now_.load()); }
    void advance(Duration d) { now_.fetch_add(d.count()); }

protected:
    void pass(Duration d) override { advance(d); }

private:
    std::atomic<Duration::rep> now_{0};
};

}  // namespace nivra
