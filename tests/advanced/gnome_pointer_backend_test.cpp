// The GNOME backend of the pointer settings against GSettings' in-memory store: it is there
// only where GNOME runs, and writes the mouse schema's keys.
#include "settings/pointer_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace nivra {
namespace {

// Sets environment variables for one test and puts the old values back.
class Env {
public:
    void set(const char* name, const char* value) {
        keep(name);
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~Env() {
        for (const auto& [name, value] : old_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

private:
    void keep(const char* name) {
        const char* v = std::getenv(name);
        old_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> old_;
};

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

TEST(GnomePointerBackend, PresentOnlyUnderGnomeAndWritesTheMouseKeys) {
    Env env;
    env.set("GSETTINGS_BACKEND", "memory");
    env.set("DISPLAY", nullptr);  // no X11 backend: it would change this machine's pointer
    env.set("WAYLAND_DISPLAY", nullptr);
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
    if (!schema) GTEST_SKIP() << "the GNOME desktop schemas are not installed";
    g_settings_schema_unref(schema);

    env.set("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_TRUE(systemPointerBackends().empty());

    env.set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    auto backends = systemPointerBackends();
    ASSERT_EQ(backends.size(), 1u);
    GSettings* s = g_settings_new(kSchema);
    struct Case {
        PointerApply in;
        double speed;
        const char* profile;
        int doubleClick;
    };
    const Case cases[] = {
        {{.speed = 15, .acceleration = 1, .doubleClickMs = 600}, 0.5, "adaptive", 600},
        {{.speed = 1, .acceleration = 0, .doubleClickMs = 250}, -0.9, "flat", 250},
        // Nothing known of speed and double-click: those keys keep their values.
        {{.speed = 0, .acceleration = 1, .doubleClickMs = 0}, -0.9, "adaptive", 250},
    };
    for (const Case& c : cases) {
        backends[0]->apply(c.in);
        EXPECT_DOUBLE_EQ(g_settings_get_double(s, "speed"), c.speed);
        gchar* profile = g_settings_get_string(s, "accel-profile");
        EXPECT_STREQ(profile, c.profile);
        g_free(profile);
        EXPECT_EQ(g_settings_get_int(s, "double-click"), c.doubleClick);
    }
    g_object_unref(s);
}

}  // namespace
}  // namespace nivra
