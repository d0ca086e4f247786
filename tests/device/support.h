// Shared fixtures of the device tests: a mouse memory image, a simulated mouse with a traced
// link, and a recorder of the calls the link makes into the layers above.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/device_events.h"
#include "device/link.h"
#include "device/report_trace.h"
#include "device/simulated_mouse.h"
#include "image/image.h"

namespace nivra::test {

// A mouse memory whose bytes differ from their neighbours, so an offset error shows; the
// identity of the shipped mouse (1BCF:08B8, IDs FF FF, I2C marker) and valid check bytes.
inline Image mouseImage() {
    Image m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::uint8_t head[] = {0x1B, 0xCF, 0x08, 0xB8};
    std::copy(std::begin(head), std::end(head), m.begin());
    m[484] = 0xFF;
    m[485] = 0xFF;
    m[495] = 0xE0;
    for (Region r : {region::kVendor, region::kUser, region::kProfile1, region::kProfile2, region::kProfile3})
        m[r.end() - 1] = sectionCheckByte(std::span<const std::uint8_t>(m.data() + r.offset, r.length));
    return m;
}

// The simulated mouse opened on its vendor interface, every report traced in memory.
struct LinkRig {
    VirtualClock clock;
    SimulatedMouse mouse{clock, mouseImage()};
    std::shared_ptr<ReportTrace> trace = std::make_shared<ReportTrace>();
    std::unique_ptr<HidTransport> transport = tracedTransport(mouse, trace);
    Link link;

    LinkRig() {
        std::shared_ptr<HidHandle> h = transport->open(SimulatedMouse::kVendorPath);
        link.setHandles(h, h);
    }
};

// Records every call into the layers above as a short line, thread-safely.
class RecordingEvents : public DeviceEvents {
public:
    void MouseAccepted() override { add("MouseAccepted"); }
    void ShowReadIds(std::uint8_t m, std::uint8_t p) override {
        add("ShowReadIds " + std::to_string(m) + " " + std::to_string(p));
    }
    void ShowIdsRefused() override {
        add("ShowIdsRefused");
        if (onRefused) onRefused();
    }
    void ShowMemoryTypeError() override { add("ShowMemoryTypeError"); }
    void RefreshErrorAP() override { add("RefreshErrorAP"); }
    void DeviceGone() override { add("DeviceGone"); }
    void RefreshCurrentDPIStatus(std::uint8_t v) override { add("RefreshCurrentDPIStatus " + std::to_string(v)); }
    void RefreshCurrentProfileStatus(std::uint8_t v) override {
        add("RefreshCurrentProfileStatus " + std::to_string(v));
    }
    void DevTimerChanged(bool running) override { add(running ? "StartDevTimer" : "StopDevTimer"); }
    void MousePermissionDenied(const std::string& path) override { add("MousePermissionDenied " + path); }

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    void add(std::string s) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(s));
    }

    std::function<void()> onRefused;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

}  // namespace nivra::test
