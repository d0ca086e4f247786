// The simulated mouse: firmware behaviour of the vendor interface (commands, data phases,
// identify, profile re-selection, restart), its notification reports, and the PC's other
// HID interfaces.
#include "device/simulated_mouse.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "device/report_descriptor.h"

namespace nivra {
namespace {

// Vendor page 0xFF00: feature reports 0x40 and 0x41 and input report 0x42, 7 bytes each.
constexpr std::uint8_t kVendorDescriptor[] = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x07,        //   Report Count (7)
    0x85, 0x40,        //   Report ID (0x40): command
    0x09, 0x02,        //   Usage (2)
    0xB1, 0x02,        //   Feature (Data, Var, Abs)
    0x85, 0x41,        //   Report ID (0x41): data
    0x09, 0x03,        //   Usage (3)
    0xB1, 0x02,        //   Feature (Data, Var, Abs)
    0x85, 0x42,        //   Report ID (0x42): notification
    0x09, 0x04,        //   Usage (4)
    0x81, 0x02,        //   Input (Data, Var, Abs)
    0xC0,              // End Collection
};

// An ordinary wheel mouse: input report 1 (5 buttons, 16-bit X/Y, wheel) and a one-byte
// feature report 2 (resolution multiplier).
constexpr std::uint8_t kPointerDescriptor[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x05,        //     Usage Maximum (5)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x95, 0x05,        //     Report Count (5)
    0x75, 0x01,        //     Report Size (1)
    0x81, 0x02,        //     Input (Data, Var, Abs)
    0x95, 0x01,        //     Report Count (1)
    0x75, 0x03,        //     Report Size (3)
    0x81, 0x01,        //     Input (Const)
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x16, 0x01, 0x80,  //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,  //     Logical Maximum (32767)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x06,        //     Input (Data, Var, Rel)
    0xA1, 0x02,        //     Collection (Logical)
    0x85, 0x02,        //       Report ID (2)
    0x09, 0x48,        //       Usage (Resolution Multiplier)
    0x15, 0x00,        //       Logical Minimum (0)
    0x25, 0x01,        //       Logical Maximum (1)
    0x35, 0x01,        //       Physical Minimum (1)
    0x45, 0x04,        //       Physical Maximum (4)
    0x75, 0x02,        //       Report Size (2)
    0x95, 0x01,        //       Report Count (1)
    0xB1, 0x02,        //       Feature (Data, Var, Abs)
    0x75, 0x06,        //       Report Size (6)
    0xB1, 0x01,        //       Feature (Const)
    0x85, 0x01,        //       Report ID (1)
    0x35, 0x00,        //       Physical Minimum (0)
    0x45, 0x00,        //       Physical Maximum (0)
    0x09, 0x38,        //       Usage (Wheel)
    0x15, 0x81,        //       Logical Minimum (-127)
    0x25, 0x7F,        //       Logical Maximum (127)
    0x75, 0x08,        //       Report Size (8)
    0x95, 0x01,        //       Report Count (1)
    0x81, 0x06,        //       Input (Data, Var, Rel)
    0xC0,              //     End Collection
    0xC0,              //   End Collection
    0xC0,              // End Collection
};

constexpr std::uint16_t kDefaultVendorId = 0x1BCF;
constexpr std::uint16_t kDefaultProductId = 0x08B8;
constexpr std::size_t kXdataSize = 0x10000;
constexpr std::uint8_t kModeByte = 164;
constexpr std::uint8_t kCurrentCpiLevel = 166;
constexpr std::uint8_t kReselectMarker = 0x0F;

}  // namespace

std::span<const std::uint8_t> SimulatedMouse::vendorDescriptor() { return kVendorDescriptor; }
std::span<const std::uint8_t> SimulatedMouse::pointerDescriptor() { return kPointerDescriptor; }

// A handle on one of the simulated interfaces. It dies (every call fails) when the device
// goes away, as a real hidraw handle does when the mouse is unplugged or restarts.
class SimulatedMouse::Handle final : public HidHandle {
public:
    enum class Kind { Vendor, Pointer, Other };
    Handle(SimulatedMouse& mouse, Kind kind, std::string path, std::uint64_t generation)
        : mouse_(mouse), kind_(kind), path_(std::move(path)), generation_(generation) {}

    bool setFeature(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mouse_.mutex_);
        const bool fault = mouse_.runReportLocked(Direction::Set);
        if (fault || !aliveLocked() || kind_ != Kind::Vendor) return false;
        return mouse_.handleSetLocked(report);
    }

    bool getFeature(std::span<std::uint8_t> report) override {
        std::lock_guard lock(mouse_.mutex_);
        const bool fault = mouse_.runReportLocked(Direction::Get);
        if (!aliveLocked() || kind_ != Kind::Vendor) return false;
        // A lost answer: the mouse sent it (its read goes on), the caller never got it.
        const bool ok = mouse_.handleGetLocked(report);
        return ok && !fault;
    }

    int readInput(std::span<std::uint8_t> report) override {
        std::unique_lock lock(mouse_.mutex_);
        mouse_.inputArrived_.wait(lock, [&] {
            return cancelled_ || !aliveLocked() || (kind_ == Kind::Vendor && !mouse_.inputQueue_.empty());
        });
        if (cancelled_ || !aliveLocked()) return -1;
        mouse_.runReportLocked(Direction::In);
        if (!aliveLocked()) return -1;
        std::vector<std::uint8_t> r = std::move(mouse_.inputQueue_.front());
        mouse_.inputQueue_.pop_front();
        const std::size_t n = std::min(r.size(), report.size());
        std::copy_n(r.begin(), n, report.begin());
        return static_cast<int>(n);
    }

    void cancelRead() override {
        std::lock_guard lock(mouse_.mutex_);
        cancelled_ = true;
        mouse_.inputArrived_.notify_all();
    }

private:
    bool aliveLocked() const {
        if (kind_ == Kind::Other) return mouse_.others_.count(path_) != 0;
        return mouse_.generation_ == generation_ && mouse_.presentLocked();
    }

    SimulatedMouse& mouse_;
    Kind kind_;
    std::string path_;
    std::uint64_t generation_;
    bool cancelled_ = false;   // under mouse_.mutex_
};

SimulatedMouse::SimulatedMouse(Clock& clock, const Image& memory)
    : clock_(clock), memory_(memory), xdata_(kXdataSize, 0) {
    powerUpLocked();
}

SimulatedMouse::~SimulatedMouse() = default;

void SimulatedMouse::powerUpLocked() {
    const std::span<const std::uint8_t> vendor(memory_.data(), region::kVendor.length);
    if (sectionCheckByte(vendor) == vendor.back()) {
        vendorId_ = static_cast<std::uint16_t>(memory_[0] << 8 | memory_[1]);
        productId_ = static_cast<std::uint16_t>(memory_[2] << 8 | memory_[3]);
    } else {
        vendorId_ = kDefaultVendorId;
        productId_ = kDefaultProductId;
    }
    activeProfile_ = std::min(memory_[kModeByte] & 0x0F, 2);
    phase_ = Phase::None;
    profileReselectArmed_ = false;
}

bool SimulatedMouse::loadMemory(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() != kImageSize) {
        if (error) *error = "holds " + std::to_string(bytes.size()) + " bytes, not 2048";
        return false;
    }
    std::lock_guard lock(mutex_);
    std::copy(bytes.begin(), bytes.end(), memory_.begin());
    powerUpLocked();
    return true;
}

std::vector<HidInterfaceInfo> SimulatedMouse::enumerate() {
    static const ReportLengths vendor = measureReportDescriptor(kVendorDescriptor);
    static const ReportLengths pointer = measureReportDescriptor(kPointerDescriptor);
    std::lock_guard lock(mutex_);
    if (returnAtDiscovery_) {
        // The mouse that vanished for a moment is plugged in again when it is looked for.
        returnAtDiscovery_ = false;
        plugged_ = true;
        backAt_.reset();
        powerUpLocked();
    }
    std::vector<HidInterfaceInfo> all;
    if (presentLocked()) {
        // The pointer interface first, as the mouse's interface 0; the vendor one is interface 1.
        all.push_back({kPointerPath, vendorId_, productId_, pointer.feature, pointer.input, pointer.output, {}});
        all.push_back({kVendorPath, vendorId_, productId_, vendor.feature, vendor.input, vendor.output, {}});
    }
    for (const auto& [path, other] : others_) all.push_back(other.info);
    return all;
}

std::unique_ptr<HidHandle> SimulatedMouse::open(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (path == kVendorPath || path == kPointerPath) {
        if (!presentLocked() || denyOpen_) return nullptr;
        const auto kind = path == kVendorPath ? Handle::Kind::Vendor : Handle::Kind::Pointer;
        return std::make_unique<Handle>(*this, kind, path, generation_);
    }
    if (others_.count(path)) return std::make_unique<Handle>(*this, Handle::Kind::Other, path, 0);
    return nullptr;
}

std::string SimulatedMouse::productName(const std::string& path) {
    return path == kVendorPath || path == kPointerPath ? kProduct : std::string();
}

bool SimulatedMouse::permissionDenied(const std::string& path) {
    std::lock_guard lock(mutex_);
    return denyOpen_ && presentLocked() && (path == kVendorPath || path == kPointerPath);
}

void SimulatedMouse::denyOpen(bool deny) {
    std::lock_guard lock(mutex_);
    denyOpen_ = deny;
}

Image SimulatedMouse::memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

void SimulatedMouse::setMemory(const Image& memory) {
    std::lock_guard lock(mutex_);
    memory_ = memory;
}

std::uint8_t SimulatedMouse::xdata(std::uint16_t address) const {
    std::lock_guard lock(mutex_);
    return xdata_[address];
}

void SimulatedMouse::setXdata(std::uint16_t address, std::uint8_t value) {
    std::lock_guard lock(mutex_);
    xdata_[address] = value;
}

int SimulatedMouse::activeProfile() const {
    std::lock_guard lock(mutex_);
    return activeProfile_;
}

std::uint16_t SimulatedMouse::vendorId() const {
    std::lock_guard lock(mutex_);
    return vendorId_;
}

std::uint16_t SimulatedMouse::productId() const {
    std::lock_guard lock(mutex_);
    return productId_;
}

void SimulatedMouse::setIdentifyReply(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    std::lock_guard lock(mutex_);
    identifyReply_ = {b1, b2, b3};
}

bool SimulatedMouse::presentLocked() const {
    return plugged_ && (!backAt_ || clock_.now() >= *backAt_);
}

bool SimulatedMouse::present() const {
    std::lock_guard lock(mutex_);
    return presentLocked();
}

void SimulatedMouse::goneLocked() {
    ++generation_;
    phase_ = Phase::None;
    inputQueue_.clear();
    inputArrived_.notify_all();
}

void SimulatedMouse::unplug() {
    std::lock_guard lock(mutex_);
    plugged_ = false;
    goneLocked();
}

void SimulatedMouse::plugIn() {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    backAt_.reset();
    powerUpLocked();
}

void SimulatedMouse::setRestartDowntime(Clock::Duration downtime) {
    std::lock_guard lock(mutex_);
    restartDowntime_ = downtime;
}

int SimulatedMouse::restartCount() const {
    std::lock_guard lock(mutex_);
    return restarts_;
}

std::string SimulatedMouse::addOtherDevice(std::uint16_t vendorId, std::uint16_t productId,
                                           std::size_t featureLength, std::size_t inputLength) {
    std::lock_guard lock(mutex_);
    std::string path = "sim:other/" + std::to_string(nextOther_++);
    others_[path] = Other{HidInterfaceInfo{path, vendorId, productId, featureLength, inputLength, 0, {}}};
    return path;
}

void SimulatedMouse::removeOtherDevice(const std::string& path) {
    std::lock_guard lock(mutex_);
    others_.erase(path);
    inputArrived_.notify_all();
}

void SimulatedMouse::sendInputReport(std::vector<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (!presentLocked()) return;
    inputQueue_.push_back(std::move(report));
    inputArrived_.notify_all();
}

void SimulatedMouse::sendKeyEvent(std::uint8_t event) {
    sendInputReport({protocol::kNotificationReportId, 0, 0, event, 0, 0, 0, 0});
    sendInputReport({protocol::kNotificationReportId, 0, 0, protocol::kEventRelease, 0, 0, 0, 0});
}

void SimulatedMouse::pressCpiButton(std::uint8_t newLevel, std::uint8_t event) {
    {
        std::lock_guard lock(mutex_);
        memory_[kCurrentCpiLevel] = newLevel;
    }
    sendKeyEvent(event);
}

void SimulatedMouse::pressProfileButton(std::uint8_t mode) {
    {
        std::lock_guard lock(mutex_);
        memory_[kModeByte] = static_cast<std::uint8_t>((memory_[kModeByte] & 0xF0) | (mode & 0x0F));
        activeProfile_ = std::min(mode & 0x0F, 2);
    }
    sendKeyEvent(protocol::kEventMode);
}

void SimulatedMouse::refuseCommandReports(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseCommands_ = refuse;
}

void SimulatedMouse::failDataReads(bool fail) {
    std::lock_guard lock(mutex_);
    failDataReads_ = fail;
}

void SimulatedMouse::vanishAfterReports(std::size_t k) {
    std::lock_guard lock(mutex_);
    vanishAfter_ = k;
}

std::size_t SimulatedMouse::reportCount() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

void SimulatedMouse::addReportFault(ReportFault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(fault);
}

std::size_t SimulatedMouse::runReportCount() const {
    std::lock_guard lock(mutex_);
    return runReports_;
}

bool SimulatedMouse::runReportLocked(Direction direction) {
    ++runReports_;
    bool fail = false;
    for (auto it = faults_.begin(); it != faults_.end();) {
        const bool fits = it->kind == ReportFaultKind::Vanish || it->kind == ReportFaultKind::VanishReturn ||
                          (it->kind == ReportFaultKind::RefuseSet && direction == Direction::Set) ||
                          (it->kind == ReportFaultKind::FailGet && direction == Direction::Get);
        if (runReports_ < it->at || !fits) {
            ++it;
            continue;
        }
        if (it->kind == ReportFaultKind::Vanish || it->kind == ReportFaultKind::VanishReturn) {
            plugged_ = false;
            goneLocked();
            if (it->kind == ReportFaultKind::VanishReturn) returnAtDiscovery_ = true;
        }
        fail = true;
        it = faults_.erase(it);
    }
    return fail;
}

const char* reportFaultName(ReportFaultKind kind) {
    switch (kind) {
    case ReportFaultKind::RefuseSet: return "refuse-set";
    case ReportFaultKind::FailGet: return "fail-get";
    case ReportFaultKind::Vanish: return "vanish";
    case ReportFaultKind::VanishReturn: return "vanish-return";
    }
    return "";
}

std::optional<ReportFault> parseReportFault(std::string_view text) {
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view kind = text.substr(0, at);
    const std::string_view number = text.substr(at + 1);
    ReportFault f;
    bool known = false;
    for (ReportFaultKind k : {ReportFaultKind::RefuseSet, ReportFaultKind::FailGet, ReportFaultKind::Vanish,
                              ReportFaultKind::VanishReturn})
        if (kind == reportFaultName(k)) {
            f.kind = k;
            known = true;
        }
    if (!known || number.empty() || number.size() > 9) return std::nullopt;
    std::size_t n = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (n == 0) return std::nullopt;
    f.at = n;
    return f;
}

// Counts one feature report; false when the mouse vanishes instead (the injected fault of
// vanishAfterReports), so the report gets no answer.
bool SimulatedMouse::countReportLocked() {
    if (vanishAfter_) {
        if (*vanishAfter_ == 0) {
            vanishAfter_.reset();
            plugged_ = false;
            goneLocked();
            return false;
        }
        --*vanishAfter_;
    }
    ++reports_;
    return true;
}

bool SimulatedMouse::handleSetLocked(std::span<const std::uint8_t> r) {
    if (!countReportLocked()) return false;
    if (r.size() < protocol::kReportLength) return false;

    if (r[0] == protocol::kDataReportId) {
        // Data for a block write; outside one the firmware drops it.
        if (phase_ != Phase::Write) return true;
        const std::size_t n = std::min(protocol::kDataBytes, writeRemaining_);
        for (std::size_t k = 0; k < n; ++k) {
            if (writeAddress_ + k < kImageSize) memory_[writeAddress_ + k] = r[1 + k];
        }
        writeAddress_ += n;
        writeRemaining_ -= n;
        if (writeRemaining_ == 0) phase_ = Phase::None;
        return true;
    }
    if (r[0] != protocol::kCommandReportId) return false;
    if (refuseCommands_) return false;

    // A new command ends any data phase still open.
    phase_ = Phase::None;
    const std::size_t address = static_cast<std::size_t>(r[2]) << 8 | r[3];
    const std::size_t length = static_cast<std::size_t>(r[4]) << 8 | r[5];
    auto startRead = [&](std::size_t from, std::size_t count) {
        pendingRead_.assign(count, 0xFF);
        for (std::size_t k = 0; k < count; ++k) {
            if (from + k < kImageSize) pendingRead_[k] = memory_[from + k];
        }
        readPos_ = 0;
        phase_ = count ? Phase::Read : Phase::None;
    };

    switch (static_cast<protocol::Command>(r[1])) {
    case protocol::Command::XdataWrite:
        xdata_[address] = r[4];
        break;
    case protocol::Command::XdataRead:
        pendingRead_.assign({xdata_[address]});
        readPos_ = 0;
        phase_ = Phase::Read;
        break;
    case protocol::Command::SetBytes: {
        const std::size_t offset = r[protocol::kSetOffsetAt];
        const bool form1 = r[protocol::kSetFormAt] == 1;
        const std::size_t count = form1 ? 4 : std::min<std::size_t>(r[protocol::kSetCountAt], 3);
        for (std::size_t k = 0; k < count; ++k) memory_[offset + k] = r[protocol::kSetDataAt + k];
        // A persisting firmware keeps the check byte of a section it changes valid, so a
        // live edit survives the next whole-image read and power-up.
        for (const Region section : {region::kVendor, region::kUser}) {
            if (offset < section.end() && offset + count > section.offset) {
                const std::span<std::uint8_t> bytes(memory_.data() + section.offset, section.length);
                bytes.back() = sectionCheckByte(bytes);
            }
        }
        // 0x0F, then the mode byte, written to 164 makes the firmware select that mode's profile.
        if (offset == kModeByte && !form1 && count >= 1) {
            const std::uint8_t v = r[protocol::kSetDataAt];
            if (v == kReselectMarker) {
                profileReselectArmed_ = true;
            } else {
                if (profileReselectArmed_) activeProfile_ = std::min(v & 0x0F, 2);
                profileReselectArmed_ = false;
            }
        }
        break;
    }
    case protocol::Command::GetBytes:
        startRead(address, r[5]);
        break;
    case protocol::Command::BlockWrite:
        writeAddress_ = address;
        writeRemaining_ = length;
        phase_ = length ? Phase::Write : Phase::None;
        break;
    case protocol::Command::BlockRead:
        startRead(address, length);
        break;
    case protocol::Command::Identify:
        pendingRead_.assign({identifyReply_[0], identifyReply_[1], identifyReply_[2]});
        readPos_ = 0;
        phase_ = Phase::Read;
        break;
    case protocol::Command::Restart:
        ++restarts_;
        backAt_ = clock_.now() + restartDowntime_;
        goneLocked();
        powerUpLocked();
        break;
    default:
        break;   // unknown commands are accepted and do nothing
    }
    return true;
}

bool SimulatedMouse::handleGetLocked(std::span<std::uint8_t> r) {
    if (!countReportLocked()) return false;
    if (r.size() < protocol::kReportLength || r[0] != protocol::kDataReportId) return false;
    if (failDataReads_) return false;
    std::fill(r.begin() + 1, r.end(), 0x00);
    if (phase_ == Phase::Read) {
        for (std::size_t k = 0; k < protocol::kDataBytes && readPos_ < pendingRead_.size(); ++k)
            r[1 + k] = pendingRead_[readPos_++];
        if (readPos_ >= pendingRead_.size()) phase_ = Phase::None;
    }
    return true;
}

}  // namespace nivra
