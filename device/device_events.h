// What the device link asks of the layers above: the UI effects of discovery, the
// identity check and the notification thread, as calls on the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace nivra {

// Every call except postToUi() comes on the UI thread (the notification thread reaches
// the others only through postToUi). The defaults do nothing, so a command-line tool or a
// test overrides only what it watches.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;

    // The mouse passed identify and the ID check: start the whole-image read.
    virtual void MouseAccepted() {}
    // The manufacturer and product ID bytes read from the mouse (484, 485), for the
    // engineer page's read-ID fields.
    virtual void ShowReadIds(std::uint8_t manufacturerId, std::uint8_t productId) {
        (void)manufacturerId;
        (void)productId;
    }
    // The ID bytes were refused: the IDs-refused message box with an empty caption; returns when it
    // is closed. The presence poll is stopped meanwhile and started again afterwards.
    virtual void ShowIdsRefused() {}
    // Built-in image 1 is not an I2C image: the memory-type message. RefreshErrorAP follows.
    virtual void ShowMemoryTypeError() {}
    // Enter the no-device state (InitNoDevice with the busy flag set, then the pages).
    virtual void RefreshErrorAP() {}
    // The UI part of the device-gone handling, in this order: hide open menus, clear the
    // no-device flag, stop `LabelRun`, RefreshErrorAP, clear the device macro lists and the
    // LED type, show the covering labels, the mouse-removed message. The link
    // has already cleared the connected memory type.
    virtual void DeviceGone() {}
    // The notification thread read the current CPI level (user byte 166) or the mode byte
    // (user byte 164) after a key event.
    virtual void RefreshCurrentDPIStatus(std::uint8_t currentCpiLevel) { (void)currentCpiLevel; }
    virtual void RefreshCurrentProfileStatus(std::uint8_t modeByte) { (void)modeByte; }
    // A mouse of the device table is present, but this user may not open its interface at
    // `path` (no udev rule): the presence poll found it and could not open it.
    virtual void MousePermissionDenied(const std::string& path) { (void)path; }
    // The presence poll `DevTimer` was started (true) or stopped (false).
    virtual void DevTimerChanged(bool running) { (void)running; }

    // Runs `fn` on the UI thread. Called from the notification thread; the UI posts it to its
    // event loop (QMetaObject::invokeMethod with a queued connection). Default: runs it here.
    virtual void postToUi(std::function<void()> fn) { fn(); }
};

}  // namespace nivra
