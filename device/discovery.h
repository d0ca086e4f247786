// Finding, opening and checking the mouse, the presence poll `DevTimerTimer`, `ReFindDev`
// and the device-gone handling; the connection record lives here.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "device/clock.h"
#include "device/device_events.h"
#include "device/hid_transport.h"
#include "device/link.h"
#include "image/image.h"
#include "image/types.h"

namespace nivra {

// MemoryType and memoryTypeName come from image/types.h.

struct DeviceId {
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    bool tried() const { return vendorId != 0 && productId != 0; }
    bool operator==(const DeviceId&) const = default;
};

// What discovery needs from built-in image 1 and the layout table.
struct DiscoveryConfig {
    std::array<DeviceId, 2> deviceTable{};        // entry 1 stays (0, 0)
    std::uint8_t manufacturerId = 0xFF;           // built-in image 1 byte 484
    std::uint8_t productId = 0xFF;                // built-in image 1 byte 485
    std::uint8_t reserveManufacturerId = 0;       // layout key Rev_Manu_ID
    std::uint8_t reserveProductId = 0;            // layout key Rev_Pro_ID
    MemoryType systemMemoryType = MemoryType::I2C;  // from byte 495 of built-in image 1

    // Device table entry 0 from bytes 0-3 (big-endian), IDs from 484/485, memory type from 495.
    static DiscoveryConfig fromBuiltinImage(const Image& image1, std::uint8_t reserveManufacturerId = 0,
                                            std::uint8_t reserveProductId = 0);
};

// The connection record. Handles are nullptr ("invalid") while not open.
struct Connection {
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    std::size_t featureReportLength = 0;
    std::size_t inputReportLength = 0;
    std::string path;
    std::string product;  // the USB product string of the interface
    std::shared_ptr<HidHandle> command;
    std::shared_ptr<HidHandle> reply;
    std::shared_ptr<HidHandle> notification;
};

// The collection of an interface that carries the mouse's protocol: the first top-level
// collection with an 8-byte feature report (the interface itself when it lists no
// collections). None when the interface does not qualify.
std::optional<HidCollectionInfo> vendorCollection(const HidInterfaceInfo& info);

// How ReadDevInfo ended.
enum class IdentifyOutcome {
    NotIdentified,   // identify refused or its reply does not mark an I2C mouse: silent
    MemoryTypeError, // built-in image 1 is not I2C: the memory-type message and the no-device state
    IdsRefused,      // ID bytes not accepted: the IDs-refused message
    Accepted,        // the whole-image read was started
};

struct IdentifyResult {
    IdentifyOutcome outcome = IdentifyOutcome::NotIdentified;
    protocol::DataBytes identifyReply{};
    std::uint8_t manufacturerId = 0xFF;   // bytes 484, 485 as read (when they were read)
    std::uint8_t productId = 0xFF;
};

// Runs on the UI thread, except connection(), connectedMemoryType(), inputReportLength()
// and waitNotificationHandle(), which the notification thread may call too. The transport,
// clock, link and events must outlive it; it closes its handles when it goes.
class Discovery {
public:
    Discovery(HidTransport& transport, Clock& clock, Link& link, DiscoveryConfig config, DeviceEvents& events);
    ~Discovery();
    Discovery(const Discovery&) = delete;
    Discovery& operator=(const Discovery&) = delete;

    const DiscoveryConfig& config() const { return config_; }

    // How many present HID interfaces can be opened.
    std::size_t CountHidInterfaces();

    // Examines every interface; keeps the last one with these IDs and a collection with an
    // 8-byte feature report (vendorCollection), opens its notification handle, sends identify and reads one data report to set
    // up the command and reply handles (a match whose identify or reply fails leaves those
    // of an earlier match in place). True when one was found. Refused (false, nothing
    // changed) when called from inside another exchange.
    bool OpenMouse(std::uint32_t vendorId, std::uint32_t productId);

    // A present interface of a device table mouse (one with the 8-byte feature report) that
    // this user may not open; none when there is none.
    std::optional<HidInterfaceInfo> deniedMouseInterface();

    // Identify, memory type and ID check of the open mouse; on success calls MouseAccepted.
    IdentifyResult ReadDevInfo();

    // The presence poll, one tick of `DevTimer` (every 3500 ms while it runs).
    void DevTimerTimer();
    // Called by the UI's timer every kDevTimerInterval; runs DevTimerTimer while the poll runs.
    void devTimerTick();
    void StartDevTimer();
    void StopDevTimer();
    bool devTimerRunning() const;
    static constexpr Clock::Duration kDevTimerInterval{3500};

    // After a restart: clears the connection record, opens the mouse through the device
    // table, then ReadDevInfo. When no entry opens, runs the device-gone handling. True
    // when the mouse was opened.
    bool ReFindDev();

    // The device-gone handling: clears the connected memory type, then DeviceGone above.
    void deviceGoneHandling();

    // Closes every handle and clears the connection record (the mouse went away, or the
    // program ends). Wakes the notification thread out of its read.
    void closeConnection();

    MemoryType connectedMemoryType() const;
    Connection connection() const;      // a copy of the record
    std::size_t storedCount() const;    // the interface count seen at the last change

    // For the notification thread: the current notification handle, waiting while there is
    // none or while it is still `failed` (a handle whose read failed: its mouse is gone and
    // reading it again would only fail again). Returns nullptr once `stop` is requested.
    std::shared_ptr<HidHandle> waitNotificationHandle(std::stop_token stop, const HidHandle* failed = nullptr);
    std::size_t inputReportLength() const;

private:
    void setConnection(Connection c);
    // False when called from inside an exchange of this thread (a splash hook).
    bool outsideExchanges();

    HidTransport& transport_;
    Clock& clock_;
    Link& link_;
    DiscoveryConfig config_;
    DeviceEvents& events_;

    mutable std::mutex mutex_;          // guards conn_, memoryType_; notifies handleChanged_
    std::condition_variable_any handleChanged_;
    Connection conn_;
    MemoryType memoryType_ = MemoryType::None;

    std::size_t storedCount_ = 0;
    bool inPoll_ = false;               // re-entrancy flag of DevTimerTimer
    bool devTimerRunning_ = false;
};

}  // namespace nivra
