// The lighting editor: what the views show for the lighting bytes, and the exact reports
// each edit sends to the simulated mouse.
#include "settings/lighting.h"
#include "tests/transfer/transfer_rig.h"

#include <gtest/gtest.h>

namespace nivra {
namespace {

using testing::Rig;

// Built-in image 1 with other lighting bytes and valid check bytes.
Image withLighting(std::uint8_t byte165, std::uint8_t mask, std::uint8_t stepDelay = 10) {
    Image img = builtinImage(1);
    img[offset::kLedByte] = byte165;
    img[offset::kModeEnableMask] = mask;
    img[offset::kBreathStepTime] = stepDelay;
    img[region::kVendor.end() - 1] = sectionCheckByte(std::span(img.data(), region::kVendor.length));
    img[region::kUser.end() - 1] = sectionCheckByte(std::span(img.data() + region::kUser.offset, region::kUser.length));
    return img;
}

// The vendor and user sections agree.
bool sameSections(const Image& a, const Image& b) {
    return std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(region::kUser.end()), b.begin());
}

// A connected simulated mouse and the lighting editor on it, as the window builds them.
struct Light {
    explicit Light(const Image& memory = builtinImage(1)) : rig(memory) {
        rig.connect();
        rig.mark();
    }
    std::vector<std::string> lines() const { return rig.lines(); }
    std::uint8_t mouseByte(std::size_t at) const { return rig.mouse.memory()[at]; }

    Rig rig;
    ImageEditor& editor{rig.editor()};
    LightingModel model{editor};
};

std::string set1(int offset, int value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "SET 40 05 00 %02X %02X 00 00 01", offset, value);
    return buf;
}

// ------------------------------------------------------------------ decoding

TEST(LightingDecode, TypeCountEffectAndWhatThePageShows) {
    struct Case {
        std::uint8_t byte165, mask;
        LedType type;
        int leds, item, button, captionRow;
        bool bar, colours;
        std::array<bool, 6> shown;
    } cases[] = {
        {0xF5, 0x37, LedType::Nt, 8, 4, 6, 32, false, true, {true, true, true, false, true, true}},
        {0xC4, 0x37, LedType::Nt, 5, 3, 5, 31, true, true, {true, true, true, false, true, true}},
        // A mask bit without a ZK effect (code 3) shows no button.
        {0x80, 0x3F, LedType::Nt, 1, 0, 1, 21, true, true, {true, true, true, false, true, true}},
        {0x41, 0x07, LedType::Sync, 0, 1, 2, 27, true, false, {true, true, true, false, false, false}},
        {0x42, 0x05, LedType::Sync, 0, 2, 3, 28, true, false, {true, false, true, false, false, false}},
        {0x05, 0x3F, LedType::Rgb, 0, 5, 6, 26, false, true, {true, true, true, true, true, true}},
        {0x03, 0x09, LedType::Rgb, 0, 3, 4, 24, true, true, {true, false, false, true, false, false}},
        // A code the type does not have: no list item, no caption.
        {0x83, 0x37, LedType::Nt, 1, -1, 4, -1, true, true, {true, true, true, false, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte165));
        const Image img = withLighting(c.byte165, c.mask);
        const LightingView v = decodeLighting(img, ledTypeFromByte(c.byte165));
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.zkLedCount, c.leds);
        EXPECT_EQ(v.selectedItem, c.item);
        EXPECT_EQ(v.currentButton, c.button);
        EXPECT_EQ(lighting::effectCaptionRow(v.type, v.modeCode), c.captionRow);
        EXPECT_EQ(v.speedBarEnabled, c.bar);
        EXPECT_EQ(v.coloursShown, c.colours);
        EXPECT_EQ(v.effectShown, c.shown);
    }
}

TEST(LightingDecode, EffectListsAndCaptionRows) {
    struct Case {
        LedType type;
        std::vector<int> rows;  // caption row of each list item, in list order
        std::uint8_t mask;
    } cases[] = {
        {LedType::Rgb, {21, 22, 23, 24, 25, 26}, 0x3F},
        {LedType::Sync, {21, 27, 28}, 0x07},
        {LedType::Nt, {21, 29, 30, 31, 32}, 0x37},
    };
    for (const Case& c : cases) {
        std::vector<int> rows;
        for (int item = 0; lighting::codeOfItem(c.type, item) >= 0; ++item)
            rows.push_back(lighting::effectCaptionRow(c.type, lighting::codeOfItem(c.type, item)));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(lighting::typeEnableMask(c.type), c.mask);
    }
    EXPECT_EQ(lighting::itemOfCode(LedType::Nt, 4), 3);
    EXPECT_EQ(lighting::itemOfCode(LedType::Nt, 3), -1);
    EXPECT_EQ(lighting::lightingByte(LedType::Nt, 8, 5), 0xF5);
    EXPECT_EQ(lighting::lightingByte(LedType::Nt, 5, 4), 0xC4);
    EXPECT_EQ(lighting::lightingByte(LedType::Sync, 3, 1), 0x41);
}

TEST(LightingDecode, SpeedBarPosition) {
    const std::pair<int, int> cases[] = {{0, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}, {45, 9}, {46, 10}, {255, 10}};
    for (auto [delay, bar] : cases) EXPECT_EQ(lighting::speedBarPosition(delay), bar) << delay;
}

// ------------------------------------------------------------------ edits on the mouse

TEST(LightingEdit, EffectButtonsWriteTheModeCodeAndSwitchTheSpeedBar) {
    Light l(withLighting(0xC4, 0x37));  // ZK, 5 LEDs, Fixed
    ASSERT_TRUE(l.model.RGBMode_OnClick(6));
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0xA5, 0xC5)});
    EXPECT_FALSE(l.model.view().speedBarEnabled);
    EXPECT_FALSE(l.model.FallTime_OnClick(3));  // the bar is off for CPI Breath

    l.rig.mark();
    ASSERT_TRUE(l.model.RGBMode_OnClick(2));
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0xA5, 0xC1)});
    EXPECT_TRUE(l.model.view().speedBarEnabled);

    // Button 4 has no ZK effect; a disabled effect's button is hidden.
    l.rig.mark();
    EXPECT_FALSE(l.model.RGBMode_OnClick(4));
    EXPECT_TRUE(l.lines().empty());
}

TEST(LightingEdit, SpeedBarAndStepDelay) {
    Light l;
    ASSERT_TRUE(l.model.FallTime_OnClick(3));
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0x38, 15)});
    EXPECT_EQ(l.model.view().speedBar, 3);
    l.rig.mark();
    EXPECT_EQ(l.model.edt_StepTimeChange(300), 255);
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0x38, 0xFF)});
    EXPECT_EQ(l.model.view().speedBar, 10);
}

TEST(LightingEdit, UncheckingEffects) {
    // RGB, Blend (code 4) in use, every effect enabled.
    Light l(withLighting(0x04, 0x3F));
    // Another effect: only the mask changes.
    ASSERT_TRUE(l.model.TLRefreshBreathMode(2, false));
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0x2A, 0x3B)});
    // The effect in use: the lowest enabled one (Off) takes over.
    l.rig.mark();
    ASSERT_TRUE(l.model.TLRefreshBreathMode(4, false));
    EXPECT_EQ(l.lines(), (std::vector<std::string>{set1(0x2A, 0x2B), set1(0xA5, 0x00)}));
    EXPECT_EQ(l.model.view().selectedItem, 0);
    // Each unchecked effect in use hands over to the next; the last one leaves mask 0 and
    // the effect as it is.
    for (int box : {0, 1, 3}) ASSERT_TRUE(l.model.TLRefreshBreathMode(box, false));
    EXPECT_EQ(l.mouseByte(offset::kLedByte), 0x05);
    l.rig.mark();
    ASSERT_TRUE(l.model.TLRefreshBreathMode(5, false));
    EXPECT_EQ(l.lines(), std::vector<std::string>{set1(0x2A, 0x00)});
    EXPECT_EQ(l.mouseByte(offset::kModeEnableMask), 0x00);
    EXPECT_EQ(l.mouseByte(offset::kLedByte), 0x05);
    EXPECT_EQ(l.model.view().effectShown, (std::array<bool, 6>{}));
    EXPECT_FALSE(l.model.cb_BreModeChange(2));  // "------" does nothing
}

TEST(LightingEdit, ZkBoxesAndTheLowestEnabledEffectKeepTheLedCount) {
    Light l(withLighting(0xB1, 0x3F));  // ZK, 4 LEDs, Random; a stray bit 3
    // Box 3 is not a ZK box; ticking box 0 clears the stray bit.
    EXPECT_FALSE(l.model.TLRefreshBreathMode(3, true));
    ASSERT_TRUE(l.model.TLRefreshBreathMode(1, false));
    EXPECT_EQ(l.lines(), (std::vector<std::string>{set1(0x2A, 0x35), set1(0xA5, 0xB0)}));
    l.rig.mark();
    ASSERT_TRUE(l.model.cb_BreModeChange(3));  // Fixed, code 4
    ASSERT_TRUE(l.model.cb_LEDNumChange(7));
    EXPECT_EQ(l.lines(), (std::vector<std::string>{set1(0xA5, 0xB4), set1(0xA5, 0xF4)}));
    EXPECT_EQ(l.model.view().zkLedCount, 8);
}

TEST(LightingEdit, LimitsOfTheNumberEdits) {
    Light l;
    struct Case {
        std::function<int(LightingModel&)> edit;
        int shown;
        std::string report;
    } cases[] = {
        {[](LightingModel& m) { return m.colourComponentChange(1, 0, 300); }, 255, set1(0x39, 0xFF)},
        {[](LightingModel& m) { return m.colourComponentChange(10, 2, 7); }, 7, set1(0x56, 0x07)},
        {[](LightingModel& m) { return m.cpiColourComponentChange(8, 1, 999); }, 255, set1(0x6D, 0xFF)},
        {[](LightingModel& m) { return m.breathingChange(Breathing::LowerDelay, 5000); }, 4094,
         "SET 40 05 00 34 0F FE 00 02"},
        {[](LightingModel& m) { return m.breathingChange(Breathing::Upper, 70000); }, 65535,
         "SET 40 05 00 32 FF FF 00 02"},
        {[](LightingModel& m) { return m.breathingChange(Breathing::UpperDelay, 300); }, 300,
         "SET 40 05 00 36 01 2C 00 02"},
        {[](LightingModel& m) { return m.edt_LEDInitChange(1, 0x1FF); }, 255, set1(0x29, 0xFF)},
    };
    for (const Case& c : cases) {
        l.rig.mark();
        EXPECT_EQ(c.edit(l.model), c.shown) << c.report;
        EXPECT_EQ(l.lines(), std::vector<std::string>{c.report});
    }
}

TEST(LightingEdit, ColourDialogEndsWithOneThreeByteWrite) {
    Light l;
    // Colour 4 is (0, 255, 0) in built-in image 1; green stays, so its edit writes nothing.
    ASSERT_EQ(colour(l.rig.state.work.bytes, 4), (Rgb{0, 255, 0}));
    ASSERT_TRUE(l.model.lbl_ColClick(4, Rgb{0x12, 0xFF, 0x34}));
    EXPECT_EQ(l.lines(), (std::vector<std::string>{set1(0x42, 0x12), set1(0x44, 0x34), "SET 40 05 00 42 12 FF 34 03"}));
    EXPECT_EQ(colour(l.rig.mouse.memory(), 4), (Rgb{0x12, 0xFF, 0x34}));
}

TEST(LightingEdit, HardwareOptionsWriteTheWholeByte) {
    Light l;  // bytes 5 and 7 are 0xFF
    ASSERT_TRUE(l.model.ledOptionChange(LedOption::LEDModeFuse, 2));
    ASSERT_TRUE(l.model.ledOptionChange(LedOption::LEDPower, 0));
    ASSERT_TRUE(l.model.ledOptionChange(LedOption::Package, 0));
    EXPECT_FALSE(l.model.ledOptionChange(LedOption::LEDModeFuse, 4));
    EXPECT_EQ(l.lines(), (std::vector<std::string>{set1(0x07, 0xEF), set1(0x07, 0xEE), set1(0x05, 0x7F)}));
    // The package shown is what the default generators read.
    EXPECT_EQ(l.model.packageShown(), PackageChoice::ATechLed);
    EXPECT_EQ(l.rig.state.package, PackageChoice::ATechLed);
}

TEST(LightingEdit, NothingIsSentWhileBusy) {
    Light l;
    l.rig.transfer->setBusy(true);
    EXPECT_FALSE(l.model.RGBMode_OnClick(1));
    EXPECT_FALSE(l.model.FallTime_OnClick(2));
    EXPECT_FALSE(l.model.lbl_ColClick(1, Rgb{1, 2, 3}));
    EXPECT_FALSE(l.model.TLRefreshBreathMode(0, false));
    EXPECT_FALSE(l.model.cb_LEDModeChange(LedType::Nt));
    l.model.colourComponentChange(1, 0, 9);
    l.rig.transfer->setBusy(false);
    EXPECT_TRUE(l.lines().empty());
    EXPECT_TRUE(sameSections(l.rig.state.work.bytes, l.rig.mouse.memory()));
}

TEST(LightingEdit, ChangedFollowsLightingBytesOnly) {
    Light l;
    int changes = 0;
    QObject::connect(&l.model, &LightingModel::changed, [&] { ++changes; });
    l.model.FallTime_OnClick(1);
    l.editor.setByte(offset::kCurrentCpi, 1);  // not a lighting byte
    l.editor.setByte(offset::kCpiColours + 23, 1);
    EXPECT_EQ(changes, 2);
}

// ------------------------------------------------------------------ the type change

TEST(LightingTypeChange, RebuildsTheDefaultsAndWritesTheWholeImage) {
    struct Case {
        LedType from, to;
        std::uint8_t mask, start, final165;
    } cases[] = {
        {LedType::Rgb, LedType::Nt, 0x37, 0xF4, 0xF5},
        {LedType::Nt, LedType::Sync, 0x07, 0x42, 0x41},
        {LedType::Sync, LedType::Rgb, 0x3F, 0x05, 0x05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(lighting::typeWord(c.to)));
        const std::uint8_t from165 = c.from == LedType::Rgb ? 0x04 : c.from == LedType::Nt ? 0xF1 : 0x41;
        Light l(withLighting(from165, lighting::typeEnableMask(c.from)));
        ASSERT_TRUE(l.model.cb_LEDModeChange(c.to));
        const auto lines = l.lines();
        ASSERT_GT(lines.size(), 2u);
        EXPECT_EQ(lines[0], set1(0x2A, c.mask));
        EXPECT_EQ(lines[1], set1(0xA5, c.start));
        EXPECT_EQ(lines[2], "SET 40 07 00 00 08 00 00 00");  // the whole image, from 0
        EXPECT_EQ(l.mouseByte(offset::kLedByte), c.final165);
        EXPECT_EQ(l.mouseByte(offset::kModeEnableMask), c.mask);
        EXPECT_EQ(l.model.type(), c.to);
        EXPECT_EQ(l.rig.state.led, c.to);
        EXPECT_TRUE(sameSections(l.rig.state.work.bytes, l.rig.mouse.memory()));
        EXPECT_FALSE(l.editor.busy());
        // The type in effect changes nothing.
        l.rig.mark();
        EXPECT_FALSE(l.model.cb_LEDModeChange(c.to));
        EXPECT_TRUE(l.lines().empty());
    }
}

TEST(LightingTypeChange, RefusedWithoutAMouse) {
    Rig rig;  // the no-device state
    LightingModel model(rig.editor());
    rig.mark();
    EXPECT_FALSE(model.cb_LEDModeChange(LedType::Sync));
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_EQ(rig.state.led, LedType::Rgb);
}

}  // namespace
}  // namespace nivra
