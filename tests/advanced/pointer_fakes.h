// Fakes below the pointer settings: a desktop that keeps values in memory, and the X server's
// XInput properties and core pointer control as raw items.
#pragma once

#include "settings/pointer_backends.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace nivra::testing {

// A desktop holding the settings it is told to; write() can be made to refuse.
struct FakeDesktop : PointerBackend {
    std::set<PointerSetting> held{PointerSetting::Speed, PointerSetting::Precision, PointerSetting::DoubleClick,
                                  PointerSetting::WheelLines};
    PointerValues stored;
    std::vector<PointerValues> written;
    bool refuse = false;

    QString name() const override { return QStringLiteral("Fakedesk"); }
    bool holds(PointerSetting s) const override { return held.count(s) != 0; }
    PointerValues read() override { return stored; }
    bool write(const PointerValues& v) override {
        written.push_back(v);
        if (refuse) return false;
        if (v.speed) stored.speed = v.speed;
        if (v.precision) stored.precision = v.precision;
        if (v.doubleClickMs) stored.doubleClickMs = v.doubleClickMs;
        if (v.wheelLines) stored.wheelLines = v.wheelLines;
        return true;
    }
};

// The X server as the X11 backends see it. Shared state, so that a test keeps a view of it
// after handing the layer to a backend.
struct FakeXServer {
    std::vector<XInputLayer::Device> devices;
    std::map<std::pair<int, std::string>, XInputLayer::Property> properties;
    XInputLayer::PointerControl control{2, 1, 4};  // the server's default
    std::set<int> refusing;                          // devices whose properties refuse changes

    static XInputLayer::Property floatProp(float f) {
        XInputLayer::Property p{"FLOAT", 32, std::vector<std::uint8_t>(4)};
        std::memcpy(p.items.data(), &f, 4);
        return p;
    }
    static XInputLayer::Property flags(std::vector<std::uint8_t> f) { return {"INTEGER", 8, std::move(f)}; }
    float speedOf(int device) const {
        float f = 0;
        std::memcpy(&f, properties.at({device, "libinput Accel Speed"}).items.data(), 4);
        return f;
    }
    std::vector<std::uint8_t> profileOf(int device) const {
        return properties.at({device, "libinput Accel Profile Enabled"}).items;
    }
    // A mouse under the libinput driver: speed, profiles adaptive/flat (and custom with
    // `three`), adaptive on.
    void addLibinputMouse(int id, float speed, bool three = false) {
        devices.push_back({id, QStringLiteral("mouse %1").arg(id)});
        properties[{id, "libinput Accel Speed"}] = floatProp(speed);
        properties[{id, "libinput Accel Profile Enabled"}] = flags(three ? std::vector<std::uint8_t>{1, 0, 0} : std::vector<std::uint8_t>{1, 0});
    }

    struct Layer : XInputLayer {
        explicit Layer(FakeXServer& s) : x(s) {}
        std::vector<Device> pointers() override { return x.devices; }
        std::optional<Property> property(int device, const char* name) override {
            const auto it = x.properties.find({device, name});
            return it == x.properties.end() ? std::nullopt : std::optional<Property>(it->second);
        }
        bool setProperty(int device, const char* name, const Property& value) override {
            const auto it = x.properties.find({device, name});
            // The server refuses a new type, format or item count for libinput's properties.
            if (x.refusing.count(device) || it == x.properties.end() || it->second.type != value.type ||
                it->second.format != value.format || it->second.items.size() != value.items.size())
                return false;
            it->second = value;
            return true;
        }
        std::optional<PointerControl> pointerControl() override { return x.control; }
        bool setPointerControl(const PointerControl& c) override {
            if (c.numerator <= 0 || c.denominator <= 0 || c.threshold < 0) return false;
            x.control = c;
            return true;
        }
        FakeXServer& x;
    };
    std::unique_ptr<XInputLayer> layer() { return std::make_unique<Layer>(*this); }
};

}  // namespace nivra::testing
