// The gun page's model on the simulated mouse: the columns a gun shows, the limits of the
// column edits, that edits change only the working copy, Confirm's exact reports in Game and
// Office Mode, and the engineer offset edits.
#include "tests/gun/gun_rig.h"

namespace nivra {
namespace {

using namespace nivra::testing;

constexpr std::size_t kBodies = 1536 + 160;
std::size_t body(int slot) { return kBodies + 32 * static_cast<std::size_t>(slot); }

std::string str(const QString& s) { return s.toStdString(); }

// Built-in image 1 with a gun key (gun 1, combination byte 08) on button 12 of Game Mode.
Image gunButtonImage() {
    const std::size_t at = buttonCodeOffset(2, 12);
    return imageWith({{at, 0x0B}, {at + 1, 0x00}, {at + 2, 0x01}, {at + 3, 0x08}});
}

TEST(GunModel, ColumnsOfTheGunsFromTheirFireMacrosAndOffsets) {
    // Slot 6 (gun 6, column 2) gets a move of 0x80 and a Y offset of 0xF6; slot 9 an X offset.
    GunRig r(imageWith({{body(6) + 7, 0x80}, {181 + 6, 0xF6}, {171 + 9, 0x05}}));
    r.gun.open();
    EXPECT_EQ(r.gun.gun(), 1);
    EXPECT_EQ(r.gun.columns(), 1);
    const auto texts = [&](int c) {
        std::vector<std::string> out;
        for (GunParam p : {GunParam::Count, GunParam::X, GunParam::Y, GunParam::Time, GunParam::XOffset, GunParam::YOffset})
            out.push_back(str(r.gun.text(c, p)));
        return out;
    };
    // The built-in gun macro 0: count 0, X 0, Y 5, time 50.
    EXPECT_EQ(texts(1), (std::vector<std::string>{"0", "0", "5", "50", "0", "0"}));
    for (int m = 1; m <= 5; ++m) EXPECT_FALSE(r.gun.modeImageShown(m));

    r.gun.selectGun(7);
    EXPECT_EQ(r.gun.columns(), 3);
    EXPECT_EQ(r.gun.slot(1), 7);
    EXPECT_EQ(texts(1), (std::vector<std::string>{"0", "0", "4", "50", "0", "0"}));
    EXPECT_EQ(texts(3), (std::vector<std::string>{"0", "0", "6", "50", "5", "0"}));
    EXPECT_EQ(std::vector<bool>({r.gun.modeImageShown(1), r.gun.modeImageShown(3), r.gun.modeImageShown(5)}),
              (std::vector<bool>{false, true, true}));

    r.gun.selectGun(6);
    EXPECT_EQ(r.gun.columns(), 2);
    EXPECT_EQ(texts(2), (std::vector<std::string>{"0", "-128", "4", "45", "0", "-10"}));
    EXPECT_TRUE(r.gun.modeImageShown(2));
    EXPECT_EQ(str(r.gun.text(3, GunParam::Y)), "0");  // a column gun 6 does not use
    // The LED colour of the column's slot + 1.
    const std::size_t led = 57 + 3 * 6;
    EXPECT_EQ(r.gun.colour(2), (Rgb{r.work().bytes[led], r.work().bytes[led + 1], r.work().bytes[led + 2]}));
}

TEST(GunModel, ColumnEditLimitsAndNothingSentBeforeConfirm) {
    struct Step {
        GunParam param;
        const char* typed;
        const char* shown;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::size_t at;  // the image byte (offsets) or body byte of slot 0 the last step writes
        int stored;      // its value as a signed or unsigned number
    };
    const std::size_t move = body(0) + 7, time = body(0) + 10, count = body(0) + 5;
    const Case cases[] = {
        {"X with X offset 40", {{GunParam::XOffset, "40", "40"}, {GunParam::X, "100", "87"}}, move, 87},
        {"X offset with X 100", {{GunParam::X, "100", "100"}, {GunParam::XOffset, "40", "27"}}, 171, 27},
        {"Y below the sum", {{GunParam::YOffset, "-100", "-100"}, {GunParam::Y, "-50", "-28"}}, move + 1, -28},
        {"X alone held to -128", {{GunParam::X, "-300", "-128"}}, move, -128},
        {"a lone minus waits", {{GunParam::X, "-7", "-7"}, {GunParam::X, "-", "-"}}, move, -7},
        {"empty X is 0", {{GunParam::X, "9", "9"}, {GunParam::X, "", "0"}}, move, 0},
        {"count 256", {{GunParam::Count, "256", "255"}}, count, 255},
        {"empty count", {{GunParam::Count, "", "0"}}, count, 0},
        {"count 12", {{GunParam::Count, "12", "12"}}, count, 12},
        {"time above 65535", {{GunParam::Time, "70000", "65535"}}, time, 0xFF},
        {"time 300", {{GunParam::Time, "300", "300"}}, time, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GunRig r;
        r.gun.open();
        r.rig.mark();
        for (const Step& s : c.steps) {
            switch (s.param) {
                case GunParam::Count: r.gun.setCount(1, s.typed); break;
                case GunParam::X: r.gun.setMove(1, Axis::X, s.typed); break;
                case GunParam::Y: r.gun.setMove(1, Axis::Y, s.typed); break;
                case GunParam::XOffset: r.gun.setOffset(1, Axis::X, s.typed); break;
                case GunParam::YOffset: r.gun.setOffset(1, Axis::Y, s.typed); break;
                case GunParam::Time: r.gun.setTime(1, s.typed); break;
            }
            EXPECT_EQ(str(r.gun.text(1, s.param)), s.shown) << s.typed;
        }
        const std::uint8_t b = c.at >= kBodies ? r.work().fireMacroBodies[0][c.at - body(0)] : r.work().bytes[c.at];
        EXPECT_EQ(c.stored < 0 ? signedByte(b) : b, c.stored);
        EXPECT_TRUE(r.rig.lines().empty());
        EXPECT_EQ(r.mouse()[c.at], builtinImage(1)[c.at]);
    }
}

TEST(GunModel, AnEditOfAParameterTheMacroLacksChangesNoByte) {
    // Slot 0 without a loop start and without a delay after its move: A1 04 02 03 21.
    Image img = builtinImage(1);
    const std::uint8_t macro[] = {0xA1, 0x04, 0x02, 0x03, 0x21};
    std::fill(img.begin() + static_cast<std::ptrdiff_t>(body(0)), img.begin() + static_cast<std::ptrdiff_t>(body(1)), 0);
    std::copy(std::begin(macro), std::end(macro), img.begin() + static_cast<std::ptrdiff_t>(body(0)));
    GunRig r(img);
    r.gun.open();
    ASSERT_FALSE(r.gun.has(1, GunParam::Count));
    ASSERT_FALSE(r.gun.has(1, GunParam::Time));
    ASSERT_TRUE(r.gun.has(1, GunParam::X));
    const auto before = r.work().fireMacroBodies;
    r.gun.setCount(1, "7");
    r.gun.setTime(1, "90");
    EXPECT_EQ(r.work().fireMacroBodies, before);
    r.gun.setMove(1, Axis::Y, "9");  // the move is there
    EXPECT_EQ(r.work().fireMacroBodies[0][3], 9);
    EXPECT_EQ(r.work().fireMacroBodies[0][4], 0x21);
}

// Confirm on gun 6 ("Gun6_Num" 2, keep-left on) from button 3 of the page shown: the colours,
// the user section, the profiles, the fire-key block, the fire macro area, then the
// re-selection. Game Mode stores 0B 15 02 + the gun combination byte on button 3; Office
// Mode changes no button.
TEST(GunModel, ConfirmSendsEverythingAndStoresTheGunCodeOnlyInGameMode) {
    for (int profile : {2, 1}) {
        SCOPED_TRACE(profile);
        GunRig r(gunButtonImage());
        ASSERT_EQ(r.profiles.gunComboByte(), 0x08);
        r.gun.setLayout(GunLayout{2, 3});
        r.profiles.showProfile(profile);
        r.buttons.selectLabel(3);
        r.gun.open();
        r.gun.selectGun(6);
        ASSERT_TRUE(r.gun.keepLeft());
        r.gun.setMove(2, Axis::Y, "7");  // slot 6
        const ButtonCode before = r.buttons.code(profile, 3);
        const ButtonCode otherBefore = r.buttons.code(3 - profile, 3);
        int closed = 0;
        QObject::connect(&r.gun, &GunModel::closed, [&] { ++closed; });
        r.rig.mark();

        ASSERT_TRUE(r.gun.confirm());
        EXPECT_TRUE(r.gun.confirmOk());
        EXPECT_EQ(closed, 1);
        const ButtonCode gunCode{{0x0B, 0x15, 0x02, 0x08}};
        EXPECT_EQ(r.buttons.code(profile, 3), profile == 2 ? gunCode : before);
        EXPECT_EQ(r.buttons.code(3 - profile, 3), otherBefore);

        const WorkingCopy& w = r.work();
        std::vector<std::string> expected;
        const auto add = [&](const std::vector<std::string>& l) { expected.insert(expected.end(), l.begin(), l.end()); };
        for (std::size_t n = 0; n < 10; ++n) add(chunkedLines(57 + 3 * n, std::span(w.bytes).subspan(57 + 3 * n, 3)));
        add(chunkedLines(164, w.user()));
        add(blockWriteLines(192, std::span(w.bytes).subspan(192, 147)));
        add(blockWriteLines(484, w.identity()));
        add(blockWriteLines(1536, w.fireMacroBlock()));
        add(getBytesLines(164, w.user()));
        add({setBytesLine(164, {0x0F}), setBytesLine(164, {w.bytes[164]})});
        EXPECT_EQ(r.rig.lines(), expected);

        const Image m = r.mouse();
        EXPECT_EQ(m[body(6) + 8], 7);
        EXPECT_EQ(std::vector<std::uint8_t>(m.begin() + 1536, m.end()),
                  std::vector<std::uint8_t>(w.fireMacroBlock().begin(), w.fireMacroBlock().end()));
        if (profile == 2) {
            EXPECT_EQ(std::vector<std::uint8_t>(m.begin() + 249, m.begin() + 253),
                      (std::vector<std::uint8_t>{0x0B, 0x15, 0x02, 0x08}));
        }
    }
}

TEST(GunModel, ColumnEditsInGameModeWithoutASelectedButtonChangeNoButton) {
    // The mouse runs Game Mode (mode byte F1), the page shows it, and nothing selected a
    // Game Mode button: a column edit and Confirm leave every button as it was.
    Image memory = builtinImage(1);
    memory[offset::kModeByte] = 0xF1;
    setSectionCheckByte(std::span(memory).subspan(region::kUser.offset, region::kUser.length));
    GunRig r(memory);
    r.profiles.deriveFromImage();
    ASSERT_EQ(r.buttons.profileShown(), 2);
    const Image before = r.mouse();
    r.gun.open();
    r.gun.selectGun(1);
    r.gun.setCount(1, "5");
    ASSERT_TRUE(r.gun.confirm());
    EXPECT_TRUE(r.gun.confirmOk());
    const Image after = r.mouse();
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k) {
            const std::size_t at = buttonCodeOffset(p, k);
            EXPECT_TRUE(std::equal(before.begin() + at, before.begin() + at + 4, after.begin() + at)) << p << "/" << k;
        }
}

// Cancel puts the fire macros and the X/Y offsets back as they were when the page was opened
// or last confirmed, sending nothing; a later Confirm of another gun then carries none of the
// cancelled edits, and the confirmed ones stay.
TEST(GunModel, CancelRestoresTheGunsAsOpenedOrLastConfirmed) {
    GunRig r(gunButtonImage());
    r.profiles.showProfile(2);
    r.buttons.selectLabel(3);
    r.gun.open();
    const WorkingCopy opened = r.work();
    const QString shownY = r.gun.text(1, GunParam::Y);
    r.rig.mark();
    r.gun.setMove(1, Axis::Y, "9");
    r.gun.setCount(1, "30");
    r.gun.setTime(1, "400");
    r.gun.setOffset(1, Axis::X, "20");
    ASSERT_NE(r.work().fireMacroBodies, opened.fireMacroBodies);
    int closed = 0;
    QObject::connect(&r.gun, &GunModel::closed, [&] { ++closed; });
    r.gun.cancel();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(r.work().fireMacroBodies, opened.fireMacroBodies);
    EXPECT_EQ(r.work().fireMacroNames, opened.fireMacroNames);
    EXPECT_EQ(r.work().bytes, opened.bytes);
    EXPECT_EQ(r.gun.text(1, GunParam::Y), shownY);
    EXPECT_EQ(str(r.gun.text(1, GunParam::XOffset)), "0");
    EXPECT_TRUE(r.rig.lines().empty());

    // Gun 2 confirmed with X 5; then gun 1 edited and cancelled; then gun 3 confirmed.
    r.gun.open();
    r.gun.selectGun(2);
    ASSERT_TRUE(r.gun.params(1).moveAt);
    const std::size_t moveX = body(1) + *r.gun.params(1).moveAt;
    r.gun.setMove(1, Axis::X, "5");
    ASSERT_TRUE(r.gun.confirm());
    r.gun.open();
    r.gun.setMove(1, Axis::Y, "9");
    r.gun.setOffset(1, Axis::Y, "-3");
    r.gun.cancel();
    r.gun.open();
    r.gun.selectGun(3);
    ASSERT_TRUE(r.gun.confirm());
    const Image m = r.mouse();
    const auto bodyOf = [&m](int slot) { return std::vector<std::uint8_t>(m.begin() + body(slot), m.begin() + body(slot + 1)); };
    EXPECT_EQ(bodyOf(0), std::vector<std::uint8_t>(opened.fireMacroBodies[0].begin(), opened.fireMacroBodies[0].end()));
    EXPECT_EQ(m[moveX], 5);
    EXPECT_EQ(m[181], opened.bytes[181]);
}

TEST(GunModel, KeepLeftOffAndTheModesOfTheLayout) {
    GunRig r;
    r.gun.setLayout(GunLayout{1, 2});
    EXPECT_EQ(r.gun.gunCode(7), (ButtonCode{{0x0B, 0x17, 0x02, 0x00}}));
    r.gun.toggleKeepLeft();
    EXPECT_EQ(r.gun.gunCode(6), (ButtonCode{{0x0B, 0x05, 0x01, 0x00}}));
    EXPECT_EQ(r.gun.gunCode(1), (ButtonCode{{0x0B, 0x00, 0x01, 0x00}}));
}

TEST(GunModel, ConfirmAndEditsWhileBusySendNothing) {
    GunRig r(gunButtonImage());
    r.profiles.showProfile(2);
    r.buttons.selectLabel(3);
    r.gun.open();
    const ButtonCode before = r.buttons.code(2, 3);
    r.rig.mark();
    const Image workBefore = r.rig.state.work.bytes;
    r.rig.transfer->setBusy(true);
    r.gun.setMove(1, Axis::Y, "9");
    EXPECT_TRUE(r.gun.confirm().busy());
    r.rig.transfer->setBusy(false);
    EXPECT_TRUE(r.rig.lines().empty());
    // Not a byte of the working copy changed (the fire macro area was rebuilt before).
    EXPECT_EQ(r.rig.state.work.bytes, workBefore);
    EXPECT_EQ(r.buttons.code(2, 3), before);
    EXPECT_EQ(r.work().fireMacroBodies[0][8], 5);
}

TEST(GunModel, ColourChoiceWritesTheChangedComponentsOfTheSlotsLedColour) {
    GunRig r;
    r.gun.open();
    r.gun.selectGun(7);  // column 2 = slot 8 = LED colour 9 at 81
    const Rgb now = r.gun.colour(2);
    r.rig.mark();
    ASSERT_TRUE(r.gun.chooseColour(2, Rgb{static_cast<std::uint8_t>(now.r ^ 0x10), now.g, now.b}));
    EXPECT_EQ(r.rig.lines(), (std::vector<std::string>{setBytesLine(81, {static_cast<std::uint8_t>(now.r ^ 0x10)})}));
    EXPECT_EQ(r.gun.colour(2).r, now.r ^ 0x10);
}

TEST(GunModel, EngineerOffsetEditsAreLiveWrites) {
    struct Case {
        Axis axis;
        int k;
        const char* typed;
        const char* shown;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {Axis::X, 1, "-10", "-10", {setBytesLine(171, {0xF6})}},
        {Axis::Y, 10, "200", "127", {setBytesLine(190, {0x7F})}},
        {Axis::X, 3, "", "0", {setBytesLine(173, {0x00})}},
        {Axis::Y, 2, "-", "-", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        GunRig r;
        EXPECT_EQ(str(r.gun.setEngineerOffset(c.axis, c.k, c.typed)), c.shown);
        EXPECT_EQ(r.rig.lines(), c.lines);
    }
    // The gun page follows an engineer change of an offset it shows.
    GunRig r;
    r.gun.open();
    r.gun.setEngineerOffset(Axis::Y, 1, "-3");
    EXPECT_EQ(str(r.gun.text(1, GunParam::YOffset)), "-3");
    EXPECT_EQ(GunModel::offsetAt(r.work().bytes, Axis::Y, 1), -3);
}

}  // namespace
}  // namespace nivra
