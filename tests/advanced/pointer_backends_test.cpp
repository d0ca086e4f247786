// Each desktop backend of the pointer settings against the real interface where it runs
// headless: GNOME through GIO's in-memory settings with GNOME's schemas, KDE Plasma's files in
// a temporary configuration folder, X11 through a fake of the XInput calls. The same cases run
// through every backend: what the stored values show, and what a click writes and reads back.
#include "settings/pointer_backends.h"
#include "tests/advanced/advanced_rig.h"
#include "tests/advanced/page_fixture.h"
#include "tests/advanced/pointer_fakes.h"
#include "tests/ui/qt_app.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef NIVRA_TEST_GIO
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
#endif

namespace nivra {
namespace {

using nivra::testing::FakeXServer;
using nivra::testing::TempDir;
using nivra::testing::readText;

std::string number(double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", d);
    return text;
}

QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// One backend over its desktop's own store. store() sets that store as the desktop's own
// settings program would (speed 1..20 in the desktop's units); rawSpeed() shows the stored speed.
struct Rig {
    virtual ~Rig() = default;
    virtual std::unique_ptr<PointerBackend> backend() = 0;
    virtual void store(int speed, bool adaptive, int doubleClickMs, int wheelLines) = 0;
    virtual std::string rawSpeed() = 0;
};

#ifdef NIVRA_TEST_GIO
constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

// GIO picks its settings backend once per process: every GNOME test uses the in-memory one.
bool gnomeReady() {
    static const bool ready = [] {
        setenv("GSETTINGS_BACKEND", "memory", 1);
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
        if (schema) g_settings_schema_unref(schema);
        return schema != nullptr;
    }();
    return ready;
}

struct GnomeRig : Rig {
    GnomeRig() : s(g_settings_new(kSchema)) {
        for (const char* key : {"speed", "accel-profile", "double-click"}) g_settings_reset(s, key);
    }
    ~GnomeRig() override { g_object_unref(s); }
    std::unique_ptr<PointerBackend> backend() override { return gnomePointerBackend(); }
    void store(int speed, bool adaptive, int doubleClickMs, int) override {
        g_settings_set_double(s, "speed", (speed - 10) / 10.0);
        g_settings_set_string(s, "accel-profile", adaptive ? "adaptive" : "flat");
        g_settings_set_int(s, "double-click", doubleClickMs);
    }
    std::string rawSpeed() override { return number(g_settings_get_double(s, "speed")); }
    std::string profile() {
        gchar* p = g_settings_get_string(s, "accel-profile");
        std::string out = p;
        g_free(p);
        return out;
    }
    GSettings* s;
};
#endif

struct KdeRig : Rig {
    std::unique_ptr<PointerBackend> backend() override { return kdePointerBackend(qpath(dir.path()), {}); }
    void store(int speed, bool adaptive, int doubleClickMs, int wheelLines) override {
        std::ofstream(dir.path() / "kdeglobals") << "[General]\nColorScheme=Breeze\n\n[KDE]\nDoubleClickInterval="
                                                  << doubleClickMs << "\nWheelScrollLines=" << wheelLines << "\n";
        std::ofstream(dir.path() / "kcminputrc") << "[Mouse]\nXLbInptAccelProfileFlat=" << (adaptive ? "false" : "true")
                                                  << "\nXLbInptPointerAcceleration=" << (speed - 10) / 10.0 << "\n";
    }
    std::string rawSpeed() override {
        return kconfigValue(qpath(dir.path() / "kcminputrc"), "Mouse", "XLbInptPointerAcceleration").value_or("<none>").toStdString();
    }
    TempDir dir;
};

struct LibinputRig : Rig {
    LibinputRig() { x.addLibinputMouse(7, 0.0f); }
    std::unique_ptr<PointerBackend> backend() override { return x11PointerBackend(x.layer()); }
    void store(int speed, bool adaptive, int, int) override {
        x.properties[{7, "libinput Accel Speed"}] = FakeXServer::floatProp(static_cast<float>((speed - 10) / 10.0));
        x.properties[{7, "libinput Accel Profile Enabled"}] = FakeXServer::flags({adaptive ? std::uint8_t{1} : std::uint8_t{0}, adaptive ? std::uint8_t{0} : std::uint8_t{1}});
    }
    std::string rawSpeed() override { return number(x.speedOf(7)); }
    FakeXServer x;
};

// The evdev driver: the core control's factor is speed / 10, doubled past 6 counts with
// precision on.
struct CoreRig : Rig {
    std::unique_ptr<PointerBackend> backend() override { return x11PointerBackend(x.layer()); }
    void store(int speed, bool adaptive, int, int) override { x.control = {adaptive ? 2 * speed : speed, 10, adaptive ? 6 : 1}; }
    std::string rawSpeed() override {
        return std::to_string(x.control.numerator) + "/" + std::to_string(x.control.denominator) + " past " +
               std::to_string(x.control.threshold);
    }
    FakeXServer x;
};

struct BackendCase {
    const char* name;
    std::function<std::unique_ptr<Rig>()> rig;
    const char* backendName;
    std::vector<std::string> writtenForSegments1_2_11;
};

std::vector<BackendCase> backendCases() {
    std::vector<BackendCase> cases;
#ifdef NIVRA_TEST_GIO
    if (gnomeReady())
        cases.push_back({"GNOME", [] { return std::make_unique<GnomeRig>(); }, "GNOME", {"-0.9", "-0.8", "1"}});
#endif
    cases.push_back({"KDE", [] { return std::make_unique<KdeRig>(); }, "KDE", {"-0.900", "-0.800", "1.000"}});
    cases.push_back({"X11 libinput", [] { return std::make_unique<LibinputRig>(); }, "X11 libinput", {"-0.9", "-0.8", "1"}});
    cases.push_back({"X11 evdev", [] { return std::make_unique<CoreRig>(); }, "X11", {"2/10 past 6", "4/10 past 6", "40/10 past 6"}});
    return cases;
}

TEST(PointerBackends, EveryBackendReadsStepsAndWritesThemBack) {
    for (const BackendCase& c : backendCases()) {
        SCOPED_TRACE(c.name);
        auto rig = c.rig();
        auto backend = rig->backend();
        ASSERT_TRUE(backend);
        EXPECT_EQ(backend->name().toStdString(), c.backendName);
        TempDir dir;
        PointerSettings page(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());

        // Speed 10, adaptive, 500 ms, 3 lines: steps 6, 7 and 3 where the desktop holds them.
        rig->store(10, true, 500, 3);
        page.refresh();
        EXPECT_EQ(page.speedStep(), 6);
        EXPECT_TRUE(page.precisionOn());
        EXPECT_EQ(page.doubleClickStep(), page.holds(PointerSetting::DoubleClick) ? 7 : 0);
        EXPECT_EQ(page.wheelStep(), page.holds(PointerSetting::WheelLines) ? 3 : 0);
        EXPECT_FALSE(page.wholeScreenOn());

        // Segments 1, 2 and 11 write speeds 1, 2 and 20; a fresh read shows the same steps.
        const int segments[] = {1, 2, 11};
        for (std::size_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(page.MseSpd_OnClick(segments[i]));
            EXPECT_EQ(rig->rawSpeed(), c.writtenForSegments1_2_11[i]) << "segment " << segments[i];
            PointerSettings again(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());
            again.refresh();
            EXPECT_EQ(again.speedStep(), segments[i]);
            EXPECT_TRUE(again.precisionOn());  // the speed click left the profile alone
        }
        // Speed 20 on the desktop shows step 11, 19 step 10.
        for (const auto& [speed, step] : {std::pair{20, 11}, std::pair{19, 10}}) {
            rig->store(speed, false, 500, 3);
            page.refresh();
            EXPECT_EQ(page.speedStep(), step) << speed;
            EXPECT_FALSE(page.precisionOn());
        }
        // Precision back on, and the double-click and wheel steps where they live.
        ASSERT_TRUE(page.lbl_IsControlClick());
        EXPECT_EQ(page.holds(PointerSetting::DoubleClick), page.MseDbSpd_OnClick(2));
        EXPECT_EQ(page.holds(PointerSetting::WheelLines), page.MseScrSpd_OnClick(5));
        PointerSettings again(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());
        again.refresh();
        EXPECT_TRUE(again.precisionOn());
        EXPECT_EQ(again.speedStep(), 10);
        EXPECT_EQ(again.doubleClickStep(), page.holds(PointerSetting::DoubleClick) ? 2 : 0);
        EXPECT_EQ(again.wheelStep(), page.holds(PointerSetting::WheelLines) ? 5 : 0);
        // No desktop here keeps whole-screen scrolling.
        EXPECT_FALSE(page.lbl_IsScreenClick());
    }
}

#ifdef NIVRA_TEST_GIO
TEST(GnomePointerBackend, TheUsersAdaptiveProfileSurvivesASpeedChange) {
    if (!gnomeReady()) GTEST_SKIP() << "the GNOME desktop schemas are not installed";
    GnomeRig rig;
    g_settings_set_string(rig.s, "accel-profile", "adaptive");
    auto backend = rig.backend();
    TempDir dir;
    PointerSettings page(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());
    page.refresh();
    EXPECT_TRUE(page.precisionOn());
    ASSERT_TRUE(page.MseSpd_OnClick(6));
    EXPECT_EQ(rig.profile(), "adaptive");
    EXPECT_EQ(rig.rawSpeed(), "0");
    // GNOME's "default" is the device's own profile: adaptive for a mouse.
    g_settings_set_string(rig.s, "accel-profile", "default");
    page.refresh();
    EXPECT_TRUE(page.precisionOn());
    ASSERT_TRUE(page.lbl_IsControlClick());
    ASSERT_TRUE(page.lbl_IsControlClick());
    EXPECT_EQ(rig.profile(), "adaptive");
    // Wheel lines are no GNOME setting.
    EXPECT_FALSE(backend->holds(PointerSetting::WheelLines));
    EXPECT_FALSE(backend->write({.wheelLines = 3}));
}

TEST(GnomePointerBackend, ThePageShowsGnomesValuesAndKeepsTheProfile) {
    if (!gnomeReady()) GTEST_SKIP() << "the GNOME desktop schemas are not installed";
    QApplication& app = ui::test::qtApp();
    (void)app;
    GnomeRig rig;
    g_settings_set_string(rig.s, "accel-profile", "adaptive");
    g_settings_set_int(rig.s, "double-click", 480);
    auto backend = rig.backend();
    TempDir dir;
    PointerSettings pointer(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());
    testing::AdvancedRig r;
    testing::StyledSkin skin(1);
    ui::AdvancedPage page(skin, nullptr, {&r.cpi, &r.fire, &pointer});
    testing::skinPage(skin, page, 3);
    const auto picture = [&](const char* name) { return ui::skinPictureOf(page.findChild<QWidget*>(name)); };
    page.show();
    EXPECT_EQ(picture("Img_DbSpd7"), "Bar1_E");
    EXPECT_EQ(picture("Img_IsControl"), "CbS_E");
    QTest::mouseClick(page.findChild<QWidget*>("Img_Spd9"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(rig.rawSpeed(), "0.6");
    EXPECT_EQ(rig.profile(), "adaptive");
    // Set in GNOME's own settings meanwhile: shown when the page is shown again.
    g_settings_set_double(rig.s, "speed", 0.9);
    page.hide();
    page.show();
    EXPECT_EQ(picture("Img_Spd10"), "Bar1_E");
    EXPECT_EQ(picture("Img_Spd9"), "Bar1_D");
    EXPECT_EQ(page.findChild<QWidget*>("Img_ScrSpd3")->toolTip(), "GNOME keeps no such setting");
}
#endif

// A fake of KWin's input devices over D-Bus.
struct FakeKwin : KwinPointerDevices {
    PointerValues live{.speed = 10, .precision = true};
    std::vector<PointerValues> written;
    bool refuse = false;
    std::vector<QString> configGroups() override { return {"Libinput][1133][49291][Gaming Mouse"}; }
    PointerValues read() override { return live; }
    bool write(const PointerValues& v) override {
        written.push_back(v);
        if (refuse) return false;
        if (v.speed) live.speed = v.speed;
        if (v.precision) live.precision = v.precision;
        return true;
    }
};

TEST(KdePointerBackend, WritesPlasmasFilesKeepingTheirOtherLinesAndTellsPlasma) {
    TempDir dir;
    std::ofstream(dir.path() / "kdeglobals") << "# comment\n[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n"
                                                "WheelScrollLines = 4\n\n[Icons]\nTheme=breeze\n";
    auto kwin = std::make_unique<FakeKwin>();
    FakeKwin& k = *kwin;
    int notices = 0;
    auto backend = kdePointerBackend(qpath(dir.path()), {std::move(kwin), nullptr, [&] { ++notices; }});
    const PointerValues read = backend->read();
    EXPECT_EQ(read, (PointerValues{.speed = 10, .precision = true, .doubleClickMs = 400, .wheelLines = 4}));

    ASSERT_TRUE(backend->write({.doubleClickMs = 480}));
    ASSERT_TRUE(backend->write({.wheelLines = 7}));
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(readText(dir.path() / "kdeglobals"),
              "# comment\n[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\nWheelScrollLines=7\n"
              "DoubleClickInterval=480\n\n[Icons]\nTheme=breeze\n");
    // Acceleration: applied through KWin at once, kept for the next session in the device's
    // group and in [Mouse].
    ASSERT_TRUE(backend->write({.speed = 19}));
    ASSERT_TRUE(backend->write({.precision = false}));
    EXPECT_EQ(k.written, (std::vector<PointerValues>{{.speed = 19}, {.precision = false}}));
    EXPECT_EQ(readText(dir.path() / "kcminputrc"),
              "[Mouse]\nXLbInptPointerAcceleration=0.900\nXLbInptAccelProfileFlat=true\n\n"
              "[Libinput][1133][49291][Gaming Mouse]\nPointerAcceleration=0.900\nPointerAccelerationProfile=1\n");
    // Whole-screen scrolling is no Plasma setting.
    EXPECT_FALSE(backend->holds(PointerSetting::WholeScreen));
    EXPECT_FALSE(backend->write({.wheelLines = -1}));
    // KWin refusing: the file is written, the change reported as not applied.
    k.refuse = true;
    EXPECT_FALSE(backend->write({.speed = 5}));
}

TEST(KdePointerBackend, FilesThatCannotBeWrittenAreReported) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> prepare;
    };
    const std::vector<Case> cases{
        {"kdeglobals is a folder", [](const std::filesystem::path& d) { std::filesystem::create_directory(d / "kdeglobals"); }},
        {"the group is locked", [](const std::filesystem::path& d) { std::ofstream(d / "kdeglobals") << "[KDE][$i]\nDoubleClickInterval=400\n"; }},
        {"the key is locked", [](const std::filesystem::path& d) { std::ofstream(d / "kdeglobals") << "[KDE]\nDoubleClickInterval[$i]=400\n"; }},
        {"the file is locked", [](const std::filesystem::path& d) { std::ofstream(d / "kdeglobals") << "[$i]\n[KDE]\nDoubleClickInterval=400\n"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        c.prepare(dir.path());
        auto backend = kdePointerBackend(qpath(dir.path()), {});
        PointerSettings page(PointerStore(qpath(dir.path() / "pointer.ini")), backend.get());
        page.refresh();
        EXPECT_FALSE(page.MseDbSpd_OnClick(1));
        EXPECT_NE(page.doubleClickStep(), 1);
    }
}

TEST(KdePointerBackend, AnX11SessionAppliesTheAccelerationToTheDevices) {
    TempDir dir;
    FakeXServer x;
    x.addLibinputMouse(9, 0.5f);
    auto backend = kdePointerBackend(qpath(dir.path()), {nullptr, x11PointerBackend(x.layer()), nullptr});
    EXPECT_EQ(backend->read().speed, 15);  // what is in effect, while kcminputrc holds nothing
    ASSERT_TRUE(backend->write({.speed = 2, .precision = false}));
    EXPECT_FLOAT_EQ(x.speedOf(9), -0.8f);
    EXPECT_EQ(x.profileOf(9), (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(kconfigValue(qpath(dir.path() / "kcminputrc"), "Mouse", "XLbInptAccelProfileFlat"), "true");
}

TEST(X11PointerBackend, LibinputSetsEveryMouseAndLeavesTouchpadsAlone) {
    FakeXServer x;
    x.addLibinputMouse(7, 0.0f, /*three=*/true);
    x.addLibinputMouse(8, 0.0f);
    x.devices.push_back({11, "touchpad"});
    x.properties[{11, "libinput Accel Speed"}] = FakeXServer::floatProp(0.3f);
    x.properties[{11, "libinput Accel Profile Enabled"}] = FakeXServer::flags({1, 0});
    x.properties[{11, "libinput Tapping Enabled"}] = FakeXServer::flags({1});
    auto backend = x11PointerBackend(x.layer());
    ASSERT_TRUE(backend->write({.speed = 1, .precision = false}));
    EXPECT_FLOAT_EQ(x.speedOf(7), -0.9f);
    EXPECT_FLOAT_EQ(x.speedOf(8), -0.9f);
    EXPECT_FLOAT_EQ(x.speedOf(11), 0.3f);
    EXPECT_EQ(x.profileOf(7), (std::vector<std::uint8_t>{0, 1, 0}));  // the custom flag kept its place
    EXPECT_EQ(x.profileOf(8), (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(x.control.threshold, 4);  // the core control is not touched under libinput
    // A device refusing the change: reported.
    x.refusing.insert(8);
    EXPECT_FALSE(backend->write({.speed = 5}));
    // Double-click and wheel lines are no X11 settings.
    EXPECT_FALSE(backend->holds(PointerSetting::DoubleClick));
    EXPECT_FALSE(backend->write({.doubleClickMs = 500}));

    // Only a touchpad: still libinput, with no mouse to set.
    FakeXServer pad;
    pad.devices.push_back({3, "touchpad"});
    pad.properties[{3, "libinput Accel Speed"}] = FakeXServer::floatProp(0.0f);
    pad.properties[{3, "libinput Tapping Enabled"}] = FakeXServer::flags({1});
    auto padOnly = x11PointerBackend(pad.layer());
    EXPECT_EQ(padOnly->name(), "X11 libinput");
    EXPECT_FALSE(padOnly->write({.speed = 5}));
}

TEST(X11PointerBackend, TheCoreControlNeverSendsThresholdZero) {
    FakeXServer x;  // the server's default: 2/1 past 4
    auto backend = x11PointerBackend(x.layer());
    EXPECT_EQ(backend->name(), "X11");
    EXPECT_EQ(backend->read(), (PointerValues{.speed = 10, .precision = true}));
    // Precision off keeps the speed; threshold 0 would switch the server to its curve.
    ASSERT_TRUE(backend->write({.precision = false}));
    EXPECT_EQ(x.control.numerator, 10);
    EXPECT_EQ(x.control.denominator, 10);
    EXPECT_EQ(x.control.threshold, 1);
    ASSERT_TRUE(backend->write({.speed = 4}));
    EXPECT_EQ(backend->read(), (PointerValues{.speed = 4, .precision = false}));
}

}  // namespace
}  // namespace nivra
