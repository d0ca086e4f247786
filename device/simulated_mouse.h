// A simulated mouse behind the HID transport: the firmware's side of the feature-report
// protocol on a 2048-byte memory, notification reports, restart, other HID devices of the
// PC, and fault injection for tests. Used by the tests and by --simulate.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/clock.h"
#include "device/hid_transport.h"
#include "device/protocol.h"
#include "image/image.h"

namespace nivra {

// A fault injected at one report of a run. Reports are numbered from 1 over every report
// of every handle, sent or read (input reports included), in the order a report trace
// lists them. A fault whose kind does not fit report `at` (a refused send on a read) falls
// on the next report that fits.
enum class ReportFaultKind {
    RefuseSet,     // a feature report sent is refused: the mouse does not take it
    FailGet,       // a feature report read fails: its answer is lost on the way
    Vanish,        // the mouse is gone from that report on
    VanishReturn,  // gone at that report, back at the next discovery (enumeration)
};
struct ReportFault {
    ReportFaultKind kind = ReportFaultKind::RefuseSet;
    std::size_t at = 1;
};
// "refuse-set@12" and the like; nullopt for anything else.
std::optional<ReportFault> parseReportFault(std::string_view text);
// "refuse-set", "fail-get", "vanish", "vanish-return".
const char* reportFaultName(ReportFaultKind kind);

class SimulatedMouse final : public HidTransport {
public:
    // The two interfaces of the mouse. The vendor interface carries the protocol (feature
    // reports 0x40/0x41 of 7 bytes, input report 0x42 of 7 bytes); the pointer interface is an
    // ordinary mouse whose feature report has another length.
    static constexpr const char* kVendorPath = "sim:mouse/vendor";
    static constexpr const char* kPointerPath = "sim:mouse/pointer";
    // The product string of its USB description.
    static constexpr const char* kProduct = "Nivra Gaming Mouse";

    // The report descriptors of the two interfaces; their lengths are measured by the same
    // parser as a real interface's.
    static std::span<const std::uint8_t> vendorDescriptor();
    static std::span<const std::uint8_t> pointerDescriptor();

    // Memory from `memory`. Like the firmware, the mouse takes its USB IDs from memory bytes
    // 0-3 when it powers up or restarts (the defaults 1BCF:08B8 when the vendor section's
    // check byte is wrong). A set-bytes write into the vendor or user section recomputes that
    // section's check byte, as a persisting firmware must. Handles it gives out must not
    // outlive it.
    SimulatedMouse(Clock& clock, const Image& memory);
    ~SimulatedMouse() override;

    // Takes `bytes` as its memory (as read from a memory file) and powers up from it; false
    // (and a message in `error`) when they are not 2048 bytes. The mouse is unchanged then.
    bool loadMemory(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

    // --- HidTransport --------------------------------------------------------------
    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    bool permissionDenied(const std::string& path) override;
    std::string productName(const std::string& path) override;

    // --- State -----------------------------------------------------------------------
    Image memory() const;
    void setMemory(const Image& memory);
    std::uint8_t xdata(std::uint16_t address) const;
    void setXdata(std::uint16_t address, std::uint8_t value);
    // The profile the firmware runs (0..2); re-selected when 164 gets 0x0F, then the mode byte.
    int activeProfile() const;
    std::uint16_t vendorId() const;
    std::uint16_t productId() const;

    // The identify reply bytes 1..3 (default 0x10 0x3A 0xC0: an I2C EEPROM).
    void setIdentifyReply(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

    // --- Presence ----------------------------------------------------------------------
    bool present() const;
    void unplug();
    void plugIn();
    // How long the mouse is gone after a restart command (default 4 s on the clock).
    void setRestartDowntime(Clock::Duration downtime);
    int restartCount() const;

    // Other HID interfaces of the PC (keyboards, ...); they answer no reports.
    std::string addOtherDevice(std::uint16_t vendorId, std::uint16_t productId,
                               std::size_t featureLength = 0, std::size_t inputLength = 9);
    void removeOtherDevice(const std::string& path);

    // --- Notifications -----------------------------------------------------------------
    // Queues an input report as the firmware sends it (report ID first).
    void sendInputReport(std::vector<std::uint8_t> report);
    // A key event: [42 00 00 event 00 00 00 00], then the release [42 00 00 00 ...].
    void sendKeyEvent(std::uint8_t event);
    // A CPI button: sets the current level (166) and sends `event` (1, 2 or 4), then release.
    void pressCpiButton(std::uint8_t newLevel, std::uint8_t event = 1);
    // The profile button: selects `mode` (low nibble of 164) and sends event 8, then release.
    void pressProfileButton(std::uint8_t mode);

    // --- Faults ------------------------------------------------------------------------
    // The mouse's interfaces are present but may not be opened by this user (a missing
    // udev rule): open() gives nothing and permissionDenied() says why.
    void denyOpen(bool deny);
    void refuseCommandReports(bool refuse);
    void failDataReads(bool fail);
    // The mouse vanishes (as unplugged) after it has handled `k` more feature reports.
    void vanishAfterReports(std::size_t k);

    // Feature reports handled since construction (SET and GET on the vendor interface).
    std::size_t reportCount() const;

    // Adds a fault at a report of the run (see ReportFault); each fires once.
    void addReportFault(ReportFault fault);
    // Reports of the run so far, numbered as the faults count them.
    std::size_t runReportCount() const;

    class Handle;

private:
    friend class Handle;
    struct Other {
        HidInterfaceInfo info;
    };
    bool presentLocked() const;
    void goneLocked();
    void powerUpLocked();
    bool handleSetLocked(std::span<const std::uint8_t> report);
    bool handleGetLocked(std::span<std::uint8_t> report);
    bool countReportLocked();
    enum class Direction { Set, Get, In };
    // Counts one report of the run and fires the faults due there; true when the report
    // itself must fail (refused or lost). A vanish makes the mouse absent at once.
    bool runReportLocked(Direction direction);

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable inputArrived_;
    Image memory_{};
    std::vector<std::uint8_t> xdata_;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::array<std::uint8_t, 3> identifyReply_{0x10, 0x3A, 0xC0};
    int activeProfile_ = 0;
    bool profileReselectArmed_ = false;

    // The data phase that follows a command report.
    enum class Phase { None, Read, Write };
    Phase phase_ = Phase::None;
    std::vector<std::uint8_t> pendingRead_;   // bytes still to return, seven per report
    std::size_t readPos_ = 0;
    std::size_t writeAddress_ = 0;
    std::size_t writeRemaining_ = 0;

    bool plugged_ = true;
    std::optional<Clock::Duration> backAt_;   // gone after a restart until this time
    Clock::Duration restartDowntime_{4000};
    int restarts_ = 0;
    std::uint64_t generation_ = 0;            // bumps whenever the mouse goes away

    bool refuseCommands_ = false;
    bool failDataReads_ = false;
    bool denyOpen_ = false;
    std::optional<std::size_t> vanishAfter_;
    std::size_t reports_ = 0;
    std::vector<ReportFault> faults_;   // not fired yet
    std::size_t runReports_ = 0;
    bool returnAtDiscovery_ = false;    // a vanish-return fired: back at the next enumeration

    std::deque<std::vector<std::uint8_t>> inputQueue_;
    std::map<std::string, Other> others_;
    int nextOther_ = 0;
};

}  // namespace nivra
