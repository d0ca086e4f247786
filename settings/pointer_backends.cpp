// The desktop backends of the pointer settings: GNOME's mouse settings (through GIO) and X11
// pointer control. Each is built when its library is present and acts only where its
// desktop runs; neither reports an error. GIO is loaded when the GNOME desktop runs: elsewhere
// the program starts without the seven libraries it brings.
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

#include <dlfcn.h>

#include <optional>
#include <type_traits>
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

// The GIO functions the backend calls, from the library loaded on first use.
struct Gio {
    decltype(&g_settings_schema_source_get_default) schemaSourceGetDefault = nullptr;
    decltype(&g_settings_schema_source_lookup) schemaSourceLookup = nullptr;
    decltype(&g_settings_schema_has_key) schemaHasKey = nullptr;
    decltype(&g_settings_schema_unref) schemaUnref = nullptr;
    decltype(&g_settings_new) settingsNew = nullptr;
    decltype(&g_settings_set_double) setDouble = nullptr;
    decltype(&g_settings_set_string) setString = nullptr;
    decltype(&g_settings_set_int) setInt = nullptr;
    decltype(&g_settings_sync) sync = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;

    // Null when the library or one of the functions is missing. The library stays loaded.
    static const Gio* get() {
        static const std::optional<Gio> loaded = []() -> std::optional<Gio> {
            void* lib = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
            if (!lib) return std::nullopt;
            Gio g;
            bool all = true;
            // dlsym searches the library's dependencies too (g_object_unref is GObject's).
            const auto load = [&](auto& fn, const char* name) {
                fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
                all = all && fn;
            };
            load(g.schemaSourceGetDefault, "g_settings_schema_source_get_default");
            load(g.schemaSourceLookup, "g_settings_schema_source_lookup");
            load(g.schemaHasKey, "g_settings_schema_has_key");
            load(g.schemaUnref, "g_settings_schema_unref");
            load(g.settingsNew, "g_settings_new");
            load(g.setDouble, "g_settings_set_double");
            load(g.setString, "g_settings_set_string");
            load(g.setInt, "g_settings_set_int");
            load(g.sync, "g_settings_sync");
            load(g.objectUnref, "g_object_unref");
            if (!all) {
                dlclose(lib);
                return std::nullopt;
            }
            return g;
        }();
        return loaded ? &*loaded : nullptr;
    }
};

// org.gnome.desktop.peripherals.mouse: "speed" (-1..1), "accel-profile" ("flat" without
// acceleration, "adaptive" with it) and "double-click" (ms). GNOME has no wheel-lines setting.
class GnomePointerBackend final : public PointerBackend {
public:
    static bool present() {
        if (!envContains("XDG_CURRENT_DESKTOP", "gnome")) return false;
        const Gio* gio = Gio::get();
        if (!gio) return false;
        GSettingsSchemaSource* source = gio->schemaSourceGetDefault();
        if (!source) return false;
        GSettingsSchema* schema = gio->schemaSourceLookup(source, kGnomeMouseSchema, TRUE);
        if (!schema) return false;
        const bool keys = gio->schemaHasKey(schema, "speed") && gio->schemaHasKey(schema, "accel-profile") &&
                          gio->schemaHasKey(schema, "double-click");
        gio->schemaUnref(schema);
        return keys;
    }

    void apply(const PointerApply& v) override {
        const Gio& gio = *Gio::get();  // present() loaded it
        GSettings* s = gio.settingsNew(kGnomeMouseSchema);
        if (!s) return;
        // Pointer speed 10 is the desktop's middle; 1 and 20 its ends.
        if (v.speed > 0) gio.setDouble(s, "speed", std::clamp((v.speed - 10) / 10.0, -1.0, 1.0));
        gio.setString(s, "accel-profile", v.acceleration != 0 ? "adaptive" : "flat");
        if (v.doubleClickMs > 0) gio.setInt(s, "double-click", v.doubleClickMs);
        gio.sync();
        gio.objectUnref(s);
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
