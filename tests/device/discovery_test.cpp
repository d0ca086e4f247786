// The presence poll's decisions, opening and identifying the mouse, and re-finding it after
// a restart, on the simulated mouse and the PC's other HID devices.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

#include "device/discovery.h"
#include "tests/device/support.h"

namespace nivra {
namespace {

using Calls = std::vector<std::string>;

// The simulated PC, with counts that a test can script to model devices settling.
class ScriptedTransport : public HidTransport {
public:
    explicit ScriptedTransport(SimulatedMouse& mouse) : mouse_(mouse) {}
    std::vector<HidInterfaceInfo> enumerate() override {
        std::vector<HidInterfaceInfo> all = mouse_.enumerate();
        if (edit) edit(all);
        return all;
    }
    std::function<void(std::vector<HidInterfaceInfo>&)> edit;   // changes what enumerate() lists
    std::unique_ptr<HidHandle> open(const std::string& path) override { return mouse_.open(path); }
    bool permissionDenied(const std::string& path) override { return mouse_.permissionDenied(path); }
    std::size_t count() override {
        ++countCalls;
        if (scripted.empty()) return mouse_.count();
        const std::size_t n = scripted.front();
        scripted.pop_front();
        return n;
    }
    std::deque<std::size_t> scripted;
    int countCalls = 0;

private:
    SimulatedMouse& mouse_;
};

struct PollRig {
    explicit PollRig(Image memory = test::mouseImage(), DiscoveryConfig config = DiscoveryConfig::fromBuiltinImage(test::mouseImage()))
        : mouse(clock, memory), discovery(transport, clock, link, config, events) {}
    VirtualClock clock;
    SimulatedMouse mouse;
    ScriptedTransport transport{mouse};
    Link link;
    test::RecordingEvents events;
    Discovery discovery;
};

Image withIds(std::uint8_t manufacturer, std::uint8_t product) {
    Image m = test::mouseImage();
    m[484] = manufacturer;
    m[485] = product;
    return m;
}

const Calls kAccepted = {"ShowReadIds 255 255", "MouseAccepted"};

TEST(DevTimerTimer, Decisions) {
    struct Case {
        const char* what;
        std::function<std::unique_ptr<PollRig>()> make;
        std::function<void(PollRig&)> before;   // runs first; its calls are not checked
        Calls expected;                         // the calls of the poll under test
        bool connected;                         // a command handle is open afterwards
    };
    auto plain = [] { return std::make_unique<PollRig>(); };
    auto connect = [](PollRig& r) { r.discovery.DevTimerTimer(); };
    const Case cases[] = {
        {"count up at start: the mouse is opened, identified and read", plain, nullptr, kAccepted, true},
        {"count unchanged: nothing", plain, connect, {}, true},
        {"count down while connected: device gone, record cleared", plain,
         [](PollRig& r) {
             const std::string kbd = r.mouse.addOtherDevice(0x046D, 0xC31C);
             r.discovery.DevTimerTimer();
             r.mouse.removeOtherDevice(kbd);
         },
         {"DeviceGone"}, false},
        {"another HID device arriving while connected: the mouse is opened and read again", plain,
         [](PollRig& r) {
             r.discovery.DevTimerTimer();
             r.mouse.addOtherDevice(0x046D, 0xC31C);
         },
         kAccepted, true},
        {"another HID device arriving with no mouse: the open fails, device gone", plain,
         [](PollRig& r) {
             r.mouse.unplug();
             r.mouse.addOtherDevice(0x046D, 0xC31C);
         },
         {"DeviceGone"}, false},
        {"the mouse's two interfaces leaving as three others arrive: device gone, handles closed", plain,
         [](PollRig& r) {
             r.discovery.DevTimerTimer();
             r.mouse.unplug();
             for (std::uint16_t pid : {0xC31C, 0xC52B, 0xC077}) r.mouse.addOtherDevice(0x046D, pid);
         },
         {"DeviceGone"}, false},
        {"fewer than two agreeing pairs: ignored", plain,
         [](PollRig& r) { r.transport.scripted = {3, 4, 3, 4, 3, 4, 3, 4, 3, 3}; }, {}, false},
        {"two agreeing pairs: the fifth pair's count is taken", plain,
         [](PollRig& r) { r.transport.scripted = {3, 3, 4, 5, 3, 3, 5, 6, 7, 8}; }, kAccepted, true},
        {"only the ordinary mouse interface (feature length 2): not opened", plain,
         [](PollRig& r) {
             r.mouse.unplug();
             r.mouse.addOtherDevice(0x1BCF, 0x08B8, 2, 7);
         },
         {"DeviceGone"}, false},
        {"refused IDs: Str107 with the poll stopped meanwhile, nothing read",
         [] { return std::make_unique<PollRig>(withIds(0x12, 0x34)); }, nullptr,
         {"ShowReadIds 18 52", "StopDevTimer", "ShowIdsRefused", "StartDevTimer"}, true},
        {"IDs 0/0 accepted through the reserve IDs 0/0", [] { return std::make_unique<PollRig>(withIds(0, 0)); },
         nullptr, {"ShowReadIds 0 0", "MouseAccepted"}, true},
        {"IDs accepted through the layout table's reserve pair",
         [] {
             return std::make_unique<PollRig>(withIds(0x12, 0x34),
                                              DiscoveryConfig::fromBuiltinImage(test::mouseImage(), 0x12, 0x34));
         },
         nullptr, {"ShowReadIds 18 52", "MouseAccepted"}, true},
        {"identify reply without the I2C marks: silent", plain,
         [](PollRig& r) { r.mouse.setIdentifyReply(0x40, 0x3A, 0xC0); }, {}, true},
        {"built-in image 1 not I2C: Str102 and the no-device state",
         [] {
             Image flash = test::mouseImage();
             flash[495] = 0x00;
             return std::make_unique<PollRig>(test::mouseImage(), DiscoveryConfig::fromBuiltinImage(flash));
         },
         nullptr, {"ShowMemoryTypeError", "RefreshErrorAP"}, true},
    };
    for (const Case& c : cases) {
        auto rig = c.make();
        if (c.before) c.before(*rig);
        rig->events.clear();
        rig->discovery.DevTimerTimer();
        EXPECT_EQ(rig->events.calls(), c.expected) << c.what;
        EXPECT_EQ(rig->link.commandHandleValid(), c.connected) << c.what;
    }
}

TEST(DevTimerTimer, ArrivalWaitsInStepsAndIgnoresTicksMeanwhile) {
    PollRig rig;
    rig.discovery.StartDevTimer();
    int steps = 0;
    // Timer ticks delivered while the UI processes its messages during the wait.
    rig.clock.setPump([&] {
        ++steps;
        rig.discovery.devTimerTick();
    });
    rig.discovery.DevTimerTimer();
    rig.clock.setPump(nullptr);
    EXPECT_EQ(steps, 21);
    EXPECT_EQ(rig.clock.now(), Clock::Duration(2100));
    EXPECT_EQ(rig.transport.countCalls, 10);   // five pairs, none from the nested ticks
    EXPECT_EQ(rig.discovery.storedCount(), 2u);
    EXPECT_EQ(rig.discovery.connectedMemoryType(), MemoryType::I2C);

    // A stopped DevTimer does not poll.
    rig.discovery.StopDevTimer();
    rig.discovery.devTimerTick();
    EXPECT_EQ(rig.transport.countCalls, 10);
}

// The splash of a block write lets the UI process its messages between data reports; a
// DevTimer tick arriving then must not put its open and identify into the write.
class TickingSplash : public SplashHooks {
public:
    explicit TickingSplash(Discovery& d) : discovery(d) {}
    void showSplash() override { discovery.devTimerTick(); }
    void hideSplash() override {}
    Discovery& discovery;
};

TEST(DevTimerTimer, TickDuringAnExchangeWaitsForTheNextOne) {
    PollRig rig;
    rig.discovery.DevTimerTimer();
    rig.discovery.StartDevTimer();
    rig.mouse.addOtherDevice(0x046D, 0xC31C);   // a count change is pending
    TickingSplash splash(rig.discovery);
    rig.link.setSplashHooks(&splash);
    rig.events.clear();

    std::array<std::uint8_t, 147> profiles{};
    for (std::size_t i = 0; i < profiles.size(); ++i) profiles[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_TRUE(rig.link.WriteBlock(192, 147, profiles));
    EXPECT_TRUE(rig.events.calls().empty());
    const Image memory = rig.mouse.memory();
    EXPECT_TRUE(std::equal(profiles.begin(), profiles.end(), memory.begin() + 192));

    // The next tick outside the exchange sees the change.
    rig.link.setSplashHooks(nullptr);
    rig.discovery.devTimerTick();
    EXPECT_EQ(rig.events.calls(), kAccepted);
}

TEST(OpenMouse, KeepsTheLastMatchingVendorInterface) {
    PollRig rig;
    // Enumerated after the mouse's own interfaces, with its IDs and an 8-byte feature report,
    // but it answers no reports.
    const std::string twin = rig.mouse.addOtherDevice(0x1BCF, 0x08B8, 8, 8);
    ASSERT_TRUE(rig.discovery.OpenMouse(0x1BCF, 0x08B8));
    const Connection c = rig.discovery.connection();
    EXPECT_EQ(c.path, twin);          // the record and notification handle are the last match's
    EXPECT_NE(c.notification, nullptr);
    // Its identify was refused, so the command and reply handles stay on the vendor interface
    // that answered: the mouse is identified and read through them.
    ASSERT_NE(c.command, nullptr);
    EXPECT_EQ(c.command, c.reply);
    EXPECT_NE(c.command, c.notification);
    EXPECT_EQ(rig.discovery.ReadDevInfo().outcome, IdentifyOutcome::Accepted);

    // Alone, the twin gives a record whose identify went nowhere.
    rig.mouse.unplug();
    ASSERT_TRUE(rig.discovery.OpenMouse(0x1BCF, 0x08B8));
    EXPECT_EQ(rig.discovery.connection().command, nullptr);
    EXPECT_EQ(rig.discovery.ReadDevInfo().outcome, IdentifyOutcome::NotIdentified);

    rig.mouse.plugIn();
    rig.mouse.removeOtherDevice(twin);
    ASSERT_TRUE(rig.discovery.OpenMouse(0x1BCF, 0x08B8));
    const Connection mouse = rig.discovery.connection();
    EXPECT_EQ(mouse.path, SimulatedMouse::kVendorPath);   // the pointer interface was skipped
    EXPECT_EQ(mouse.featureReportLength, 8u);
    EXPECT_EQ(mouse.inputReportLength, 8u);
    EXPECT_NE(mouse.reply, nullptr);
}

TEST(VendorCollection, ANodeQualifiesThroughAnyOfItsCollections) {
    using C = HidCollectionInfo;
    const C keyboard{0x0001, 0x0006, 17, 9, 2};
    const C vendor{0xFF00, 0x0001, 8, 8, 0};
    struct Case {
        const char* what;
        HidInterfaceInfo info;
        std::optional<std::size_t> input;   // the input length of the chosen collection; none: skipped
    };
    const Case cases[] = {
        {"listed as a whole, 8-byte feature", {"a", 1, 2, 8, 8, 0, {}}, 8},
        {"listed as a whole, 2-byte feature", {"a", 1, 2, 2, 7, 0, {}}, std::nullopt},
        {"vendor beside a longer keyboard", {"a", 1, 2, 17, 9, 2, {keyboard, vendor}}, 8},
        {"an 8-byte whole made of others", {"a", 1, 2, 8, 9, 2, {C{1, 6, 5, 9, 2}, C{1, 2, 4, 4, 0}}}, std::nullopt},
        {"the first of two qualifying", {"a", 1, 2, 8, 33, 0, {C{0xFF00, 1, 8, 33, 0}, vendor}}, 33},
    };
    for (const Case& c : cases) {
        const std::optional<HidCollectionInfo> got = vendorCollection(c.info);
        ASSERT_EQ(got.has_value(), c.input.has_value()) << c.what;
        if (got) {
            EXPECT_EQ(got->featureReportLength, 8u) << c.what;
            EXPECT_EQ(got->inputReportLength, *c.input) << c.what;
        }
    }
}

TEST(OpenMouse, FindsTheVendorCollectionOfANodeSharedWithAKeyboard) {
    PollRig rig;
    // As hidraw lists them: the vendor node measured whole (the keyboard's 17-byte feature
    // report) with its two collections; the pointer node with its 2-byte one.
    rig.transport.edit = [](std::vector<HidInterfaceInfo>& all) {
        for (HidInterfaceInfo& i : all) {
            if (i.path == SimulatedMouse::kVendorPath) {
                i.featureReportLength = 17;
                i.inputReportLength = 9;
                i.collections = {{0x0001, 0x0006, 17, 9, 2}, {0xFF00, 0x0001, 8, 8, 0}};
            } else {
                i.collections = {{0x0001, 0x0002, i.featureReportLength, i.inputReportLength, 0}};
            }
        }
    };
    ASSERT_TRUE(rig.discovery.OpenMouse(0x1BCF, 0x08B8));
    const Connection c = rig.discovery.connection();
    EXPECT_EQ(c.path, SimulatedMouse::kVendorPath);
    EXPECT_EQ(c.featureReportLength, 8u);
    EXPECT_EQ(c.inputReportLength, 8u);
    EXPECT_EQ(rig.discovery.ReadDevInfo().outcome, IdentifyOutcome::Accepted);
}

TEST(ReadDevInfo, RefusedIdentityReadIsNotTakenForTheAcceptedPair) {
    PollRig rig;
    ASSERT_TRUE(rig.discovery.OpenMouse(0x1BCF, 0x08B8));
    rig.mouse.vanishAfterReports(2);   // identify and its reply, then the ID read is refused
    const IdentifyResult r = rig.discovery.ReadDevInfo();
    EXPECT_EQ(r.outcome, IdentifyOutcome::NotIdentified);
    EXPECT_TRUE(rig.events.calls().empty());
}

// A mouse whose node this user may not open (no udev rule) is reported with its path, so the
// window can say what fixes it; once the rule is in place the same poll connects it.
TEST(DevTimerTimer, AMouseThatMayNotBeOpenedIsReportedNotIgnored) {
    PollRig rig;
    rig.mouse.denyOpen(true);
    rig.discovery.DevTimerTimer();
    EXPECT_EQ(rig.events.calls(), (Calls{"DeviceGone", std::string("MousePermissionDenied ") + SimulatedMouse::kVendorPath}));
    EXPECT_EQ(rig.discovery.connection().command, nullptr);

    // Another device is plugged in: the count changes, the mouse is still refused.
    rig.events.clear();
    rig.mouse.denyOpen(false);
    rig.mouse.addOtherDevice(0x046D, 0xC077);
    rig.discovery.DevTimerTimer();
    EXPECT_EQ(rig.events.calls(), kAccepted);

    // Nothing of the mouse present: no such report.
    PollRig gone;
    gone.mouse.denyOpen(true);
    gone.mouse.unplug();
    gone.mouse.addOtherDevice(0x046D, 0xC077);
    gone.discovery.DevTimerTimer();
    EXPECT_EQ(gone.events.calls(), Calls{"DeviceGone"});
}

TEST(ReFindDev, FindsTheMouseAfterItsRestart) {
    for (bool comesBack : {true, false}) {
        PollRig rig;
        rig.discovery.DevTimerTimer();
        rig.mouse.setRestartDowntime(comesBack ? Clock::Duration(4000) : Clock::Duration(30000));
        rig.events.clear();
        rig.clock.waitFor(Clock::Duration(1010));
        ASSERT_TRUE(rig.link.SendCommand(0x0E));
        EXPECT_FALSE(rig.mouse.present());
        EXPECT_FALSE(rig.link.SendCommand(0x0D));   // the old handle died with the restart
        rig.clock.waitFor(Clock::Duration(6010));
        rig.clock.waitFor(Clock::Duration(10010));
        EXPECT_EQ(rig.discovery.ReFindDev(), comesBack);
        EXPECT_EQ(rig.events.calls(), comesBack ? kAccepted : Calls{"DeviceGone"});
        EXPECT_EQ(rig.discovery.connectedMemoryType(), comesBack ? MemoryType::I2C : MemoryType::None);
    }
}

}  // namespace
}  // namespace nivra
