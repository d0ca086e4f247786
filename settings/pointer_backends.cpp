// The desktop backends of the pointer settings: GNOME's mouse settings (through GIO) and X11
// pointer control. Each is built when its library is present and acts only where its
// desktop runs; neither reports an error.
#include "settings/pointer_settings.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef NIVRA_HAVE_GIO
// GIO names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
#endif
#ifdef NIVRA_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace nivra {

namespace {

bool envContains(const char* name, const char* part) {
    const QByteArray v = qgetenv(name).toLower();
    return !v.isEmpty() && v.contains(part);
}

#ifdef NIVRA_HAVE_GIO
constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// org.gnome.desktop.peripherals.mouse: "speed" (-1..1), "accel-profile" ("flat" without
// acceleration, "adaptive" with it) and "double-click" (ms). GNOME has no wheel-lines setting.
class GnomePointerBackend final : public PointerBackend {
public:
    static bool present() {
        if (!envContains("XDG_CURRENT_DESKTOP", "gnome")) return false;
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        if (!source) return false;
        GSettingsSchema* schema = g_settings_schema_source_lookup(source, kGnomeMouseSchema, TRUE);
        if (!schema) return false;
        const bool keys = g_settings_schema_has_key(schema, "speed") && g_settings_schema_has_key(schema, "accel-profile") &&
                          g_settings_schema_has_key(schema, "double-click");
        g_settings_schema_unref(schema);
        return keys;
    }

    void apply(const PointerApply& v) override {
        GSettings* s = g_settings_new(kGnomeMouseSchema);
        if (!s) return;
        // Pointer speed 10 is the desktop's middle; 1 and 20 its ends.
        if (v.speed > 0) g_settings_set_double(s, "speed", std::clamp((v.speed - 10) / 10.0, -1.0, 1.0));
        g_settings_set_string(s, "accel-profile", v.acceleration != 0 ? "adaptive" : "flat");
        if (v.doubleClickMs > 0) g_settings_set_int(s, "double-click", v.doubleClickMs);
        g_settings_sync();
        g_object_unref(s);
    }
};
#endif

#ifdef NIVRA_HAVE_X11
// The X server's core pointer acceleration: with precision on, motion beyond the first
// threshold is sped up by speed / 10 x 2; without it, all motion is scaled by speed / 10.
class X11PointerBackend final : public PointerBackend {
public:
    static bool present() {
        return !qgetenv("DISPLAY").isEmpty() && qgetenv("WAYLAND_DISPLAY").isEmpty() &&
               !envContains("XDG_SESSION_TYPE", "wayland");
    }

    void apply(const PointerApply& v) override {
        if (v.speed <= 0) return;
        Display* display = XOpenDisplay(nullptr);
        if (!display) return;
        const bool precision = v.acceleration != 0;
        const int numerator = precision ? 2 * v.speed : v.speed;
        const int threshold = precision ? std::max(v.threshold1, 1) : 0;
        XChangePointerControl(display, True, True, numerator, 10, threshold);
        XFlush(display);
        XCloseDisplay(display);
    }
};
#endif

}  // namespace

std::vector<std::unique_ptr<PointerBackend>> systemPointerBackends() {
    std::vector<std::unique_ptr<PointerBackend>> out;
#ifdef NIVRA_HAVE_GIO
    if (GnomePointerBackend::present()) out.push_back(std::make_unique<GnomePointerBackend>());
#endif
#ifdef NIVRA_HAVE_X11
    if (X11PointerBackend::present()) out.push_back(std::make_unique<X11PointerBackend>());
#endif
    (void)envContains;
    return out;
}

}  // namespace nivra
