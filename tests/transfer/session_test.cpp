// The mouse session as its observers see it, and the link faults mended with it: live edits
// that survive a re-read, a profile write-back whose read-back fails, the failed-report count
// of one read, and flows that never start inside another.
#include "tests/transfer/transfer_rig.h"

#include "device/protocol.h"
#include "files/patch_code.h"
#include "settings/cpi_model.h"
#include "settings/macro_model.h"
#include "settings/profile_model.h"

namespace nivra {
namespace {

using namespace nivra::testing;

constexpr std::size_t kColourOffset = 57;   // a vendor-section colour byte
constexpr std::size_t kUserByte = 170;      // a user-section byte past the mode and CPI bytes

TEST(Session, ALiveVendorWriteSurvivesTheNextWholeImageRead) {
    Rig rig;
    rig.connect();
    const std::uint8_t colour = static_cast<std::uint8_t>(rig.state.work.bytes[kColourOffset] ^ 0x5A);
    ASSERT_TRUE(rig.editor().setByte(kColourOffset, colour, Write::Live));
    ASSERT_TRUE(rig.editor().lastWriteOk());
    // The mouse keeps its vendor section's check byte valid ...
    const Image memory = rig.mouse.memory();
    EXPECT_EQ(memory[kColourOffset], colour);
    EXPECT_EQ(memory[region::kVendor.end() - 1],
              sectionCheckByte(std::span<const std::uint8_t>(memory.data(), region::kVendor.length)));
    // ... so the read at the next connection keeps the edit instead of repairing the section.
    ASSERT_TRUE(rig.session->readImage());
    EXPECT_EQ(rig.state.work.bytes[kColourOffset], colour);
    EXPECT_EQ(rig.state.transfer[kColourOffset], colour);
}

TEST(Session, ALiveUserWriteSurvivesTheNextWholeImageRead) {
    Rig rig;
    rig.connect();
    const std::uint8_t value = static_cast<std::uint8_t>(rig.state.work.bytes[kUserByte] ^ 0x01);
    ASSERT_TRUE(rig.editor().setByte(kUserByte, value, Write::Live));
    ASSERT_TRUE(rig.session->readImage());
    EXPECT_EQ(rig.state.work.bytes[kUserByte], value);
}

TEST(Session, EveryReplacementOfTheWorkingCopyIsAnnouncedByTheEditor) {
    Rig rig;
    int replaced = 0;
    QObject::connect(&rig.editor(), &ImageEditor::imageReplaced, [&] { ++replaced; });
    rig.session->enterNoDevice();   // the no-device image
    EXPECT_EQ(replaced, 1);
    rig.connect();                  // the whole-image read
    EXPECT_EQ(replaced, 2);
    rig.session->restoreBuiltin(2); // the restore, then the read after the restart
    EXPECT_GE(replaced, 4);
}

TEST(ProfileWriteBack, AFailedUserReadLeavesTheWorkingCopyAndSendsNoModeByteOfFF) {
    Rig rig;
    rig.connect();
    const std::vector<std::uint8_t> user(rig.state.work.user().begin(), rig.state.work.user().end());
    const std::uint8_t mode = rig.state.work.bytes[164];
    rig.mouse.failDataReads(true);   // the mouse is unplugged during the read-back
    rig.mark();
    EXPECT_FALSE(rig.transfer->CommitProfileSections());
    EXPECT_EQ(std::vector<std::uint8_t>(rig.state.work.user().begin(), rig.state.work.user().end()), user);
    const auto lines = rig.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), setLine(protocol::setBytesReport(164, 0xFF, 0, 0, 1))), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), setLine(protocol::setBytesReport(164, mode, 0, 0, 1))), 1);
}

TEST(Link, TheFailedReportCountBelongsToItsOwnRead) {
    Rig rig;
    rig.connect();
    std::array<std::uint8_t, 70> half{};
    rig.mouse.failDataReads(true);
    const ReadResult failed = rig.link->ReadBlock(0, 70, half);
    rig.mouse.failDataReads(false);
    // Another exchange between the read and the check (a notification read) ...
    std::array<std::uint8_t, 1> cpi{};
    const ReadResult other = rig.link->ReadBlock(166, 1, cpi);
    // ... leaves the first read's count as it was.
    EXPECT_TRUE(failed.accepted);
    EXPECT_EQ(failed.failedReports, 10u);
    EXPECT_FALSE(failed.complete());
    EXPECT_TRUE(other.complete());
}

TEST(Flows, AClickDuringTheWholeImageReadsSplashStartsNothing) {
    Rig rig;
    rig.connect();
    bool clicked = false;
    QObject::connect(rig.session.get(), &MouseSession::splash, [&](bool shown) {
        if (!shown || clicked) return;
        clicked = true;
        rig.transfer->DefaultParameterConfirm(2);  // the click the UI handles while the splash repaints
    });
    rig.transfer->readWholeImage();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(rig.mouse.restartCount(), 0);
    EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(builtinImage(1)));
}

TEST(Flows, ClicksDuringALiveWritesSplashDoNothing) {
    Rig rig;
    rig.connect();
    const auto file = rig.dir.file("p.bin", bytesOf(builtinImage(2)));
    int clicks = 0;
    QObject::connect(rig.session.get(), &MouseSession::splash, [&](bool shown) {
        if (!shown || clicks) return;
        ++clicks;
        rig.session->restoreBuiltin(3);
        rig.session->loadProfile(givenPath(file.string()));
        EXPECT_EQ(rig.session->saveProfile(givenPath((rig.dir.path() / "s.bin").string())).outcome,
                  FileOutcome::Busy);
        rig.session->programPatch();
        rig.session->readImage();
    });
    const std::size_t reads = rig.transfer->readRuns();
    ASSERT_TRUE(rig.editor().setByte(kColourOffset, 0x11, Write::Live));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(rig.mouse.restartCount(), 0);
    EXPECT_EQ(rig.transfer->readRuns(), reads);
    EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "s.bin"));
    EXPECT_TRUE(rig.session->acceptsClicks());
}

TEST(Flows, IdentifyIsNeverSentInsideTheWholeImageRead) {
    Rig rig;
    rig.connect();
    const DeviceId id = rig.discovery->config().deviceTable[0];
    bool reopened = false;
    QObject::connect(rig.session.get(), &MouseSession::splash, [&](bool shown) {
        if (!shown || reopened || !rig.transfer->busy()) return;
        reopened = true;
        rig.discovery->OpenMouse(id.vendorId, id.productId);  // a re-find from inside the read's splash
    });
    rig.mark();
    rig.transfer->readWholeImage();
    ASSERT_TRUE(reopened);
    const auto lines = rig.lines();
    const std::string read = setLine(protocol::blockCommand(protocol::Command::BlockRead, 0, 2048));
    const auto at = std::find(lines.begin(), lines.end(), read);
    ASSERT_NE(at, lines.end());
    const std::string identify = setLine(protocol::commandReport(static_cast<std::uint8_t>(protocol::Command::Identify)));
    const auto end = lines.size() - static_cast<std::size_t>(at - lines.begin()) > 293 ? at + 294 : lines.end();
    EXPECT_EQ(std::count(at, end, identify), 0);
    EXPECT_EQ(countPrefix({at + 1, end}, "GET 41 "), 293u);
}

TEST(Session, TheWindowsNotificationsComeAsSignals) {
    Rig rig;
    int connected = 0, gone = 0, noDevice = 0;
    std::vector<bool> busy;
    QObject::connect(rig.session.get(), &MouseSession::connected, [&] { ++connected; });
    QObject::connect(rig.session.get(), &MouseSession::gone, [&] { ++gone; });
    QObject::connect(rig.session.get(), &MouseSession::noDeviceEntered, [&] { ++noDevice; });
    QObject::connect(rig.session.get(), &MouseSession::busyChanged, [&](bool b) { busy.push_back(b); });
    rig.connect();
    EXPECT_EQ(connected, 1);
    ASSERT_FALSE(busy.empty());
    EXPECT_TRUE(busy.front());
    EXPECT_FALSE(busy.back());
    rig.mouse.unplug();
    rig.session->pollNow();
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(noDevice, 1);
    EXPECT_TRUE(rig.session->noDevice());
}

// The models are the session's: one of each, built on first use from the image in the
// working copy at that moment, and following every replacement of it afterwards.
TEST(EditorModels, AModelBuiltLateShowsTheImageItIsBuiltOnAndFollowsTheNextOne) {
    Image memory = builtinImage(2);
    // One device macro "Macro1" (a key down and up), then the end of the area.
    const macro::NameBytes name = macro::nameBytes("Macro1");
    std::vector<std::uint8_t> area(name.begin(), name.end());
    for (std::uint8_t b : {0xA1, 0xFE, 0x00, 0x32, 0x21, 0x00}) area.push_back(b);
    std::fill_n(memory.begin() + static_cast<std::ptrdiff_t>(region::kDeviceMacros.offset), region::kDeviceMacros.length, 0);
    std::copy(area.begin(), area.end(), memory.begin() + static_cast<std::ptrdiff_t>(region::kDeviceMacros.offset));
    Rig rig(memory);
    rig.connect();
    EditorModels& models = rig.session->models();
    ASSERT_EQ(&models.cpi(), &rig.session->models().cpi());
    EXPECT_EQ(models.macros().deviceMacros().count(), 1u);
    ProfileModel fresh(rig.editor(), models.buttons());
    fresh.deriveFromImage();
    EXPECT_EQ(models.profiles().switchMethod(), fresh.switchMethod());

    // Built-in image 1 written and read back: every model shows it.
    rig.session->restoreBuiltin(1);
    macro::DeviceMacros builtin;
    builtin.ReadAndRefreshMacro3740(rig.state.work.deviceMacros());
    EXPECT_EQ(models.macros().deviceMacros().count(), builtin.count());
    EXPECT_EQ(models.cpi().currentLevel(), rig.state.work.bytes[offset::kCurrentCpi] + 1);
}

// A new report rate restarts the mouse through the session, which says so before and after.
TEST(EditorModels, TheReportRatesRestartRunsThroughTheSession) {
    Rig rig;
    rig.connect();
    std::vector<std::string> seen;
    QObject::connect(rig.session.get(), &MouseSession::restartStarted, [&] { seen.push_back("started"); });
    QObject::connect(rig.session.get(), &MouseSession::restartFinished,
                     [&](bool back) { seen.push_back(back ? "back" : "lost"); });
    CpiModel& cpi = rig.session->models().cpi();
    const int other = cpi.reportRate() == 1000 ? 500 : 1000;
    rig.mark();
    cpi.setReportRate(other);
    EXPECT_EQ(seen, (std::vector<std::string>{"started", "back"}));
    EXPECT_EQ(countPrefix(rig.lines(), setLine(protocol::commandReport(static_cast<std::uint8_t>(protocol::Command::Restart)))), 1u);
    EXPECT_EQ(rig.mouse.memory()[4], rig.state.work.bytes[4]);  // the rate byte as written

    // The mouse does not come back: the session says so.
    rig.mouse.unplug();
    cpi.setReportRate(cpi.reportRate() == 1000 ? 500 : 1000);
    EXPECT_EQ(seen.back(), "lost");
}

// An edit's result tells what it cost and whether all of it arrived: the user section's 10
// reports, with the mouse refusing each one of them in turn.
TEST(EditResult, CountsTheReportsOfItsEditAndWhetherTheMouseTookThemAll) {
    Rig rig;
    rig.connect();
    const EditResult live = rig.editor().setByte(kUserByte, rig.state.work.bytes[kUserByte] ^ 1, Write::Live);
    EXPECT_TRUE(live.applied());
    EXPECT_EQ(live.reportsSent, 1u);
    EXPECT_EQ(live.reportsAccepted, 1u);

    const EditResult whole = rig.editor().write(Write::UserSection);
    EXPECT_TRUE(whole.applied());
    EXPECT_EQ(whole.reportsSent, 10u);
    EXPECT_EQ(whole.reportsAccepted, 10u);

    for (std::size_t k = 1; k <= 10; ++k) {
        rig.mouse.addReportFault({ReportFaultKind::RefuseSet, rig.mouse.runReportCount() + k});
        const EditResult r = rig.editor().write(Write::UserSection);
        EXPECT_EQ(r.outcome, EditResult::Outcome::Refused) << k;
        EXPECT_TRUE(r.changed()) << k;
        EXPECT_EQ(r.reportsSent, k) << k;   // a refused report ends the section write
        EXPECT_EQ(r.reportsAccepted, k - 1) << k;
    }

    const Image before = rig.state.work.bytes;
    rig.transfer->setBusy(true);
    const EditResult busy = rig.editor().setByte(kUserByte, 0x42, Write::Live);
    rig.transfer->setBusy(false);
    EXPECT_TRUE(busy.busy());
    EXPECT_FALSE(busy.changed());
    EXPECT_EQ(busy.reportsSent, 0u);
    EXPECT_EQ(rig.state.work.bytes, before);
    EXPECT_EQ(rig.editor().setByte(kImageSize, 1).outcome, EditResult::Outcome::Refused);
}

TEST(ImageState, TheRefreshTakesTheLedTypeFromUserByte165) {
    ImageState state;
    distributeImage(builtinImage(2), state.work, state.defaultInputs());
    int refreshed = 0;
    DataBufToUI(state, [&] { ++refreshed; });
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(state.led, LedType::Rgb);  // byte 165 = 0x04
    state.work.bytes[165] = 0x45;
    DataBufToUI(state);
    EXPECT_EQ(state.led, LedType::Sync);
}

}  // namespace
}  // namespace nivra
