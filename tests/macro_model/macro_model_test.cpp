// The Macro page's model against the simulated mouse: adding library macros to the mouse,
// deleting them with their buttons re-pointed, and editing library listings.
#include "settings/macro_model.h"

#include "image/code_texts.h"
#include "macro/listing.h"
#include "tests/transfer/transfer_rig.h"

namespace nivra {
namespace {

using namespace nivra::testing;
using macro::Listing;

class MacroModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.connect();
        model.ReadAndRefreshMacro3740();
        ASSERT_TRUE(model.CheckPCMacro());
        QObject::connect(&model, &MacroModel::message, [this](const QString& id) { messages.push_back(id.toStdString()); });
        QObject::connect(&model, &MacroModel::messageText, [this](const QString& t) { messages.push_back(t.toStdString()); });
    }

    std::array<std::uint8_t, 4> mouseCode(int profile, int key) const {
        const Image m = rig.mouse.memory();
        std::array<std::uint8_t, 4> c{};
        std::copy_n(m.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(profile, key)), 4, c.begin());
        return c;
    }

    std::size_t libraryIndex(const std::string& name) const {
        const auto names = model.libraryNames();
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    }

    void addToMouse(const std::string& name) {
        model.LB_PCMacroNameClick(libraryIndex(name));
        model.Btn_AddMacroClick();
    }

    Rig rig;
    ImageEditor editor{rig.state, *rig.transfer};
    MacroModel model{editor, *rig.transfer, rig.dir.path() / "lib" / macro::kLibraryFileName};
    std::vector<std::string> messages;
};

TEST_F(MacroModelTest, AddWritesTheAreaToTheMouseInTwoBlocks) {
    ASSERT_EQ(model.deviceNames().size(), 0u);
    rig.mark();
    addToMouse("Copy");
    ASSERT_EQ(model.deviceNames(), (std::vector<std::string>{"Copy"}));
    const Image m = rig.mouse.memory();
    EXPECT_TRUE(std::equal(model.deviceMacros().area().begin(), model.deviceMacros().area().end(),
                           m.begin() + macro::kAreaOffset));
    // Profiles (192, 147 bytes), then the area at 496 and 752, 256 bytes each.
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 07 00 C0 00 93 00 00"), 1u);
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 07 01 F0 01 00 00 00"), 1u);
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 07 02 F0 01 00 00 00"), 1u);

    addToMouse("Copy");
    EXPECT_EQ(messages, (std::vector<std::string>{"Str106"}));
    EXPECT_EQ(model.deviceNames().size(), 1u);
}

TEST_F(MacroModelTest, DeleteRepointsBoundButtonsAndKeysOffTheDeleted) {
    addToMouse("Copy");
    addToMouse("Paste");
    addToMouse("Cut");
    const auto& d = model.deviceMacros();
    ASSERT_EQ(d.count(), 3u);
    ASSERT_TRUE(editor.setButtonCode(1, 3, macro::macroKeyCode(d.slot(0).address), Write::Profiles));
    ASSERT_TRUE(editor.setButtonCode(2, 4, macro::macroKeyCode(d.slot(2).address), Write::Profiles));
    const std::uint16_t cutAddress = d.slot(2).address;
    const std::size_t copyLength = d.slot(0).length;

    model.LB_MacroNameClick(0);
    model.Btn_DelMacroClick();
    EXPECT_EQ(model.deviceNames(), (std::vector<std::string>{"Paste", "Cut"}));
    EXPECT_EQ(d.slot(1).address, cutAddress - copyLength);
    EXPECT_EQ(mouseCode(1, 3), (std::array<std::uint8_t, 4>{0, 0, 0, 0})) << "bound to the deleted macro: Key Off";
    EXPECT_EQ(mouseCode(2, 4), macro::macroKeyCode(d.slot(1).address));
    EXPECT_EQ(model.deviceSelection(), std::optional<std::size_t>(0));
    const Image m = rig.mouse.memory();
    EXPECT_TRUE(std::equal(d.area().begin(), d.area().end(), m.begin() + macro::kAreaOffset));
}

TEST_F(MacroModelTest, DeleteRepointsProfile3AndTheComboKeySlotsToo) {
    // Copy, Paste, Cut; Paste bound on profile 3 and on combo key slot 5, Cut on slot 6,
    // Copy on slot 7. Deleting Copy moves Paste to Copy's old address and Cut to Paste's.
    addToMouse("Copy");
    addToMouse("Paste");
    addToMouse("Cut");
    const auto& d = model.deviceMacros();
    ASSERT_EQ(d.count(), 3u);
    const auto paste = macro::macroKeyCode(d.slot(1).address);
    ASSERT_TRUE(editor.setButtonCode(3, 3, paste, Write::Profiles));
    ASSERT_TRUE(editor.setComboKeyCode(5, paste, Write::Live));
    ASSERT_TRUE(editor.setComboKeyCode(6, macro::macroKeyCode(d.slot(2).address), Write::Live));
    ASSERT_TRUE(editor.setComboKeyCode(7, macro::macroKeyCode(d.slot(0).address), Write::Live));

    model.LB_MacroNameClick(0);
    model.Btn_DelMacroClick();
    ASSERT_EQ(model.deviceNames(), (std::vector<std::string>{"Paste", "Cut"}));
    const Image m = rig.mouse.memory();
    const auto at = [&m](std::size_t offset) {
        std::array<std::uint8_t, 4> c{};
        std::copy_n(m.begin() + static_cast<std::ptrdiff_t>(offset), 4, c.begin());
        return c;
    };
    EXPECT_EQ(mouseCode(3, 3), macro::macroKeyCode(d.slot(0).address)) << "profile 3 follows Paste";
    EXPECT_EQ(at(comboKeyOffset(5)), macro::macroKeyCode(d.slot(0).address)) << "slot 5 follows Paste";
    EXPECT_EQ(at(comboKeyOffset(6)), macro::macroKeyCode(d.slot(1).address)) << "slot 6 follows Cut";
    EXPECT_EQ(at(comboKeyOffset(7)), (std::array<std::uint8_t, 4>{0, 0, 0, 0})) << "Copy is gone: Key Off";
    // The vendor section the slots live in stays valid on the mouse.
    EXPECT_EQ(m[region::kVendor.end() - 1], sectionCheckByte(std::span(m).first(region::kVendor.length)));
    EXPECT_TRUE(std::equal(m.begin() + region::kProfile1.offset, m.begin() + region::kProfile3.end(),
                           rig.state.work.bytes.begin() + region::kProfile1.offset));
}

TEST_F(MacroModelTest, AddBeyond512BytesIsRefused) {
    // Library macros that fill the slot: "Big0".."Big2", each 16 + 200 bytes on the mouse.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(model.Btn_NewMacroClick());
        model.ApplyMacroName("Big" + std::to_string(i));
        Listing l{"00"};
        for (int j = 0; j < 66; ++j) l.push_back("0 1");
        l.push_back("8 FC");  // 199 + end marker
        model.setListing(l);
        ASSERT_TRUE(model.commitListing());
    }
    addToMouse("Big0");
    addToMouse("Big1");
    const macro::Area before = model.deviceMacros().area();
    addToMouse("Big2");
    EXPECT_EQ(messages, (std::vector<std::string>{"Str103"}));
    EXPECT_EQ(model.deviceMacros().area(), before);
}

TEST_F(MacroModelTest, EditDeleteAndInsertCommitTheLibrary) {
    ASSERT_TRUE(model.Btn_NewMacroClick());
    EXPECT_TRUE(model.locked());
    model.ApplyMacroName("Test");
    EXPECT_FALSE(model.locked());
    const std::size_t test = *model.librarySelection();
    model.setListing({"10", "1 A CODE:8204", "0 50", "2 A CODE:0204"});
    ASSERT_TRUE(model.commitListing());

    // Edit the press line to another key: the release keeps its key.
    model.selectListingRow(0);
    EXPECT_EQ(model.Btn_EditClick(), MacroEditDialog::Key);
    model.confirmKeyEdit("B", 0x05);
    EXPECT_EQ(model.listing()[1], "1 B CODE:8205");
    EXPECT_EQ(model.listing()[3], "2 A CODE:0204");
    // Its partner is gone: deleting it is refused.
    model.Btn_DelClick();
    EXPECT_EQ(messages, (std::vector<std::string>{"Macro Content Error"}));

    // Insert a move after the delay; X = -1, Y = 5.
    model.selectListingRow(1);
    model.Btn_InsertClick();
    EXPECT_TRUE(model.insertOpen());
    model.setInsertItem(InsertItem::MoveBack);
    model.setInsertTexts("50", "-1", "5", "10");
    model.Btn_OKClick();
    EXPECT_FALSE(model.insertOpen());
    EXPECT_EQ(model.listing(), (Listing{"10", "1 B CODE:8205", "0 50", "3 04FF05", "2 A CODE:0204"}));
    EXPECT_EQ(model.listingSelection(), std::optional<std::size_t>(2));

    // What was committed is what the library file holds.
    macro::MacroLibrary reread(model.library().file());
    ASSERT_EQ(reread.CheckPCMacro(), macro::LibraryResult::Done);
    EXPECT_EQ(reread.listing(test).lines, model.listing());

    // Cancel of the insert panel drops nothing committed and restores the selection.
    model.Btn_InsertClick(3);
    model.Btn_CancelClick();
    EXPECT_EQ(model.listing().size(), 5u);
    EXPECT_EQ(model.listingSelection(), std::optional<std::size_t>(2));
    EXPECT_EQ(model.savedTopRow(), 3);
}

TEST_F(MacroModelTest, AnEditThatOverfillsTheSlotIsRefusedAndTheListingRestored) {
    // 256 bytes exactly: 84 delays of 3, a one-byte mouse press and release, a loop end and
    // the end marker. A key edit turns the one-byte press into a two-byte key press.
    ASSERT_TRUE(model.Btn_NewMacroClick());
    model.ApplyMacroName("Full");
    Listing l{"10"};
    for (int j = 0; j < 84; ++j) l.push_back("0 1");
    l.push_back("1 Left CODE:00A1");
    l.push_back("2 Left CODE:0021");
    l.push_back("8 FC");
    ASSERT_EQ(macro::CompileMacroListing(l).size(), 256u);
    model.setListing(l);
    ASSERT_TRUE(model.commitListing());
    const std::vector<std::uint8_t> stored = model.library().recordBytes(*model.librarySelection());
    const Listing kept = model.library().listing(*model.librarySelection()).lines;

    model.selectListingRow(84);
    ASSERT_EQ(model.Btn_EditClick(), MacroEditDialog::Key);
    model.confirmKeyEdit("B", 0x05);
    EXPECT_EQ(messages, (std::vector<std::string>{"Str103"}));
    EXPECT_EQ(model.listing(), kept) << "the listing shows what the library keeps";
    EXPECT_FALSE(model.locked());
    macro::MacroLibrary reread(model.library().file());
    ASSERT_EQ(reread.CheckPCMacro(), macro::LibraryResult::Done);
    EXPECT_EQ(reread.recordBytes(*model.librarySelection()), stored);
}

TEST_F(MacroModelTest, InsertLimitsAt252And255) {
    ASSERT_TRUE(model.Btn_NewMacroClick());
    model.ApplyMacroName("Long");
    Listing l{"10"};
    for (int j = 0; j < 83; ++j) l.push_back("0 1");
    l.push_back("8 FC");
    l.push_back("8 FC");  // 249 + 2 + end marker = 252
    model.setListing(l);
    ASSERT_TRUE(model.commitListing());
    model.selectListingRow(0);
    const auto insert = [&](InsertItem item) {
        model.Btn_InsertClick();
        model.setInsertItem(item);
        model.Btn_OKClick();
    };
    insert(InsertItem::DelayFront);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.library().macroLength(*model.librarySelection()), 255u);
    for (InsertItem refused : {InsertItem::DelayBack, InsertItem::MoveFront, InsertItem::RepeatStart, InsertItem::RepeatStop}) {
        messages.clear();
        insert(refused);
        EXPECT_EQ(messages, (std::vector<std::string>{"Str103"}));
        model.Btn_CancelClick();
    }
}

TEST_F(MacroModelTest, LibraryRenameToItsOwnNameAndDeleteOfTheFirst) {
    model.LB_PCMacroNameClick(0);
    ASSERT_TRUE(model.Btn_NewNameClick());
    model.ApplyMacroName(model.libraryNames()[0]);
    EXPECT_EQ(messages, (std::vector<std::string>{"Str106"}));
    const auto names = model.libraryNames();
    model.LB_PCMacroNameClick(0);
    model.Btn_DelPCMacroClick();
    EXPECT_EQ(model.libraryNames(), std::vector<std::string>(names.begin() + 1, names.end()));
    EXPECT_EQ(model.librarySelection(), std::optional<std::size_t>(0));
}

TEST_F(MacroModelTest, BaseMacroImportReplacesTheArea) {
    addToMouse("Copy");
    const macro::Area exported = model.deviceMacros().area();
    model.LB_MacroNameClick(0);
    model.Btn_DelMacroClick();
    ASSERT_EQ(model.deviceNames().size(), 0u);
    const auto file = rig.dir.path() / "base.bin";
    ASSERT_TRUE(macro::writeWhole(file, exported, nullptr));
    model.importBaseMacroFile(file.string());
    EXPECT_EQ(model.deviceNames(), (std::vector<std::string>{"Copy"}));
    const Image m = rig.mouse.memory();
    EXPECT_TRUE(std::equal(exported.begin(), exported.end(), m.begin() + macro::kAreaOffset));

    ASSERT_TRUE(macro::writeWhole(file, std::vector<std::uint8_t>(100, 1), nullptr));
    model.importBaseMacroFile(file.string());
    EXPECT_EQ(messages, (std::vector<std::string>{"Loading .bin is error!"}));
}

}  // namespace
}  // namespace nivra
