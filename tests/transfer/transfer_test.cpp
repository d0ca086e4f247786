// The transfers against the simulated mouse, checked on the report trace: whole-image
// read, restores, write-backs, live writes and the restart and re-find.
#include "tests/transfer/transfer_rig.h"

#include "image/defaults.h"

namespace nivra {
namespace {

using namespace nivra::testing;
using std::chrono::milliseconds;

constexpr std::size_t kReadsOfWholeImage = 293;

std::string hexByte(std::uint8_t b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

TEST(WholeImageRead, OneCommandAnd293DataReadsThenTheUiIsFree) {
    Rig rig(builtinImage(1), /*withBackups=*/true);
    rig.mark();
    rig.connect();

    const auto lines = rig.lines();
    const std::string command = setLine(protocol::blockCommand(protocol::Command::BlockRead, 0, 2048));
    ASSERT_EQ(std::count(lines.begin(), lines.end(), command), 1);
    const auto at = std::find(lines.begin(), lines.end(), command);
    // Nothing but the 293 data-report reads follows the command; the read is the last exchange.
    ASSERT_EQ(lines.end() - at - 1, static_cast<std::ptrdiff_t>(kReadsOfWholeImage));
    EXPECT_EQ(countPrefix({at + 1, lines.end()}, "GET 41 "), kReadsOfWholeImage);

    EXPECT_EQ(bytesOf(rig.state.transfer), bytesOf(rig.mouse.memory()));
    EXPECT_TRUE(rig.view.has("showPatchCheck 261A"));
    EXPECT_FALSE(rig.transfer->busy());
    EXPECT_FALSE(rig.transfer->noDevice());
    EXPECT_TRUE(rig.discovery->devTimerRunning());
    EXPECT_FALSE(rig.view.splashShown);
    EXPECT_FALSE(rig.view.coveringShown);
    EXPECT_EQ(rig.state.led, LedType::Rgb);

    // The read is kept as this connection's backup, byte for byte.
    const auto backups = rig.backups->list();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(readBytes(backups[0].path), bytesOf(rig.mouse.memory()));
    EXPECT_NE(backups[0].name.find("-1BCF-08B8-FF-FF"), std::string::npos);
}

TEST(WholeImageRead, OrderOfTheWindowCalls) {
    Rig rig;
    rig.connect();
    rig.mark();
    rig.transfer->readWholeImage();
    EXPECT_EQ(rig.view.withoutSplash(),
              (std::vector<std::string>{"showCoveringLabels", "rebuildPcMacroList", "deviceMacroAreaChanged",
                                        "showPatchCheck 261A", "fireMacroNamesChanged", "refreshUI",
                                        "refreshPointerSettings", "showFirstAndModePage", "hideCoveringLabels"}));
    EXPECT_EQ(rig.view.calls.front(), "showCoveringLabels");
    EXPECT_EQ(rig.view.calls[1], "showSplash");
}

TEST(WholeImageRead, FailedDataReadsAreReadAgainOnceThenNeitherShownNorEditedNorKept) {
    Rig rig(builtinImage(1), /*withBackups=*/true);
    rig.connect();
    const auto before = rig.backups->list();
    const Image transferBefore = rig.state.transfer;
    const Image workBefore = rig.state.work.bytes;
    rig.mouse.failDataReads(true);
    rig.backups->beginConnection();
    rig.mark();
    EXPECT_TRUE(rig.transfer->readWholeImage());
    EXPECT_FALSE(rig.transfer->lastReadComplete());
    const std::string read = setLine(protocol::blockCommand(protocol::Command::BlockRead, 0, 2048));
    const std::vector<std::string> lines = rig.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), read), 2) << "read again once";
    // Nothing of the failed reads is taken: no 0xFF, no sections repaired from defaults.
    EXPECT_EQ(rig.state.transfer, transferBefore);
    EXPECT_EQ(rig.state.work.bytes, workBefore);
    EXPECT_TRUE(rig.view.has("showMessage Str821"));
    EXPECT_EQ(rig.backups->list().size(), before.size());
    // No edit is made on it until a whole read succeeds.
    EXPECT_TRUE(rig.transfer->imageIncomplete());
    EXPECT_FALSE(rig.editor().setByte(200, 0x42));
    rig.mouse.failDataReads(false);
    EXPECT_TRUE(rig.transfer->readWholeImage());
    EXPECT_FALSE(rig.transfer->imageIncomplete());
    EXPECT_TRUE(rig.editor().setByte(200, 0x42, Write::None));
}

TEST(WholeImageRead, AMouseThatVanishesMidReadLeavesNoBackupAndNoPartialImage) {
    // The first data reports carry the mouse's bytes, the rest never arrive: none of it is
    // taken as the mouse's configuration.
    Rig rig(builtinImage(1), /*withBackups=*/true);
    rig.connect();
    ASSERT_TRUE(rig.transfer->lastReadComplete());
    const auto before = rig.backups->list();
    const Image transferBefore = rig.state.transfer;
    Image changed = rig.mouse.memory();
    changed[10] = 0x42;  // a change, so a complete read would be kept anew
    rig.mouse.setMemory(changed);
    rig.mouse.vanishAfterReports(100);
    rig.backups->beginConnection();
    EXPECT_FALSE(rig.transfer->readWholeImage()) << "the read again finds no mouse";
    EXPECT_FALSE(rig.transfer->lastReadComplete());
    EXPECT_EQ(rig.state.transfer, transferBefore);
    EXPECT_EQ(rig.backups->list().size(), before.size());
}

TEST(Restore, Confirm2WritesImage2AndReadsItBackAfterTheRestart) {
    Rig rig;
    rig.connect();
    rig.mark();
    const auto start = rig.clock.now();
    rig.transfer->DefaultParameterConfirm(2);

    EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(builtinImage(2)));
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    // 1.01 s before the restart command, 6.01 s and 10.01 s after it; nothing else waits.
    EXPECT_EQ(rig.clock.now() - start, milliseconds(1010 + 6010 + 10010));

    const auto lines = rig.lines();
    const auto write = std::find(lines.begin(), lines.end(),
                                 setLine(protocol::blockCommand(protocol::Command::BlockWrite, 0, 2048)));
    const auto restart = std::find(lines.begin(), lines.end(), setLine(protocol::commandReport(0x0E)));
    const auto read = std::find(lines.begin(), lines.end(),
                                setLine(protocol::blockCommand(protocol::Command::BlockRead, 0, 2048)));
    ASSERT_NE(write, lines.end());
    ASSERT_NE(restart, lines.end());
    ASSERT_NE(read, lines.end());
    EXPECT_TRUE(write < restart && restart < read);
    EXPECT_EQ(countPrefix({write + 1, restart}, "SET 41 "), kReadsOfWholeImage);

    // Read back: the working copy shows image 2, the UI is free again.
    EXPECT_EQ(bytesOf(rig.state.transfer), bytesOf(builtinImage(2)));
    EXPECT_EQ(rig.transfer->readRuns(), 2u);
    EXPECT_FALSE(rig.transfer->busy());
    EXPECT_FALSE(rig.view.splashShown);
    EXPECT_FALSE(rig.view.coveringShown);
    EXPECT_TRUE(rig.discovery->devTimerRunning());
    const auto calls = rig.view.withoutSplash();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "hideOpenMenus");
    EXPECT_EQ(calls[1], "openMainModePage");
    EXPECT_EQ(calls[2], "showCoveringLabels");
}

TEST(Restore, WithoutAMouseOnlyTellsTheUser) {
    Rig rig;
    rig.mark();
    rig.transfer->DefaultParameterConfirm(1);
    rig.transfer->restoreDefaults();
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"showMessage Str022", "resultImage off"}));
    EXPECT_EQ(rig.mouse.restartCount(), 0);
}

TEST(Restore, FullDefaultsKeepPatchCodeAndZeroTheMacroArea) {
    Image memory = builtinImage(3);
    for (std::size_t i = 496; i < 1008; ++i) memory[i] = static_cast<std::uint8_t>(i);
    for (std::size_t i = 1024; i < 1536; ++i) memory[i] = static_cast<std::uint8_t>(i * 3);
    for (std::size_t i = 1008; i < 1024; ++i) memory[i] = static_cast<std::uint8_t>(0xC0 + i);
    for (std::size_t i = 339; i < 380; ++i) memory[i] = 0x3C;
    for (std::size_t i = 1696; i < 2016; ++i) memory[i] = 0x77;  // fire-macro bodies
    memory[1536] = 0x00;
    memory[1537] = 0x41;  // fire-macro name "A"
    Rig rig(memory);
    rig.connect();
    rig.mark();
    rig.transfer->restoreDefaults();

    const Image after = rig.mouse.memory();
    EXPECT_TRUE(std::equal(after.begin() + 1008, after.begin() + 1536, memory.begin() + 1008));  // patch kept
    EXPECT_TRUE(std::equal(after.begin() + 339, after.begin() + 380, memory.begin() + 339));     // reserved kept
    EXPECT_TRUE(std::all_of(after.begin() + 496, after.begin() + 1008, [](auto b) { return b == 0; }));
    for (int n = 0; n < 10; ++n) {
        const std::string name = "Macro" + std::to_string(n + 1);
        for (std::size_t i = 0; i < 8; ++i) {
            const std::uint16_t unit = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0;
            EXPECT_EQ(after[1536 + 16 * n + 2 * i], unit >> 8);
            EXPECT_EQ(after[1536 + 16 * n + 2 * i + 1], unit & 0xFF) << name;
        }
        // A body's first 24 bytes are cleared, its last 8 kept.
        EXPECT_TRUE(std::all_of(after.begin() + 1696 + 32 * n, after.begin() + 1696 + 32 * n + 24, [](auto b) { return b == 0; }));
        EXPECT_TRUE(std::all_of(after.begin() + 1696 + 32 * n + 24, after.begin() + 1696 + 32 * n + 32, [](auto b) { return b == 0x77; }));
    }
    // Every section is its default with a valid check byte; the USB text of the defaults.
    for (Region r : {region::kVendor, region::kUser, region::kProfile1, region::kProfile2, region::kProfile3})
        EXPECT_EQ(after[r.end() - 1], sectionCheckByte(std::span(after.data() + r.offset, r.length))) << r.offset;
    EXPECT_EQ(std::string(after.begin() + 111, after.begin() + 127), "HID Gaming mouse");
    EXPECT_EQ(after[495], 0xE0);
    EXPECT_EQ(rig.mouse.restartCount(), 1);

    const auto calls = rig.view.withoutSplash();
    EXPECT_EQ(calls.front(), "resultImage off");
    EXPECT_EQ(calls[1], "hideOpenMenus");
    EXPECT_EQ(calls[2], "engineerButtons off");
    EXPECT_LT(std::find(calls.begin(), calls.end(), "engineerButtons on"),
              std::find(calls.begin(), calls.end(), "rebuildPcMacroList"));  // enabled before the re-read
    EXPECT_EQ(calls.back(), "resultImage on");
}

TEST(WriteBack, ProfilesThenUserSectionThenModeReselect) {
    Rig rig;
    rig.connect();
    // A button edit: profile 2, button 3 (249..252) becomes DPI Up.
    const std::array<std::uint8_t, 4> code{0x09, 0x01, 0x00, 0x00};
    std::copy(code.begin(), code.end(), rig.state.work.bytes.begin() + 249);
    rig.mark();
    ASSERT_TRUE(rig.transfer->CommitProfileSections());

    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 1 + 21 + 1 + 4 + 2u);
    EXPECT_EQ(lines[0], "SET 40 07 00 C0 00 93 00 00");
    EXPECT_EQ(countPrefix({lines.begin() + 1, lines.begin() + 22}, "SET 41 "), 21u);
    EXPECT_EQ(lines[22], "SET 40 06 00 A4 00 1C 00 00");
    EXPECT_EQ(countPrefix({lines.begin() + 23, lines.begin() + 27}, "GET 41 "), 4u);
    EXPECT_EQ(lines[27], "SET 40 05 00 A4 0F 00 00 01");
    EXPECT_EQ(lines[28], "SET 40 05 00 A4 " + hexByte(rig.state.work.bytes[164]) + " 00 00 01");

    const Image mem = rig.mouse.memory();
    EXPECT_TRUE(std::equal(mem.begin() + 192, mem.begin() + 339, rig.state.work.bytes.begin() + 192));
    EXPECT_EQ(mem[289], sectionCheckByte(std::span(mem.data() + 241, 49)));
    EXPECT_FALSE(rig.view.splashShown);
}

TEST(WriteBack, FireKeysGoRightAfterTheProfiles) {
    Rig rig;
    rig.connect();
    rig.state.work.bytes[486] = 0x05;  // fire key 1: six shots
    rig.mark();
    ASSERT_TRUE(rig.transfer->CommitProfileAndFireKeySections());
    const auto lines = rig.lines();
    ASSERT_GT(lines.size(), 25u);
    EXPECT_EQ(lines[22], "SET 40 07 01 E4 00 0C 00 00");
    EXPECT_EQ(countPrefix({lines.begin() + 23, lines.begin() + 25}, "SET 41 "), 2u);
    EXPECT_EQ(lines[25], "SET 40 06 00 A4 00 1C 00 00");
    EXPECT_EQ(rig.mouse.memory()[486], 0x05);
}

TEST(WriteBack, ReadOfTheUserSectionKeepsTheWorkingCopyWhenRefused) {
    Rig rig;
    rig.connect();
    const auto before = std::vector<std::uint8_t>(rig.state.work.user().begin(), rig.state.work.user().end());
    rig.mouse.refuseCommandReports(true);
    EXPECT_FALSE(rig.transfer->RefreshProfileParameter());
    EXPECT_EQ(std::vector<std::uint8_t>(rig.state.work.user().begin(), rig.state.work.user().end()), before);
    rig.mouse.refuseCommandReports(false);
    rig.mouse.setMemory([&] { Image m = rig.mouse.memory(); m[166] = 0x02; return m; }());
    EXPECT_TRUE(rig.transfer->RefreshProfileParameter());
    EXPECT_EQ(rig.state.work.bytes[166], 0x02);
}

TEST(LiveWrite, FieldsAreSentAloneWithoutTheCheckByte) {
    Rig rig;
    rig.connect();
    struct Case {
        std::size_t offset;
        std::vector<std::uint8_t> value;
        const char* report;
    } cases[] = {
        {57, {0xFF, 0x80, 0x00}, "SET 40 05 00 39 FF 80 00 03"},  // colour 1
        {164, {0x0F}, "SET 40 05 00 A4 0F 00 00 01"},             // one byte
        {48, {0x01, 0x2C}, "SET 40 05 00 30 01 2C 00 02"},        // a 16-bit field
        {135, {0x08, 0x01, 0x00, 0x00}, "SET 40 05 01 87 08 01 00 00"},  // combo key 3
    };
    for (const Case& c : cases) {
        std::copy(c.value.begin(), c.value.end(), rig.state.work.bytes.begin() + static_cast<std::ptrdiff_t>(c.offset));
        rig.mark();
        ASSERT_TRUE(rig.transfer->liveWrite(c.offset, c.value.size())) << c.report;
        EXPECT_EQ(rig.lines(), std::vector<std::string>{c.report});
        EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"showSplash", "hideSplash"}));
        const Image mem = rig.mouse.memory();
        EXPECT_TRUE(std::equal(c.value.begin(), c.value.end(), mem.begin() + static_cast<std::ptrdiff_t>(c.offset)));
    }
    // No check byte was sent; the mouse keeps its own valid.
    const Image mem = rig.mouse.memory();
    EXPECT_EQ(mem[163], sectionCheckByte(std::span<const std::uint8_t>(mem.data(), 164)));
    EXPECT_EQ(mem[191], sectionCheckByte(std::span<const std::uint8_t>(mem.data() + 164, 28)));

    rig.mark();
    EXPECT_FALSE(rig.transfer->liveWrite(190, 3));   // runs past the user section
    EXPECT_FALSE(rig.transfer->liveWrite(200, 1));   // a profile byte: not a live-write field
    EXPECT_FALSE(rig.transfer->liveWrite(10, 0));
    EXPECT_FALSE(rig.transfer->liveWrite(10, 5));
    EXPECT_TRUE(rig.lines().empty());
}

TEST(LiveWrite, WholeSectionsInThreeBytePieces) {
    struct Case {
        bool vendor;
        std::size_t reports;
        const char* last;
    } cases[] = {
        {true, 55, "SET 40 05 00 A2 "},
        {false, 10, "SET 40 05 00 BF "},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.connect();
        rig.state.work.bytes[c.vendor ? 60 : 170] = 0x42;
        rig.mark();
        ASSERT_TRUE(c.vendor ? rig.transfer->liveWriteVendorSection() : rig.transfer->liveWriteUserSection());
        const auto lines = rig.lines();
        ASSERT_EQ(lines.size(), c.reports);
        EXPECT_EQ(countPrefix(lines, "SET 40 05 00 "), c.reports);
        EXPECT_EQ(lines.back().rfind(c.last, 0), 0u) << lines.back();
        EXPECT_EQ(lines.back().substr(lines.back().size() - 2), c.vendor ? "02" : "01");
        const Region r = c.vendor ? region::kVendor : region::kUser;
        const Image mem = rig.mouse.memory();
        EXPECT_TRUE(std::equal(mem.begin() + r.offset, mem.begin() + r.end(), rig.state.work.bytes.begin() + r.offset));
        EXPECT_EQ(mem[r.end() - 1], sectionCheckByte(std::span(mem.data() + r.offset, r.length)));
        EXPECT_FALSE(rig.view.splashShown);
    }
}

TEST(LiveWrite, NothingIsSentWhileBusy) {
    Rig rig;
    rig.connect();
    rig.transfer->setBusy(true);
    rig.mark();
    EXPECT_FALSE(rig.transfer->CommitProfileSections());
    EXPECT_FALSE(rig.transfer->CommitProfileAndFireKeySections());
    EXPECT_FALSE(rig.transfer->liveWrite(57, 3));
    EXPECT_FALSE(rig.transfer->liveWriteVendorSection());
    EXPECT_FALSE(rig.transfer->liveWriteUserSection());
    EXPECT_TRUE(rig.lines().empty());
}

TEST(Restart, AFailedReFindFreesTheUi) {
    struct Case {
        const char* what;
        void (*arrange)(SimulatedMouse&);
    } cases[] = {
        {"the mouse stays away", [](SimulatedMouse& m) { m.setRestartDowntime(milliseconds(60000)); }},
        {"it comes back unidentified", [](SimulatedMouse& m) { m.setIdentifyReply(0x10, 0x00, 0x00); }},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.connect();
        c.arrange(rig.mouse);
        rig.mark();
        rig.transfer->DefaultParameterConfirm(3);
        EXPECT_EQ(rig.mouse.restartCount(), 1) << c.what;
        EXPECT_EQ(rig.transfer->readRuns(), 1u) << c.what;  // no read after the restart
        EXPECT_TRUE(rig.discovery->devTimerRunning()) << c.what;
        EXPECT_FALSE(rig.view.splashShown) << c.what;
        EXPECT_FALSE(rig.transfer->busy()) << c.what;
    }
    // When the mouse stays away the device-gone handling ran and the pages stay covered.
    Rig rig;
    rig.connect();
    rig.mouse.setRestartDowntime(milliseconds(60000));
    rig.mark();
    rig.transfer->DefaultParameterConfirm(1);
    EXPECT_TRUE(rig.view.has("DeviceGone"));
    EXPECT_TRUE(rig.view.has("showMessage Str100"));
    EXPECT_TRUE(rig.view.coveringShown);
    EXPECT_TRUE(rig.transfer->noDevice());
}

TEST(Restart, ASecondTransferCannotStartDuringTheWaits) {
    Rig rig;
    rig.connect();
    int nested = 0;
    // A click that the UI processes while the restart waits: it must do nothing.
    rig.clock.setPump([&] {
        if (nested++ == 0) rig.transfer->DefaultParameterConfirm(2);
    });
    rig.transfer->DefaultParameterConfirm(1);
    rig.clock.setPump({});
    EXPECT_GT(nested, 1);
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(builtinImage(1)));
}

}  // namespace
}  // namespace nivra

namespace nivra {
namespace {

using namespace nivra::testing;

TEST(Backups, TheConfigurationBeforeARestoreIsKept) {
    Image mine = builtinImage(3);
    mine[57] = 0x01;  // a colour of the user's own
    mine[163] = sectionCheckByte(std::span(mine.data(), 164));
    Rig rig(mine, /*withBackups=*/true);
    rig.connect();
    rig.transfer->DefaultParameterConfirm(1);  // the wrong restore

    // Two connections: before the restore and after its restart.
    const auto backups = rig.backups->list();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(readBytes(backups[0].path), bytesOf(builtinImage(1)));
    EXPECT_EQ(readBytes(backups[1].path), bytesOf(mine));
    // A fresh read within the same connection replaces that connection's file.
    rig.transfer->readWholeImage();
    EXPECT_EQ(rig.backups->list().size(), 2u);
}

}  // namespace
}  // namespace nivra
