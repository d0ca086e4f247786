// Save Profile, Load Profile, Export All and the patch code flows against the simulated mouse.
#include "files/patch_code.h"
#include "files/profile_files.h"
#include "tests/transfer/transfer_rig.h"

namespace nivra {
namespace {

using namespace nivra::testing;

TEST(SaveProfile, FileIsTheMouseMemoryAsReadNow) {
    Rig rig;
    rig.connect();
    ProfileFiles files(*rig.transfer);
    // An edit sent to the mouse is in the file; one kept only in the working copy is not.
    rig.state.work.bytes[57] = 0x12;
    ASSERT_TRUE(rig.transfer->liveWrite(57, 1));
    rig.state.work.bytes[58] = 0x34;
    const auto path = rig.dir.path() / "saved.bin";
    rig.view.saveAnswer = path.string();
    rig.mark();

    const FileResult r = files.saveProfile(rig.view.saveDialog());
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(readBytes(path), bytesOf(rig.mouse.memory()));
    EXPECT_EQ(readBytes(path)[57], 0x12);
    EXPECT_NE(readBytes(path)[58], 0x34);
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 09 00 00 08 00"), 1u);  // a fresh read
    EXPECT_TRUE(rig.view.has("chooseSaveFile confirm"));
}

TEST(SaveProfile, NothingIsWrittenWithoutAConfigurationToSave) {
    struct Case {
        const char* what;
        bool connect;
        void (*arrange)(SimulatedMouse&);
        FileOutcome outcome;
        const char* message;
    } cases[] = {
        {"no mouse", false, [](SimulatedMouse&) {}, FileOutcome::NoMouse, "showMessage Str022"},
        {"the read is refused", true, [](SimulatedMouse& m) { m.refuseCommandReports(true); }, FileOutcome::NotRead, ""},
        // The command is accepted but data reports go unanswered: the image would be 0xFF
        // where the mouse's bytes are, and must not replace a good file.
        {"the data reads fail", true, [](SimulatedMouse& m) { m.failDataReads(true); }, FileOutcome::NotRead, ""},
        {"the mouse vanishes mid-read", true, [](SimulatedMouse& m) { m.vanishAfterReports(100); },
         FileOutcome::NotRead, ""},
    };
    for (const Case& c : cases) {
        Rig rig;
        if (c.connect) rig.connect();
        c.arrange(rig.mouse);
        const auto path = rig.dir.file("old.bin", {1, 2, 3});
        rig.view.saveAnswer = path.string();
        ProfileFiles files(*rig.transfer);
        EXPECT_EQ(files.saveProfile(rig.view.saveDialog()).outcome, c.outcome) << c.what;
        EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{1, 2, 3})) << c.what;
        if (*c.message) {
            EXPECT_TRUE(rig.view.has(c.message)) << c.what;
        }
    }
    // A mouse that is open but was never identified has no I2C memory to save.
    Rig rig;
    rig.mouse.setIdentifyReply(0x10, 0x00, 0x00);
    rig.discovery->DevTimerTimer();
    ASSERT_TRUE(rig.transfer->mouseOpen());
    const auto path = rig.dir.path() / "new.bin";
    rig.view.saveAnswer = path.string();
    ProfileFiles files(*rig.transfer);
    EXPECT_EQ(files.saveProfile(rig.view.saveDialog()).outcome, FileOutcome::NotRead);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LoadProfile, BadFilesAreRefusedAndNothingIsSent) {
    Image wrongMarker = builtinImage(1);
    wrongMarker[495] = 0xFF;
    const auto whole = bytesOf(builtinImage(2));
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"marker not E0", bytesOf(wrongMarker)},
        {"no byte 495", {whole.begin(), whole.begin() + 400}},
        {"marker present but short", {whole.begin(), whole.begin() + 2047}},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.connect();
        const Image before = rig.mouse.memory();
        const std::vector<std::uint8_t> working(rig.state.work.bytes.begin(), rig.state.work.bytes.end());
        rig.view.openAnswer = rig.dir.file("bad.bin", c.bytes).string();
        rig.mark();
        ProfileFiles files(*rig.transfer);
        EXPECT_EQ(files.loadProfile(rig.view.openDialog()).outcome, FileOutcome::Refused) << c.what;
        EXPECT_TRUE(rig.view.has("showMessageText Loading .bin is error!")) << c.what;
        EXPECT_TRUE(rig.lines().empty()) << c.what;
        EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(before)) << c.what;
        EXPECT_EQ(std::vector<std::uint8_t>(rig.state.work.bytes.begin(), rig.state.work.bytes.end()), working) << c.what;
        EXPECT_EQ(rig.mouse.restartCount(), 0) << c.what;
        EXPECT_FALSE(rig.transfer->busy()) << c.what;
    }
    // No mouse: "Str022" before any dialog.
    Rig rig;
    ProfileFiles files(*rig.transfer);
    EXPECT_EQ(files.loadProfile(rig.view.openDialog()).outcome, FileOutcome::NoMouse);
    EXPECT_EQ(rig.view.withoutSplash(), (std::vector<std::string>{"hideOpenMenus", "showMessage Str022"}));
    EXPECT_FALSE(rig.transfer->busy());
}

TEST(LoadProfile, FileIsWrittenAsItIsAndReadBackRepaired) {
    Image file = builtinImage(3);
    file[289] ^= 0x20;                                 // profile 2 check byte wrong
    for (std::size_t i = 1024; i < 1536; ++i) file[i] = 0x5A;  // another patch code
    Rig rig;
    rig.connect();
    rig.view.openAnswer = rig.dir.file("p.bin", bytesOf(file)).string();
    rig.mark();
    ProfileFiles files(*rig.transfer);
    ASSERT_TRUE(files.loadProfile(rig.view.openDialog()).ok());

    EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(file));  // unchanged, wrong check byte and all
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    EXPECT_EQ(rig.transfer->readRuns(), 2u);              // read back after the re-find
    const auto profile2 = rig.state.work.profile(2);
    EXPECT_EQ(profile2[48], sectionCheckByte(profile2));  // the UI shows the repaired section
    EXPECT_FALSE(rig.transfer->busy());
    EXPECT_FALSE(rig.view.coveringShown);
    const auto calls = rig.view.withoutSplash();
    EXPECT_EQ(calls[0], "hideOpenMenus");
    EXPECT_EQ(calls[1], "chooseOpenFile");
    EXPECT_EQ(calls[2], "hideOpenMenus");
    EXPECT_EQ(calls[3], "showCoveringLabels");
}

TEST(ExportAll, TheDeviceMacroAreaAlone) {
    Image memory = builtinImage(1);
    for (std::size_t i = 496; i < 1008; ++i) memory[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    Rig rig(memory);
    rig.connect();
    const auto path = rig.dir.path() / "macros.bin";
    rig.view.saveAnswer = path.string();
    ProfileFiles files(*rig.transfer);
    ASSERT_TRUE(files.exportDeviceMacros(rig.view.saveDialog()).ok());
    EXPECT_EQ(readBytes(path), std::vector<std::uint8_t>(memory.begin() + 496, memory.begin() + 1008));

    // Without a mouse there is no device macro area to export: no file.
    Rig none;
    none.view.saveAnswer = (none.dir.path() / "x.bin").string();
    ProfileFiles noFiles(*none.transfer);
    EXPECT_EQ(noFiles.exportDeviceMacros(none.view.saveDialog()).outcome, FileOutcome::NotRead);
    EXPECT_FALSE(std::filesystem::exists(none.dir.path() / "x.bin"));
}

std::vector<std::uint8_t> patchFile(const Image& source, std::uint8_t headerFill) {
    std::vector<std::uint8_t> bytes(source.begin() + 1008, source.begin() + 1536);
    std::fill(bytes.begin(), bytes.begin() + 8, headerFill);
    for (std::size_t i = 8; i < 16; ++i) bytes[i] = static_cast<std::uint8_t>(0x80 + i);
    return bytes;
}

TEST(PatchCode, LoadPatchCodeWritesAFreshHeaderAndKeepsBytes8To15) {
    Image memory = builtinImage(1);
    for (std::size_t i = 1008; i < 1536; ++i) memory[i] = 0x00;  // the mouse holds another patch
    Rig rig(memory);
    rig.connect();
    rig.view.openAnswer = rig.dir.file("patch.bin", patchFile(builtinImage(1), 0x00)).string();
    rig.mark();
    PatchCodeFiles patch(*rig.transfer);
    ASSERT_TRUE(patch.patchInOneStep(rig.view.openDialog()).ok());

    const Image after = rig.mouse.memory();
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin() + 1008, after.begin() + 1016),
              (std::vector<std::uint8_t>{0x04, 0x00, 0x02, 0x00, 0x00, 0x1A, 0x26, 0x1A}));
    for (std::size_t i = 8; i < 16; ++i) EXPECT_EQ(after[1008 + i], 0x80 + i);
    EXPECT_TRUE(std::equal(after.begin() + 1024, after.begin() + 1536, builtinImage(1).begin() + 1024));
    const auto lines = rig.lines();
    EXPECT_EQ(countPrefix(lines, "SET 40 07 03 F0 00 10 00 00"), 1u);
    EXPECT_EQ(countPrefix(lines, "SET 40 07 04 00 02 00 00 00"), 1u);
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    EXPECT_EQ(rig.view.calls.back(), "hideCoveringLabels");
    EXPECT_TRUE(rig.view.has("showPatchCheck 261A"));  // shown again by the read after the re-find
}

TEST(PatchCode, FilesNotOf528BytesAndMissingFilesAreRefused) {
    const auto full = patchFile(builtinImage(1), 0x00);
    std::vector<std::uint8_t> configuration(builtinImage(1).begin(), builtinImage(1).end());
    std::vector<std::uint8_t> longer = full;
    longer.push_back(0);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;  // empty: the file does not exist
        FileOutcome outcome;
    } cases[] = {
        {"short.bin", {full.begin(), full.end() - 1}, FileOutcome::WrongSize},
        {"long.bin", longer, FileOutcome::WrongSize},
        {"config.bin", configuration, FileOutcome::WrongSize},
        {"absent.bin", {}, FileOutcome::Refused},
    };
    for (const bool oneStep : {true, false}) {
        for (const auto& c : cases) {
            Rig rig;
            rig.connect();
            rig.view.openAnswer =
                c.bytes.empty() ? (rig.dir.path() / c.name).string() : rig.dir.file(c.name, c.bytes).string();
            const Image before = rig.mouse.memory();
            rig.mark();
            PatchCodeFiles patch(*rig.transfer);
            if (oneStep) {
                EXPECT_EQ(patch.patchInOneStep(rig.view.openDialog()).outcome, c.outcome) << c.name;
            } else {
                ASSERT_TRUE(patch.openUpdatePage());
                EXPECT_EQ(patch.loadPatchFile(rig.view.openDialog()).outcome, c.outcome) << c.name;
                EXPECT_FALSE(patch.patchLoaded());
                EXPECT_FALSE(patch.programPatch());
            }
            // A file of another size is told by its own message (the session's); only an
            // unreadable one is "Loading .bin is error!".
            EXPECT_EQ(rig.view.has("showMessageText Loading .bin is error!"), c.outcome == FileOutcome::Refused)
                << c.name;
            EXPECT_TRUE(rig.lines().empty()) << c.name;
            EXPECT_EQ(bytesOf(rig.mouse.memory()), bytesOf(before)) << c.name;
            EXPECT_EQ(rig.mouse.restartCount(), 0) << c.name;
            EXPECT_FALSE(rig.view.splashShown) << c.name;
        }
    }
}

TEST(PatchCode, LoadBinThenProgram) {
    Rig rig;
    rig.connect();
    PatchCodeFiles patch(*rig.transfer);
    ASSERT_TRUE(patch.openUpdatePage());
    rig.mark();
    EXPECT_FALSE(patch.programPatch());  // nothing loaded yet: nothing sent
    EXPECT_TRUE(rig.lines().empty());

    std::vector<std::uint8_t> file = patchFile(builtinImage(1), 0xAA);
    file[16] ^= 0x01;  // a different patch code: its own check
    const auto path = rig.dir.file("patch.bin", file).string();
    rig.view.openAnswer = path;
    ASSERT_TRUE(patch.loadPatchFile(rig.view.openDialog()).ok());
    EXPECT_TRUE(rig.view.has("showPatchFilePath " + path));
    EXPECT_TRUE(rig.lines().empty());  // loading sends nothing
    ASSERT_TRUE(patch.programPatch());

    const Image after = rig.mouse.memory();
    std::uint16_t sum = 0;
    for (std::size_t i = 16; i < 528; ++i) sum = static_cast<std::uint16_t>(sum + file[i]);
    EXPECT_EQ(after[1014], (sum >> 8) ^ 0x01);
    EXPECT_EQ(after[1015], (sum & 0xFF) ^ 0x5A);
    EXPECT_TRUE(std::equal(after.begin() + 1024, after.begin() + 1536, file.begin() + 16));
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    EXPECT_TRUE(patch.patchLoaded());  // programming does not clear the flag; the page does
    ASSERT_TRUE(patch.openUpdatePage());
    EXPECT_FALSE(patch.patchLoaded());
}

TEST(PatchCode, OnlyProgramWritesTheLoadedFile) {
    Rig rig;
    rig.connect();
    const Image shipped = builtinImage(1);
    PatchCodeFiles patch(*rig.transfer);
    ASSERT_TRUE(patch.openUpdatePage());
    std::vector<std::uint8_t> file = patchFile(shipped, 0x00);
    std::fill(file.begin() + 16, file.end(), 0x11);
    rig.view.openAnswer = rig.dir.file("patch.bin", file).string();
    ASSERT_TRUE(patch.loadPatchFile(rig.view.openDialog()).ok());

    // The full default restore (with its restart and re-read) writes the patch as last read.
    rig.transfer->restoreDefaults();
    Image mem = rig.mouse.memory();
    EXPECT_TRUE(std::equal(mem.begin() + 1008, mem.begin() + 1536, shipped.begin() + 1008));

    // "Program" after that re-read still writes the file the user loaded.
    ASSERT_TRUE(patch.programPatch());
    mem = rig.mouse.memory();
    EXPECT_TRUE(std::equal(mem.begin() + 1024, mem.begin() + 1536, file.begin() + 16));
    // 512 bytes of 0x11 sum to 0x2200; the check is 0x2200 ^ 0x015A.
    EXPECT_EQ(mem[1014], 0x23);
    EXPECT_EQ(mem[1015], 0x5A);

    // A refused file after a good one leaves nothing to program.
    rig.view.openAnswer = rig.dir.file("short.bin", {file.begin(), file.begin() + 100}).string();
    EXPECT_EQ(patch.loadPatchFile(rig.view.openDialog()).outcome, FileOutcome::WrongSize);
    EXPECT_FALSE(patch.patchLoaded());
    rig.mark();
    EXPECT_FALSE(patch.programPatch());
    EXPECT_TRUE(rig.lines().empty());
}

TEST(PatchCode, UpdatePageNeedsAMouse) {
    Rig rig;
    PatchCodeFiles patch(*rig.transfer);
    EXPECT_FALSE(patch.openUpdatePage());
    EXPECT_EQ(rig.view.calls, std::vector<std::string>{"showMessage Str022"});
    rig.connect();
    rig.transfer->setNoDevice(true);
    rig.view.clear();
    EXPECT_FALSE(patch.openUpdatePage());
    EXPECT_TRUE(rig.view.calls.empty());
}

}  // namespace
}  // namespace nivra

namespace nivra {
namespace {

using namespace nivra::testing;

// The presence poll keeps ticking while a flow waits for the restarted mouse (the window's
// timer fires during the waits). A flow that writes and restarts the mouse must not let it
// take the restart for a removed mouse: no "Str100", and one read when the mouse is back.
TEST(RestartWithThePollTicking, NoFlowReportsTheMouseGone) {
    struct Case {
        const char* what;
        bool opensPatchFile;
        void (*run)(Rig&, ProfileFiles&, PatchCodeFiles&);
    } cases[] = {
        {"Confirm1", false, [](Rig& r, ProfileFiles&, PatchCodeFiles&) { r.transfer->DefaultParameterConfirm(1); }},
        {"defaults", false, [](Rig& r, ProfileFiles&, PatchCodeFiles&) { r.transfer->restoreDefaults(); }},
        {"Load Profile", false, [](Rig& r, ProfileFiles& f, PatchCodeFiles&) { f.loadProfile(r.view.openDialog()); }},
        {"Program", true, [](Rig& r, ProfileFiles&, PatchCodeFiles& p) {
             p.openUpdatePage();
             p.loadPatchFile(r.view.openDialog());
             p.programPatch();
         }},
        {"Load Patch Code", true, [](Rig& r, ProfileFiles&, PatchCodeFiles& p) { p.patchInOneStep(r.view.openDialog()); }},
        {"a restart alone", false, [](Rig& r, ProfileFiles&, PatchCodeFiles&) { r.transfer->restartAndRefind(); }},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.connect();
        const Image image = builtinImage(2);
        const auto profile = rig.dir.file("profile.bin", bytesOf(image));
        const auto patchPath = rig.dir.file("patch.bin", {image.begin() + 1008, image.begin() + 1536});
        rig.view.openAnswer = (c.opensPatchFile ? patchPath : profile).string();
        ProfileFiles files(*rig.transfer);
        PatchCodeFiles patch(*rig.transfer);
        int steps = 0;
        rig.clock.setPump([&] {
            if (++steps % 350 == 0) rig.discovery->devTimerTick();
        });
        const std::size_t reads = rig.transfer->readRuns();
        rig.view.clear();
        c.run(rig, files, patch);
        rig.clock.setPump({});
        EXPECT_EQ(rig.mouse.restartCount(), 1) << c.what;
        EXPECT_FALSE(rig.view.has("DeviceGone")) << c.what;
        EXPECT_EQ(rig.transfer->readRuns(), reads + 1) << c.what;
        EXPECT_TRUE(rig.discovery->devTimerRunning()) << c.what;
        EXPECT_FALSE(rig.view.coveringShown) << c.what;
        EXPECT_FALSE(rig.transfer->busy()) << c.what;
    }
}

}  // namespace
}  // namespace nivra
