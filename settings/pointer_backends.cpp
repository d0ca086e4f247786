// GNOME's pointer settings and the choice of the backend for the desktop that runs. GIO is
// loaded when the GNOME desktop runs: elsewhere the program starts without the seven
// libraries it brings.
#include "settings/pointer_backends.h"

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

#include <type_traits>
#endif

namespace nivra {

namespace {

bool envContains(const char* name, const char* part) {
    const QByteArray v = qgetenv(name).toLower();
    return !v.isEmpty() && v.contains(part);
}

bool waylandSession() { return !qgetenv("WAYLAND_DISPLAY").isEmpty() || envContains("XDG_SESSION_TYPE", "wayland"); }
bool x11Session() { return !qgetenv("DISPLAY").isEmpty() && !waylandSession(); }

#ifdef NIVRA_HAVE_GIO
constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// The GIO functions the backend calls, from the library loaded on first use.
struct Gio {
    decltype(&g_settings_schema_source_get_default) schemaSourceGetDefault = nullptr;
    decltype(&g_settings_schema_source_lookup) schemaSourceLookup = nullptr;
    decltype(&g_settings_schema_has_key) schemaHasKey = nullptr;
    decltype(&g_settings_schema_unref) schemaUnref = nullptr;
    decltype(&g_settings_new) settingsNew = nullptr;
    decltype(&g_settings_get_double) getDouble = nullptr;
    decltype(&g_settings_get_string) getString = nullptr;
    decltype(&g_settings_get_int) getInt = nullptr;
    decltype(&g_settings_set_double) setDouble = nullptr;
    decltype(&g_settings_set_string) setString = nullptr;
    decltype(&g_settings_set_int) setInt = nullptr;
    decltype(&g_settings_sync) sync = nullptr;
    decltype(&g_free) free = nullptr;
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
            load(g.getDouble, "g_settings_get_double");
            load(g.getString, "g_settings_get_string");
            load(g.getInt, "g_settings_get_int");
            load(g.setDouble, "g_settings_set_double");
            load(g.setString, "g_settings_set_string");
            load(g.setInt, "g_settings_set_int");
            load(g.sync, "g_settings_sync");
            load(g.free, "g_free");
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
// acceleration, "adaptive" with it, "default" the device's own, adaptive for a mouse) and
// "double-click" (ms). GNOME keeps no wheel lines and no whole-screen scrolling.
class GnomePointerBackend final : public PointerBackend {
public:
    explicit GnomePointerBackend(const Gio& gio) : gio_(gio) {}

    static bool schemaPresent(const Gio& gio) {
        GSettingsSchemaSource* source = gio.schemaSourceGetDefault();
        if (!source) return false;
        GSettingsSchema* schema = gio.schemaSourceLookup(source, kGnomeMouseSchema, TRUE);
        if (!schema) return false;
        const bool keys = gio.schemaHasKey(schema, "speed") && gio.schemaHasKey(schema, "accel-profile") &&
                          gio.schemaHasKey(schema, "double-click");
        gio.schemaUnref(schema);
        return keys;
    }

    QString name() const override { return QStringLiteral("GNOME"); }
    bool holds(PointerSetting s) const override {
        return s == PointerSetting::Speed || s == PointerSetting::Precision || s == PointerSetting::DoubleClick;
    }

    PointerValues read() override {
        PointerValues v;
        GSettings* s = gio_.settingsNew(kGnomeMouseSchema);
        if (!s) return v;
        v.speed = speedOfDesktop(gio_.getDouble(s, "speed"));
        gchar* profile = gio_.getString(s, "accel-profile");
        v.precision = !profile || std::strcmp(profile, "flat") != 0;
        gio_.free(profile);
        v.doubleClickMs = gio_.getInt(s, "double-click");
        gio_.objectUnref(s);
        return v;
    }

    bool write(const PointerValues& v) override {
        GSettings* s = gio_.settingsNew(kGnomeMouseSchema);
        if (!s) return false;
        bool ok = true;
        if (v.speed) ok = gio_.setDouble(s, "speed", desktopSpeedOf(*v.speed)) && ok;
        if (v.precision) ok = gio_.setString(s, "accel-profile", *v.precision ? "adaptive" : "flat") && ok;
        if (v.doubleClickMs) ok = gio_.setInt(s, "double-click", *v.doubleClickMs) && ok;
        if (v.wheelLines) ok = false;  // not a GNOME setting
        gio_.sync();
        gio_.objectUnref(s);
        return ok;
    }

private:
    const Gio& gio_;
};
#endif

}  // namespace

std::unique_ptr<PointerBackend> gnomePointerBackend() {
#ifdef NIVRA_HAVE_GIO
    const Gio* gio = Gio::get();
    if (gio && GnomePointerBackend::schemaPresent(*gio)) return std::make_unique<GnomePointerBackend>(*gio);
#endif
    return nullptr;
}

QString runningDesktopName() {
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).value(0);
    if (!desktop.isEmpty()) return desktop;
    if (waylandSession()) return QStringLiteral("a Wayland desktop");
    if (x11Session()) return QStringLiteral("X11");
    return QStringLiteral("this system");
}

std::unique_ptr<PointerBackend> systemPointerBackend() {
    // GNOME and its relatives keep the mouse in GNOME's schema.
    if (envContains("XDG_CURRENT_DESKTOP", "gnome") || envContains("XDG_CURRENT_DESKTOP", "unity") ||
        envContains("XDG_CURRENT_DESKTOP", "budgie")) {
        if (auto gnome = gnomePointerBackend()) return gnome;
    }
    if (envContains("XDG_CURRENT_DESKTOP", "kde") || qgetenv("KDE_FULL_SESSION") == "true") {
        QString configDir = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (configDir.isEmpty() && !qEnvironmentVariableIsEmpty("HOME"))
            configDir = qEnvironmentVariable("HOME") + QStringLiteral("/.config");
        if (configDir.isEmpty()) return nullptr;
        KdeLinks links;
        if (waylandSession()) links.kwin = openKwinPointerDevices();
        else if (x11Session()) links.x11 = x11PointerBackend(openXInputLayer());
        links.notifySettingsChanged = notifyKdeMouseSettingsChanged;
        return kdePointerBackend(configDir, std::move(links));
    }
    // Any other X11 desktop: the devices themselves.
    if (x11Session()) return x11PointerBackend(openXInputLayer());
    return nullptr;
}

}  // namespace nivra
