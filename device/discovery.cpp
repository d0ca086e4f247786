// Discovery and connection: the enumeration passes, opening and identifying the mouse, the
// presence poll and the device-gone handling.
#include "device/discovery.h"

#include "device/protocol.h"

#include <algorithm>

namespace nivra {
namespace {

constexpr std::size_t kVendorFeatureLength = protocol::kReportLength;
constexpr std::uint16_t kIdentityAt = 484;
constexpr std::uint16_t kIdentityLength = 12;
constexpr std::size_t kPollPairs = 5;
constexpr std::size_t kPairsThatMustAgree = 2;
constexpr Clock::Duration kArrivalWait{2100};
constexpr Clock::Duration kArrivalWaitStep{100};

}  // namespace

std::optional<HidCollectionInfo> vendorCollection(const HidInterfaceInfo& info) {
    if (info.collections.empty()) {
        if (info.featureReportLength != kVendorFeatureLength) return std::nullopt;
        return HidCollectionInfo{0, 0, info.featureReportLength, info.inputReportLength, info.outputReportLength};
    }
    for (const HidCollectionInfo& c : info.collections)
        if (c.featureReportLength == kVendorFeatureLength) return c;
    return std::nullopt;
}

DiscoveryConfig DiscoveryConfig::fromBuiltinImage(const Image& image1, std::uint8_t reserveManufacturerId,
                                                  std::uint8_t reserveProductId) {
    DiscoveryConfig c;
    c.deviceTable[0] = DeviceId{static_cast<std::uint32_t>(image1[0] << 8 | image1[1]),
                                static_cast<std::uint32_t>(image1[2] << 8 | image1[3])};
    c.deviceTable[1] = DeviceId{};
    c.manufacturerId = image1[region::kIdentity.offset];
    c.productId = image1[region::kIdentity.offset + 1];
    c.reserveManufacturerId = reserveManufacturerId;
    c.reserveProductId = reserveProductId;
    c.systemMemoryType = image1[region::kIdentity.end() - 1] == kI2cMarker ? MemoryType::I2C : MemoryType::Flash;
    return c;
}

Discovery::Discovery(HidTransport& transport, Clock& clock, Link& link, DiscoveryConfig config,
                     DeviceEvents& events)
    : transport_(transport), clock_(clock), link_(link), config_(config), events_(events) {}

Discovery::~Discovery() { closeConnection(); }

std::size_t Discovery::CountHidInterfaces() { return transport_.count(); }

bool Discovery::OpenMouse(std::uint32_t vendorId, std::uint32_t productId) {
    // Asked from inside another exchange (the UI repainting in a transfer's splash): its
    // identify would come between that exchange's reports, and its new handles would cut
    // the transfer short. Nothing changes then.
    if (!outsideExchanges()) return false;
    bool found = false;
    Connection kept;
    for (const HidInterfaceInfo& info : transport_.enumerate()) {
        std::unique_ptr<HidHandle> first = transport_.open(info.path);
        if (!first) continue;
        // Interfaces that are not the vendor interface are closed again as soon as they are
        // seen (the handle goes out of scope).
        // A node whose vendor collection shares the USB interface with others (a keyboard
        // beside it) qualifies through that collection; the reports use its lengths.
        const std::optional<HidCollectionInfo> vendor = vendorCollection(info);
        if (!vendor) continue;
        if (info.vendorId != vendorId || info.productId != productId) continue;

        found = true;
        Connection c;
        c.vendorId = info.vendorId;
        c.productId = info.productId;
        c.featureReportLength = vendor->featureReportLength;
        c.inputReportLength = vendor->inputReportLength;
        c.path = info.path;
        c.product = transport_.productName(info.path);
        c.notification = transport_.open(info.path);
        // A match whose identify is refused (or whose reply cannot be read) does not take
        // the command (or reply) handle from an earlier match that answered.
        c.command = std::move(kept.command);
        c.reply = std::move(kept.reply);
        std::shared_ptr<HidHandle> handle(std::move(first));
        {
            // The first identify and its reply set up the command and reply handles; the
            // reply itself is not examined. Held as one exchange so that a notification
            // read on an earlier handle cannot come between.
            // Refused inside another exchange (opened from a splash hook): no identify then.
            Link::Exchange exchange(link_);
            if (exchange.entered() &&
                handle->setFeature(protocol::commandReport(static_cast<std::uint8_t>(protocol::Command::Identify)))) {
                c.command = handle;
                protocol::Report reply = protocol::dataRequest();
                if (handle->getFeature(reply)) c.reply = handle;
            }
        }
        // When several interfaces match, the last one examined is kept for the record and
        // the notification handle; handles no longer needed close here.
        kept = std::move(c);
    }
    if (found) setConnection(std::move(kept));
    return found;
}

bool Discovery::outsideExchanges() {
    Link::Exchange probe(link_);
    return probe.entered();
}

void Discovery::setConnection(Connection c) {
    std::shared_ptr<HidHandle> oldNotification;
    // The link takes its new handles first (waiting for a running exchange to end), outside
    // our own lock, so the two locks are never held together.
    link_.setHandles(c.command, c.reply);
    {
        std::lock_guard lock(mutex_);
        oldNotification = std::move(conn_.notification);
        conn_ = std::move(c);
    }
    // Wake the notification thread out of a read on the replaced handle.
    if (oldNotification) oldNotification->cancelRead();
    handleChanged_.notify_all();
}

void Discovery::closeConnection() {
    setConnection(Connection{});
}

IdentifyResult Discovery::ReadDevInfo() {
    IdentifyResult result;
    bool accepted;
    {
        Link::Exchange exchange(link_);
        accepted = link_.SendCommand(static_cast<std::uint8_t>(protocol::Command::Identify));
        if (accepted) link_.ReadData();
        result.identifyReply = link_.reply();
    }
    if (!accepted || !protocol::identifiesI2c(result.identifyReply)) return result;

    {
        std::lock_guard lock(mutex_);
        memoryType_ = MemoryType::I2C;
    }
    if (config_.systemMemoryType == MemoryType::Flash) {
        result.outcome = IdentifyOutcome::MemoryTypeError;
        events_.ShowMemoryTypeError();
        events_.RefreshErrorAP();
        return result;
    }

    std::array<std::uint8_t, kIdentityLength> identity{};
    // A refused read would leave 0xFF 0xFF, the very pair the shipped images accept: a mouse
    // that does not answer is not taken for an accepted one.
    if (!link_.ReadBlock(kIdentityAt, kIdentityLength, identity).complete()) return result;
    result.manufacturerId = identity[0];
    result.productId = identity[1];
    events_.ShowReadIds(identity[0], identity[1]);

    const bool builtinPair = identity[0] == config_.manufacturerId && identity[1] == config_.productId;
    const bool reservePair =
        identity[0] == config_.reserveManufacturerId && identity[1] == config_.reserveProductId;
    if (builtinPair || reservePair) {
        result.outcome = IdentifyOutcome::Accepted;
        events_.MouseAccepted();
        return result;
    }
    result.outcome = IdentifyOutcome::IdsRefused;
    StopDevTimer();
    events_.ShowIdsRefused();
    StartDevTimer();
    return result;
}

void Discovery::DevTimerTimer() {
    if (inPoll_) return;
    // A tick delivered while the UI repaints in the middle of an exchange (the splash
    // of a block transfer) is left to the next one: its open and identify would come
    // between that exchange's reports and cut the transfer short in the mouse.
    if (!outsideExchanges()) return;
    inPoll_ = true;

    std::size_t agreeing = 0;
    std::size_t current = 0;
    for (std::size_t pair = 0; pair < kPollPairs; ++pair) {
        const std::size_t a = CountHidInterfaces();
        const std::size_t b = CountHidInterfaces();
        if (a == b) ++agreeing;
        current = b;
    }

    if (current != storedCount_ && agreeing >= kPairsThatMustAgree) {
        if (current < storedCount_) {
            deviceGoneHandling();
            closeConnection();
        } else {
            clock_.waitFor(kArrivalWait, kArrivalWaitStep);
            bool opened = false;
            for (const DeviceId& entry : config_.deviceTable) {
                if (!entry.tried()) continue;
                if (OpenMouse(entry.vendorId, entry.productId)) {
                    ReadDevInfo();
                    opened = true;
                    break;
                }
                // No interface of the mouse is present: handles of an earlier connection
                // lead nowhere, so they are closed with the device-gone handling.
                deviceGoneHandling();
                closeConnection();
            }
            // A mouse that is there but may not be opened is not "no mouse": the user
            // needs to hear what fixes it.
            if (!opened) {
                if (const auto denied = deniedMouseInterface()) events_.MousePermissionDenied(denied->path);
            }
        }
        storedCount_ = current;
    }
    inPoll_ = false;
}

std::optional<HidInterfaceInfo> Discovery::deniedMouseInterface() {
    for (const HidInterfaceInfo& info : transport_.enumerate()) {
        if (!vendorCollection(info)) continue;
        const bool listed = std::any_of(config_.deviceTable.begin(), config_.deviceTable.end(), [&](const DeviceId& e) {
            return e.tried() && e.vendorId == info.vendorId && e.productId == info.productId;
        });
        if (listed && transport_.permissionDenied(info.path)) return info;
    }
    return std::nullopt;
}

void Discovery::devTimerTick() {
    if (devTimerRunning_) DevTimerTimer();
}

void Discovery::StartDevTimer() {
    devTimerRunning_ = true;
    events_.DevTimerChanged(true);
}

void Discovery::StopDevTimer() {
    devTimerRunning_ = false;
    events_.DevTimerChanged(false);
}

bool Discovery::devTimerRunning() const { return devTimerRunning_; }

bool Discovery::ReFindDev() {
    if (!outsideExchanges()) return false;
    closeConnection();
    for (const DeviceId& entry : config_.deviceTable) {
        if (!entry.tried()) continue;
        if (OpenMouse(entry.vendorId, entry.productId)) {
            ReadDevInfo();
            return true;
        }
        deviceGoneHandling();
    }
    return false;
}

void Discovery::deviceGoneHandling() {
    {
        std::lock_guard lock(mutex_);
        memoryType_ = MemoryType::None;
    }
    events_.DeviceGone();
}

MemoryType Discovery::connectedMemoryType() const {
    std::lock_guard lock(mutex_);
    return memoryType_;
}

Connection Discovery::connection() const {
    std::lock_guard lock(mutex_);
    return conn_;
}

std::size_t Discovery::storedCount() const { return storedCount_; }

std::size_t Discovery::inputReportLength() const {
    std::lock_guard lock(mutex_);
    return conn_.inputReportLength;
}

std::shared_ptr<HidHandle> Discovery::waitNotificationHandle(std::stop_token stop, const HidHandle* failed) {
    std::unique_lock lock(mutex_);
    handleChanged_.wait(lock, stop, [&] { return conn_.notification && conn_.notification.get() != failed; });
    if (stop.stop_requested()) return nullptr;
    return conn_.notification;
}

}  // namespace nivra
