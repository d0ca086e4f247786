// The desktop backends of the pointer settings, each on its own so that tests can build one
// against a fake of the layer below it: GNOME through GIO, KDE Plasma through its
// configuration files and KWin, X11 through the XInput device properties of the libinput
// driver or the core pointer control of the older drivers.
#pragma once

#include "settings/pointer_settings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nivra {

// GNOME's org.gnome.desktop.peripherals.mouse through GIO (loaded on first use); null when
// GIO or the schema is missing.
std::unique_ptr<PointerBackend> gnomePointerBackend();

// ---------------------------------------------------------------- X11

// The calls the X11 backends make, one for one with Xlib's and XInput's, so that a fake can
// stand in for the server: property values travel as the raw items XIGetProperty returns.
class XInputLayer {
public:
    struct Device {
        int id = 0;
        QString name;
    };
    struct Property {
        std::string type;                 // the type atom's name: "FLOAT", "INTEGER"
        int format = 0;                   // 8, 16 or 32 bits an item
        std::vector<std::uint8_t> items;  // format/8 bytes an item, in the machine's order
    };
    struct PointerControl {
        int numerator = 1;
        int denominator = 1;
        int threshold = 0;
    };

    virtual ~XInputLayer() = default;
    // The enabled pointer devices (XISlavePointer).
    virtual std::vector<Device> pointers() = 0;
    virtual std::optional<Property> property(int device, const char* name) = 0;
    // Replaces the property's value; false when the server refused it.
    virtual bool setProperty(int device, const char* name, const Property& value) = 0;
    virtual std::optional<PointerControl> pointerControl() = 0;
    virtual bool setPointerControl(const PointerControl& control) = 0;
};

// The X display of $DISPLAY with XInput 2; null where there is none.
std::unique_ptr<XInputLayer> openXInputLayer();

// "X11 libinput" when a pointer device carries libinput's acceleration properties, otherwise
// "X11" on the core pointer control (the evdev driver and older ones).
std::unique_ptr<PointerBackend> x11PointerBackend(std::unique_ptr<XInputLayer> layer);

// ---------------------------------------------------------------- KDE Plasma

// KWin's pointer devices over D-Bus (Plasma on Wayland).
class KwinPointerDevices {
public:
    virtual ~KwinPointerDevices() = default;
    // The kcminputrc group of each pointer device, as KWin keeps the device's settings for
    // the next session: "Libinput][1133][49291][Mouse name".
    virtual std::vector<QString> configGroups() = 0;
    // Speed and profile of the first pointer device.
    virtual PointerValues read() = 0;
    // Speed and profile of every pointer device; false when none took them.
    virtual bool write(const PointerValues& values) = 0;
};

// KWin's input devices on the session bus; null without the bus or KWin's input service.
std::unique_ptr<KwinPointerDevices> openKwinPointerDevices();

struct KdeLinks {
    // Applies speed and profile at once: KWin on Wayland (and keeps them for the next
    // session in per-device groups of kcminputrc) ...
    std::unique_ptr<KwinPointerDevices> kwin;
    // ... or the X11 devices in an X11 session.
    std::unique_ptr<PointerBackend> x11;
    // Tells Plasma's programs to read kdeglobals again.
    std::function<void()> notifySettingsChanged;
};

// KDE Plasma 5 and 6: double-click interval and wheel lines in kdeglobals, the mouse's
// acceleration and profile in kcminputrc, both below `configDir` ($XDG_CONFIG_HOME).
std::unique_ptr<PointerBackend> kdePointerBackend(QString configDir, KdeLinks links);

// Tells Plasma over D-Bus that the mouse settings of kdeglobals changed.
void notifyKdeMouseSettingsChanged();

// ---------------------------------------------------------------- KConfig files

// A value of a KDE configuration file (groups "[KDE]", "[Libinput][1][2][name]", lines
// "key=value"); nullopt when the file, the group or the key is missing.
std::optional<QString> kconfigValue(const QString& path, const QString& group, const QString& key);
// Sets values of one group and keeps every other line as it was; false when the file could
// not be written or the group or the file is marked immutable ("[$i]").
bool setKconfigValues(const QString& path, const QString& group, const std::vector<std::pair<QString, QString>>& values);

}  // namespace nivra
