// The fire macro editor's model on the simulated mouse: names, listings, rename, delete and
// insert within the 32-byte slot, fire recording, the reveal and the fire macro file.
#include "settings/fire_macro_model.h"

#include "files/file_bytes.h"
#include "macro/listing.h"
#include "image/keys.h"
#include "macro/macro_name.h"
#include "tests/macro_record/recorder_support.h"
#include "tests/transfer/transfer_rig.h"

#include <fstream>

namespace nivra {
namespace {

using namespace nivra::testing;
using macro::FireInsertItem;
using macro::Listing;
using Lines = std::vector<std::string>;

const Lines kBuiltInRows{"1 LeftKey CODE:00A1", "0 40", "7 FD00", "3 040005", "0 50",
                         "8 FC", "2 LeftKey CODE:0021", "0 40"};

class FireMacroModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.connect();
        QObject::connect(&model, &FireMacroModel::message, [this](const QString& id) { messages.push_back(id.toStdString()); });
        QObject::connect(&model, &FireMacroModel::messageText, [this](const QString& t) { messages.push_back(t.toStdString()); });
        rig.mark();
    }

    const WorkingCopy& work() const { return rig.state.work; }
    // Selects fire macro `index` and row `row` of its listing.
    void select(std::size_t index, std::size_t row) {
        model.LB_FireMacroNameClick(index);
        model.selectListingRow(row);
    }
    void insert(FireInsertItem item, macro::FireInsertTexts texts = {}) {
        model.Btn_FireInsertClick();
        model.setInsertItem(item);
        model.setInsertTexts(texts);
        model.Btn_FireOKClick();
    }
    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = (rig.dir.path() / name).string();
        EXPECT_TRUE(writeFileAtomically(path, bytes));
        return path;
    }

    Rig rig;
    FireMacroModel model{rig.editor(), *rig.transfer};
    Lines messages;
};

TEST_F(FireMacroModelTest, NamesListedUnlessTheyStartWithZeroOrFF) {
    auto& names = rig.editor().workForEdit().fireMacroNames;
    names[1] = macro::nameBytes("Spray");
    names[2][0] = 0xFF;
    names[2][1] = 0xFF;
    names[3][0] = 0x00;
    names[3][1] = 0x00;
    names[3][2] = 0x41;  // later bytes do not matter
    names[4][0] = 0xFF;  // one FF byte alone still lists it
    names[4][1] = 0x41;
    const Lines rows = model.RefreshFireMacroName();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], "Macro1");
    EXPECT_EQ(rows[1], "Spray");
    EXPECT_EQ(rows[2], "");
    EXPECT_EQ(rows[3], "");
    EXPECT_NE(rows[4], "");
    EXPECT_EQ(rows[9], "Macro10");
}

TEST_F(FireMacroModelTest, ShowsTheBuiltInFireMacro) {
    model.LB_FireMacroNameClick(0);
    EXPECT_EQ(model.listing()[0], "00");
    EXPECT_EQ(model.listingRows(), kBuiltInRows);
    EXPECT_EQ(model.length(0), 18u);
    // A body of only zero bytes has nothing to show.
    rig.editor().workForEdit().fireMacroBodies[5].fill(0);
    model.LB_FireMacroNameClick(5);
    EXPECT_TRUE(model.listing().empty());
}

TEST_F(FireMacroModelTest, RenameKeepsNamesUnique) {
    EXPECT_FALSE(model.Btn_NewFireNameClick());  // no selection
    model.LB_FireMacroNameClick(2);
    ASSERT_TRUE(model.Btn_NewFireNameClick());
    model.ApplyMacroName("Macro1");
    EXPECT_EQ(messages, Lines{"Str106"});
    model.ApplyMacroName("");
    EXPECT_EQ(model.RefreshFireMacroName()[2], "Macro3");
    model.ApplyMacroName("AK\u00e9");
    const FireMacroName expected{0x00, 'A', 0x00, 'K', 0x00, 0xE9};
    EXPECT_EQ(work().fireMacroNames[2], expected);
    EXPECT_EQ(model.RefreshFireMacroName()[2], "AK\u00e9");
    EXPECT_TRUE(rig.lines().empty());  // nothing sent before the gun page's Confirm
}

TEST_F(FireMacroModelTest, InsertsTheSixItems) {
    struct Case {
        FireInsertItem item;
        macro::FireInsertTexts texts;
        std::size_t newRow;
        const char* line;
    };
    const Case cases[] = {
        {FireInsertItem::MoveBack, {.x = "-3", .y = "-4"}, 3, "3 04FDFC"},
        {FireInsertItem::MoveFront, {.x = "127", .y = "-128"}, 2, "3 047F80"},
        {FireInsertItem::RepeatStart, {.repeat = "0"}, 2, "7 FD00"},
        {FireInsertItem::RepeatStart, {.repeat = "256"}, 2, "7 FDFF"},
        {FireInsertItem::DelayFront, {.delay = "300"}, 2, "0 300"},
        {FireInsertItem::DelayBack, {}, 3, "0 50"},
        {FireInsertItem::RepeatStop, {}, 3, "8 FC"},
    };
    for (const Case& c : cases) {
        std::copy_n(builtinImage(1).begin() + 1696, 32, rig.editor().workForEdit().fireMacroBodies[0].begin());
        select(0, 2);
        insert(c.item, c.texts);
        ASSERT_FALSE(model.insertOpen()) << c.line;
        EXPECT_EQ(model.listing()[c.newRow + 1], c.line);
        EXPECT_EQ(model.listingSelection(), c.newRow) << c.line;
        // The body holds the compiled listing.
        FireMacroBody compiled{};
        ASSERT_TRUE(macro::CompileFireMacroListing(model.listing(), compiled));
        EXPECT_EQ(work().fireMacroBodies[0], compiled) << c.line;
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(FireMacroModelTest, InsertBeyondTheSlotIsRefusedAndTheNextSlotStaysUntouched) {
    const FireMacroBody next = work().fireMacroBodies[1];
    select(0, 0);
    // 18 bytes now; four delays make 30, a fifth would make 33.
    for (int i = 0; i < 4; ++i) insert(FireInsertItem::DelayFront);
    ASSERT_EQ(model.length(0), 30u);
    ASSERT_TRUE(messages.empty());
    const FireMacroBody full = work().fireMacroBodies[0];
    const Listing listing = model.listing();
    insert(FireInsertItem::MoveFront);
    EXPECT_EQ(messages, Lines{"Str103"});
    EXPECT_TRUE(model.insertOpen());  // the panel stays for another choice
    EXPECT_EQ(model.listing(), listing);
    EXPECT_EQ(work().fireMacroBodies[0], full);
    // A loop end (one byte) still fits: 31 bytes, end marker included.
    model.setInsertItem(FireInsertItem::RepeatStop);
    model.Btn_FireOKClick();
    EXPECT_EQ(messages, Lines{"Str103"});
    EXPECT_EQ(macro::fireListingLength(model.listing()), 31u);
    EXPECT_EQ(std::count(model.listing().begin(), model.listing().end(), "8 FC"), 2);
    EXPECT_EQ(work().fireMacroBodies[0][30], 0x00);
    EXPECT_EQ(work().fireMacroBodies[1], next);
}

TEST_F(FireMacroModelTest, CancelRestoresTheListingAndSelection) {
    select(0, 4);
    model.Btn_FireInsertClick(3);
    model.setInsertItem(FireInsertItem::MoveBack);
    model.Btn_FireCancelClick();
    EXPECT_FALSE(model.insertOpen());
    EXPECT_EQ(model.listingRows(), kBuiltInRows);
    EXPECT_EQ(model.listingSelection(), 4u);
    EXPECT_EQ(model.savedTopRow(), 3);
}

TEST_F(FireMacroModelTest, DeleteTakesPartnersAlong) {
    struct Case {
        std::size_t row;
        Lines rows;
        std::optional<std::size_t> select;
        bool error;
    };
    const Case cases[] = {
        {2, {"1 LeftKey CODE:00A1", "0 40", "3 040005", "0 50", "8 FC", "2 LeftKey CODE:0021", "0 40"}, 1, false},
        {0, {"0 40", "7 FD00", "3 040005", "0 50", "8 FC", "0 40"}, 0, false},
        {6, {"0 40", "7 FD00", "3 040005", "0 50", "8 FC", "0 40"}, 4, false},
        {7, {"1 LeftKey CODE:00A1", "0 40", "7 FD00", "3 040005", "0 50", "8 FC", "2 LeftKey CODE:0021"}, 6, false},
    };
    for (const Case& c : cases) {
        std::copy_n(builtinImage(1).begin() + 1696, 32, rig.editor().workForEdit().fireMacroBodies[0].begin());
        select(0, c.row);
        model.Btn_FireDelClick();
        EXPECT_EQ(model.listingRows(), c.rows) << c.row;
        EXPECT_EQ(model.listingSelection(), c.select) << c.row;
        EXPECT_EQ(macro::BuildFireMacroListing(work().fireMacroBodies[0]), model.listing()) << c.row;
    }
    // A release without its press: nothing removed.
    auto& body = rig.editor().workForEdit().fireMacroBodies[3];
    body = FireMacroBody{0xFE, 0x00, 0x10, 0x21, 0x00};
    select(3, 1);
    model.Btn_FireDelClick();
    EXPECT_EQ(messages, Lines{"Macro Content Error"});
    EXPECT_EQ(model.listingRows(), (Lines{"0 16", "2 LeftKey CODE:0021"}));
    EXPECT_TRUE(rig.lines().empty());
}

// The recorder as the editor runs it: its lines into the model, on a test clock.
struct FireRecordingRig {
    FireMacroModel& model;
    test::TestClock clock;
    FireRecordingListing listing{model};
    MacroRecorder recorder{listing, clock.fn()};
    int stops = 0;

    explicit FireRecordingRig(FireMacroModel& m) : model(m) { recorder.setStopWanted([this] { ++stops; }); }
    bool start() {
        if (!model.startRecording()) return false;
        recorder.startFire(model.recordDelay(), kFireMacroBodySize - 1);
        return true;
    }
    void event(MouseEvent e) {
        recorder.mouseHook(e);
        recorder.pollOnce();
    }
    void stop() {
        recorder.stop();
        model.stopRecording();
    }
};

TEST_F(FireMacroModelTest, RecordingTakesTheLeftButtonOnly) {
    FireRecordingRig r(model);
    EXPECT_FALSE(r.start());  // nothing selected
    model.LB_FireMacroNameClick(4);
    model.setFireDelayMode(macro::DelayMode::Default);
    model.setFireDelayText("70000");
    EXPECT_EQ(model.fireDelayText(), "65535");
    model.setFireDelayText("30");
    ASSERT_TRUE(r.start());
    EXPECT_EQ(work().fireMacroBodies[4], FireMacroBody{});
    r.recorder.KeyboardHook1Receive(captureIndexForName("A").value(), 1, 0);
    for (MouseEvent e : {MouseEvent::RightDown, MouseEvent::RightUp, MouseEvent::MiddleDown, MouseEvent::ForwardDown,
                         MouseEvent::BackwardUp, MouseEvent::LeftDown, MouseEvent::MiddleUp, MouseEvent::LeftUp})
        r.event(e);
    r.stop();
    EXPECT_EQ(model.listing(), (Listing{"0130", "1 LeftKey CODE:00A1", "0 30", "2 LeftKey CODE:0021"}));
    const FireMacroBody expected{0xA1, 0xFE, 0x00, 0x1E, 0x21, 0x00};
    EXPECT_EQ(work().fireMacroBodies[4], expected);
    EXPECT_FALSE(model.recording());
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(FireMacroModelTest, RecordingEndsBeforeTheSlotOverflows) {
    for (macro::DelayMode mode : {macro::DelayMode::None, macro::DelayMode::Record}) {
        std::copy_n(builtinImage(1).begin() + 1696, 320, rig.editor().workForEdit().fireMacroBodies[0].begin());
        const FireMacroBody next = work().fireMacroBodies[8];
        FireRecordingRig r(model);
        model.LB_FireMacroNameClick(7);
        model.setFireDelayMode(mode);
        ASSERT_TRUE(r.start());
        for (int i = 0; i < 40 && r.stops == 0; ++i) {
            r.clock.advance(300);
            r.event(MouseEvent::LeftDown);
            r.clock.advance(20);
            r.event(MouseEvent::LeftUp);
        }
        EXPECT_EQ(r.stops, 1);
        r.stop();
        EXPECT_TRUE(messages.empty());
        const FireMacroBody& body = work().fireMacroBodies[7];
        // Compiled within the slot, end marker included, and read back whole.
        EXPECT_EQ(macro::BuildFireMacroListing(body).size(), model.listing().size());
        EXPECT_LE(macro::fireListingLength(model.listing()), 32u);
        EXPECT_EQ(work().fireMacroBodies[8], next);
    }
}

TEST_F(FireMacroModelTest, RevealCountsOnTheSharedCounter) {
    bool reveal = false;
    int clicks = 3;  // three double-clicks already made on the main page
    model.attachReveal(&reveal, &clicks);
    EXPECT_EQ(model.Img_Base_6DblClick(), FireRevealStep::None);
    EXPECT_EQ(model.Img_Base_6DblClick(), FireRevealStep::AskPassword);
    model.passwordEntered(std::string("QorvinTekWLP"));
    EXPECT_FALSE(model.editorShown());
    model.passwordEntered(std::nullopt);
    EXPECT_FALSE(reveal);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(model.Img_Base_6DblClick(), FireRevealStep::None);
    EXPECT_EQ(model.Img_Base_6DblClick(), FireRevealStep::AskPassword);
    model.passwordEntered(std::string("QorvinTek"));
    EXPECT_TRUE(reveal);
    EXPECT_TRUE(model.editorShown());
    // Confirm or Cancel of the gun page hides the controls; the flag stays.
    model.hideEditor();
    EXPECT_FALSE(model.editorShown());
    EXPECT_TRUE(reveal);
    // A double-click while the flag is set clears it.
    EXPECT_EQ(model.Img_Base_6DblClick(), FireRevealStep::Hidden);
    EXPECT_FALSE(reveal);
    EXPECT_EQ(clicks, 10);
}

TEST_F(FireMacroModelTest, ImportWritesTheAreaInOneBlock) {
    macro::FireMacroSet set;
    for (std::size_t i = 0; i < kFireMacroCount; ++i) {
        set.names[i] = macro::nameBytes("Gun" + std::to_string(i));
        set.bodies[i] = FireMacroBody{0xA1, 0xFE, 0x00, static_cast<std::uint8_t>(i + 1), 0x21, 0x00};
    }
    const auto file = macro::fireMacroFileBytes(set);
    const std::string path = writeFile("fire.bin", {file.begin(), file.end()});
    model.LB_FireMacroNameClick(2);
    ASSERT_TRUE(model.Btn_ImportGunMacroClick(path));
    EXPECT_EQ(work().fireMacroNames, set.names);
    EXPECT_EQ(work().fireMacroBodies, set.bodies);
    EXPECT_EQ(model.RefreshFireMacroName()[9], "Gun9");
    EXPECT_EQ(model.listingRows(), (Lines{"1 LeftKey CODE:00A1", "0 3", "2 LeftKey CODE:0021"}));
    const Lines lines = rig.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "SET 40 07 06 00 02 00 00 00");
    EXPECT_EQ(countPrefix(lines, "SET 40"), 1u);
    const Image m = rig.mouse.memory();
    EXPECT_TRUE(std::equal(file.begin(), file.end(), m.begin() + 1536));
    EXPECT_EQ(m[2047], 0xFF);  // the unused last 32 bytes keep what they held

    // The export gives the same 480 bytes back.
    const std::string out = (rig.dir.path() / "out.bin").string();
    ASSERT_TRUE(model.exportFireMacroFile(out));
    EXPECT_EQ(readFileBytes(out, 1000), std::vector<std::uint8_t>(file.begin(), file.end()));
}

TEST_F(FireMacroModelTest, ImportRefusesShortAndForeignFilesChangingNothing) {
    const WorkingCopy before = work();
    std::vector<std::uint8_t> foreign(480, 0);
    foreign[160] = 0x82;
    const std::string files[] = {
        writeFile("short.bin", std::vector<std::uint8_t>(479, 0)),
        writeFile("image.bin", std::vector<std::uint8_t>(builtinImage(1).begin(), builtinImage(1).end())),
        writeFile("foreign.bin", foreign),
        writeFile("long.bin", std::vector<std::uint8_t>(481, 0)),
    };
    for (const std::string& f : files) EXPECT_FALSE(model.Btn_ImportGunMacroClick(f)) << f;
    EXPECT_EQ(messages, Lines(4, "Str791"));
    // A file that cannot be read is told with its own reason, not as a foreign file.
    messages.clear();
    const std::string unreadable[] = {(rig.dir.path() / "missing.bin").string(), rig.dir.path().string()};
    for (const std::string& f : unreadable) EXPECT_FALSE(model.Btn_ImportGunMacroClick(f)) << f;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("missing.bin: No such file or directory"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("it is a folder"), std::string::npos) << messages[1];
    EXPECT_EQ(work().fireMacroNames, before.fireMacroNames);
    EXPECT_EQ(work().fireMacroBodies, before.fireMacroBodies);
    EXPECT_EQ(work().bytes, before.bytes);
    EXPECT_TRUE(rig.lines().empty());
}

}  // namespace
}  // namespace nivra
