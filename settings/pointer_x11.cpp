// The X11 backends of the pointer settings. Under the libinput driver (every current X11
// desktop) the acceleration lives in each pointer device's XInput properties "libinput Accel
// Speed" (-1..1) and "libinput Accel Profile Enabled" (adaptive, flat[, custom]); the core
// pointer control does nothing there. Older drivers (evdev) only have the core control.
#include "settings/pointer_backends.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef NIVRA_HAVE_XI
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#endif

namespace nivra {

namespace {

constexpr const char* kAccelSpeed = "libinput Accel Speed";
constexpr const char* kAccelProfile = "libinput Accel Profile Enabled";
// Only touchpads carry it: their acceleration is not the mouse's.
constexpr const char* kTapping = "libinput Tapping Enabled";

std::optional<float> floatOf(const XInputLayer::Property& p) {
    if (p.type != "FLOAT" || p.format != 32 || p.items.size() < 4) return std::nullopt;
    float f = 0;
    std::memcpy(&f, p.items.data(), sizeof f);
    return std::isfinite(f) ? std::optional<float>(f) : std::nullopt;
}

XInputLayer::Property floatProperty(float f) {
    XInputLayer::Property p{"FLOAT", 32, std::vector<std::uint8_t>(4)};
    std::memcpy(p.items.data(), &f, sizeof f);
    return p;
}

class LibinputBackend final : public PointerBackend {
public:
    LibinputBackend(std::unique_ptr<XInputLayer> layer, std::vector<int> devices)
        : layer_(std::move(layer)), devices_(std::move(devices)) {}

    QString name() const override { return QStringLiteral("X11 libinput"); }
    bool holds(PointerSetting s) const override { return s == PointerSetting::Speed || s == PointerSetting::Precision; }

    PointerValues read() override {
        PointerValues v;
        for (int id : devices_) {
            const auto speed = layer_->property(id, kAccelSpeed);
            const auto f = speed ? floatOf(*speed) : std::nullopt;
            if (!f) continue;
            v.speed = speedOfDesktop(*f);
            const auto profile = layer_->property(id, kAccelProfile);
            if (profile && profile->format == 8 && profile->items.size() >= 2)
                v.precision = profile->items[0] != 0;
            break;
        }
        return v;
    }

    // Every mouse takes the values; false when one refused them or there was none to take them.
    bool write(const PointerValues& v) override {
        if (v.doubleClickMs || v.wheelLines) return false;
        bool ok = !devices_.empty();
        for (int id : devices_) {
            if (v.speed) ok = layer_->setProperty(id, kAccelSpeed, floatProperty(static_cast<float>(desktopSpeedOf(*v.speed)))) && ok;
            if (v.precision) {
                // One flag an available profile: adaptive, flat and, with newer drivers, custom.
                auto profile = layer_->property(id, kAccelProfile);
                if (!profile || profile->format != 8 || profile->items.size() < 2) {
                    ok = false;
                    continue;
                }
                std::fill(profile->items.begin(), profile->items.end(), std::uint8_t{0});
                profile->items[*v.precision ? 0 : 1] = 1;
                ok = layer_->setProperty(id, kAccelProfile, *profile) && ok;
            }
        }
        return ok;
    }

private:
    std::unique_ptr<XInputLayer> layer_;
    std::vector<int> devices_;
};

// The core pointer control: motion past `threshold` counts is multiplied by
// numerator/denominator. A threshold of 0 would switch the server to its polynomial curve,
// so "no acceleration" is threshold 1: the pointer-speed factor (speed / 10) then applies
// to all motion alike. Precision on doubles the factor past 6 counts.
class CorePointerBackend final : public PointerBackend {
public:
    explicit CorePointerBackend(std::unique_ptr<XInputLayer> layer) : layer_(std::move(layer)) {}

    QString name() const override { return QStringLiteral("X11"); }
    bool holds(PointerSetting s) const override { return s == PointerSetting::Speed || s == PointerSetting::Precision; }

    PointerValues read() override {
        PointerValues v;
        const auto c = layer_->pointerControl();
        if (!c || c->denominator <= 0 || c->numerator <= 0) return v;
        const bool precision = c->threshold != 1;
        const double factor = static_cast<double>(c->numerator) / c->denominator / (precision ? 2 : 1);
        v.speed = static_cast<int>(std::clamp(std::lround(factor * 10), 1L, 20L));
        v.precision = precision;
        return v;
    }

    bool write(const PointerValues& v) override {
        if (v.doubleClickMs || v.wheelLines) return false;
        // The control holds both settings at once: the one not written keeps its value.
        const PointerValues now = read();
        const int speed = v.speed.value_or(now.speed.value_or(10));
        const bool precision = v.precision.value_or(now.precision.value_or(true));
        return layer_->setPointerControl({precision ? 2 * speed : speed, 10, precision ? 6 : 1});
    }

private:
    std::unique_ptr<XInputLayer> layer_;
};

#ifdef NIVRA_HAVE_XI
class XlibInputLayer final : public XInputLayer {
public:
    explicit XlibInputLayer(Display* d) : d_(d) {}
    ~XlibInputLayer() override { XCloseDisplay(d_); }

    std::vector<Device> pointers() override {
        std::vector<Device> out;
        int n = 0;
        XIDeviceInfo* info = XIQueryDevice(d_, XIAllDevices, &n);
        for (int i = 0; i < n; ++i)
            if (info[i].use == XISlavePointer && info[i].enabled)
                out.push_back({info[i].deviceid, QString::fromUtf8(info[i].name)});
        XIFreeDeviceInfo(info);
        return out;
    }

    std::optional<Property> property(int device, const char* name) override {
        const Atom prop = XInternAtom(d_, name, True);
        if (prop == None) return std::nullopt;
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XIGetProperty(d_, device, prop, 0, 64, False, AnyPropertyType, &type, &format, &count, &after, &data) !=
                Success ||
            type == None) {
            if (data) XFree(data);
            return std::nullopt;
        }
        Property p;
        char* typeName = XGetAtomName(d_, type);
        p.type = typeName ? typeName : "";
        if (typeName) XFree(typeName);
        p.format = format;
        p.items.assign(data, data + count * static_cast<unsigned long>(format / 8));
        XFree(data);
        return p;
    }

    bool setProperty(int device, const char* name, const Property& value) override {
        const Atom prop = XInternAtom(d_, name, True);
        const Atom type = XInternAtom(d_, value.type.c_str(), True);
        if (prop == None || type == None || value.format == 0) return false;
        failed_ = false;
        XErrorHandler old = XSetErrorHandler(&XlibInputLayer::onError);
        XIChangeProperty(d_, device, prop, type, value.format, PropModeReplace,
                         const_cast<unsigned char*>(value.items.data()),
                         static_cast<int>(value.items.size() / static_cast<std::size_t>(value.format / 8)));
        XSync(d_, False);  // a refusal arrives as an error
        XSetErrorHandler(old);
        return !failed_;
    }

    std::optional<PointerControl> pointerControl() override {
        PointerControl c;
        XGetPointerControl(d_, &c.numerator, &c.denominator, &c.threshold);
        return c;
    }

    bool setPointerControl(const PointerControl& c) override {
        failed_ = false;
        XErrorHandler old = XSetErrorHandler(&XlibInputLayer::onError);
        XChangePointerControl(d_, True, True, c.numerator, c.denominator, c.threshold);
        XSync(d_, False);
        XSetErrorHandler(old);
        return !failed_;
    }

private:
    static int onError(Display*, XErrorEvent*) {
        failed_ = true;
        return 0;
    }
    static inline bool failed_ = false;
    Display* d_;
};
#endif

}  // namespace

std::unique_ptr<XInputLayer> openXInputLayer() {
#ifdef NIVRA_HAVE_XI
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    if (!XQueryExtension(d, "XInputExtension", &opcode, &event, &error) || XIQueryVersion(d, &major, &minor) != Success) {
        XCloseDisplay(d);
        return nullptr;
    }
    return std::make_unique<XlibInputLayer>(d);
#else
    return nullptr;
#endif
}

std::unique_ptr<PointerBackend> x11PointerBackend(std::unique_ptr<XInputLayer> layer) {
    if (!layer) return nullptr;
    // Under libinput a touchpad alone still means the libinput backend: with no mouse there
    // is nothing to set, and the core control would do nothing.
    std::vector<int> mice;
    bool libinput = false;
    for (const XInputLayer::Device& d : layer->pointers()) {
        if (!layer->property(d.id, kAccelSpeed)) continue;
        libinput = true;
        if (!layer->property(d.id, kTapping)) mice.push_back(d.id);
    }
    if (libinput) return std::make_unique<LibinputBackend>(std::move(layer), std::move(mice));
    return std::make_unique<CorePointerBackend>(std::move(layer));
}

}  // namespace nivra
