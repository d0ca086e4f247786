// Every key and mouse button of an X11 desktop, whichever window is in front, from the X
// server's XInput2 raw events on the root window. Plain C++ over Xlib: the owner watches
// fd() and calls dispatchPending() when it is readable (or after any wait of its own).
#pragma once

#include "macro/key_events.h"
#include "macro/input_source.h"

#include <cstdint>
#include <memory>
#include <string>

namespace nivra {

// What the key of an X keycode tells the capture-row mapping: the Qt key the keysym
// stands for, the keypad flag, the keysym and the keycode.
KeyEventIdentity keyIdentityOfKeysym(std::uint32_t keysym, std::uint32_t keycode);

class XInputListener {
public:
    // Opens its own connection to `display` ("" = $DISPLAY) and selects raw key and button
    // events of all master devices. Null when there is no X server or no XInput 2.0.
    static std::unique_ptr<XInputListener> open(const std::string& display = {});
    ~XInputListener();
    XInputListener(const XInputListener&) = delete;
    XInputListener& operator=(const XInputListener&) = delete;

    int fd() const;
    // Reads every event the server has sent and hands keys and buttons to `sink`;
    // returns the number handed on.
    int dispatchPending(RecordingInputSink& sink);
    // A round trip to the server: events caused by requests sent before it have arrived.
    void sync();

private:
    struct Impl;
    explicit XInputListener(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace nivra
