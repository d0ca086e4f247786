// The device macro area: parse and pack, the address table, add and delete, and the
// re-pointing of macro buttons.
#include "macro/device_area.h"

#include "image/code_texts.h"
#include "image/image.h"

#include <gtest/gtest.h>

#include <random>

namespace nivra::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes record(const std::string& name, const Bytes& code) {
    const NameBytes n = nameBytes(name);
    Bytes r(n.begin(), n.end());
    r.insert(r.end(), code.begin(), code.end());
    return r;
}

Area areaOf(std::initializer_list<Bytes> records, std::uint8_t fill = 0x00) {
    Area a;
    a.fill(fill);
    std::size_t at = 0;
    for (const Bytes& r : records) {
        std::copy(r.begin(), r.end(), a.begin() + static_cast<std::ptrdiff_t>(at));
        at += r.size();
    }
    return a;
}

CodeSlot slotOf(const Bytes& code) {
    CodeSlot s{};
    std::copy(code.begin(), code.end(), s.begin());
    return s;
}

TEST(DeviceArea, ParseRecordsAndAddresses) {
    DeviceMacros m;
    m.ReadAndRefreshMacro3740(areaOf({record("Macro1", {0xA1, 0xFE, 0x00, 0x32, 0x21, 0x00}),
                                      record("Empty", {0x00}), record("Third", {0xFC, 0x00})}));
    ASSERT_EQ(m.count(), 3u);
    EXPECT_EQ(m.RefreshMacroName3740(), (std::vector<std::string>{"Macro1", "Empty", "Third"}));
    EXPECT_EQ(m.slot(0).length, 22u);
    EXPECT_EQ(m.slot(0).address, 0x0200);
    EXPECT_EQ(m.slot(1).length, 17u);
    EXPECT_EQ(m.slot(1).address, 0x0216);
    EXPECT_EQ(m.slot(2).address, 0x0216 + 17);
    EXPECT_EQ(m.CheckMacroLen3740(), 22u + 17u + 18u);
    EXPECT_EQ(m.macroLength(1), 1u);
}

TEST(DeviceArea, AbsentStartsGiveNoMacrosAndPackToZeros) {
    const Area starts[] = {areaOf({}, 0x00), areaOf({}, 0xFF), areaOf({record("x", {0x00})}, 0xFF)};
    Area ffName = areaOf({record("A", {0x00})});
    ffName[1] = 0xFF;  // "A" with a second byte 0xFF: not present
    for (Area a : {starts[0], starts[1], ffName}) {
        DeviceMacros m;
        m.ReadAndRefreshMacro3740(a);
        EXPECT_EQ(m.count(), 0u);
        EXPECT_EQ(m.area(), Area{});
    }
    // Records after the first one stay; the 0xFF tail after them becomes zeros.
    DeviceMacros m;
    m.ReadAndRefreshMacro3740(starts[2]);
    EXPECT_EQ(m.count(), 1u);
    EXPECT_EQ(m.area(), areaOf({record("x", {0x00})}));
}

TEST(DeviceArea, BrokenRecordsEndTheList) {
    // A record whose code runs to the end of the area without an end marker, and one
    // whose code holds a byte that is no opcode (it ends the macro there).
    Area a = areaOf({record("Good", {0xA1, 0x00}), record("Odd", {0xA1, 0x77, 0x21, 0x00})});
    DeviceMacros m;
    m.ReadAndRefreshMacro3740(a);
    ASSERT_EQ(m.count(), 2u);
    EXPECT_EQ(m.macroLength(1), 2u);
    EXPECT_EQ(Bytes(m.code(1).begin(), m.code(1).end()), (Bytes{0xA1, 0x00}));

    Area unterminated = areaOf({record("Good", {0xA1, 0x00})}, 0xFC);
    m.ReadAndRefreshMacro3740(unterminated);
    EXPECT_EQ(m.count(), 1u);

    // Random areas: parsing ends, stays within the area, and packing is stable.
    std::mt19937 rng(3740);
    for (int round = 0; round < 2000; ++round) {
        Area r;
        for (auto& b : r) b = static_cast<std::uint8_t>(rng() % (round % 2 ? 256 : 6) * (round % 2 ? 1 : 0x21));
        DeviceMacros d;
        d.ReadAndRefreshMacro3740(r);
        ASSERT_LE(d.CheckMacroLen3740(), kAreaSize);
        DeviceMacros again;
        again.ReadAndRefreshMacro3740(d.area());
        ASSERT_EQ(again.area(), d.area()) << round;
    }
}

TEST(DeviceArea, AddRefusesDuplicatesFullAndTooLong) {
    DeviceMacros m;
    EXPECT_EQ(m.add(nameBytes("Jump"), slotOf({0xA1, 0x21, 0x00})), AddResult::Added);
    EXPECT_EQ(m.slot(0).length, 19u);
    EXPECT_EQ(m.add(nameBytes("Jump"), slotOf({0x00})), AddResult::Exists);
    EXPECT_EQ(m.add(nameBytes("Next"), slotOf({0x00})), AddResult::Added);
    EXPECT_EQ(m.slot(1).address, 0x0200 + 19);

    // 512 exactly is accepted, 513 refused with the area unchanged.
    Bytes body(254, 0xFC);  // with the end marker: macro length 255, record 271
    body.push_back(0x00);
    EXPECT_EQ(m.add(nameBytes("Big1"), slotOf(body)), AddResult::Added);  // 19 + 17 + 271 = 307
    Bytes rest(512 - 307 - 16 - 1, 0xFC);
    rest.push_back(0x00);
    const Area before = m.area();
    Bytes over = rest;
    over.insert(over.begin(), 0xFC);
    EXPECT_EQ(m.add(nameBytes("Over"), slotOf(over)), AddResult::TooLong);
    EXPECT_EQ(m.area(), before);
    EXPECT_EQ(m.add(nameBytes("Fits"), slotOf(rest)), AddResult::Added);
    EXPECT_EQ(m.CheckMacroLen3740(), 512u);

    DeviceMacros full;
    for (int i = 0; i < 15; ++i) ASSERT_EQ(full.add(nameBytes("M" + std::to_string(i)), slotOf({0x00})), AddResult::Added);
    EXPECT_EQ(full.add(nameBytes("M15"), slotOf({0x00})), AddResult::Full);

    // A slot without an end marker goes in as an empty macro.
    CodeSlot noEnd;
    noEnd.fill(0xFC);
    DeviceMacros e;
    EXPECT_EQ(e.add(nameBytes("NoEnd"), noEnd), AddResult::Added);
    EXPECT_EQ(e.slot(0).length, 17u);
}

// Deleting the first of three moves the others down; buttons follow by name.
TEST(DeviceArea, DeleteRepointsButtonsByName) {
    DeviceMacros m;
    m.ReadAndRefreshMacro3740(areaOf({record("One", {0xA1, 0x21, 0x00}), record("Two", {0xFC, 0x00}),
                                      record("Three", {0xA2, 0x22, 0x00})}));
    Image image{};
    const auto put = [&](int p, int key, std::array<std::uint8_t, 4> code) {
        std::copy(code.begin(), code.end(), image.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(p, key)));
    };
    put(1, 1, macroKeyCode(m.slot(2).address));  // Three
    put(1, 2, macroKeyCode(m.slot(0).address));  // One
    put(2, 12, macroKeyCode(m.slot(1).address));  // Two
    put(3, 1, macroKeyCode(m.slot(0).address));  // One on profile 3 too
    put(2, 5, {0x10, 0x06, 0xA0, 0xFF});         // the fire macro key: no device macro

    const auto slotCode = macroKeyCode(m.slot(1).address);   // Two on combo key slot 9
    std::copy(slotCode.begin(), slotCode.end(), image.begin() + static_cast<std::ptrdiff_t>(comboKeyOffset(9)));

    const std::vector<KeyBinding> bound = InitKeysParameters(image, m);
    ASSERT_EQ(bound.size(), 5u);
    const std::uint16_t threeBefore = m.slot(2).address;
    ASSERT_TRUE(m.remove(0));
    EXPECT_EQ(m.RefreshMacroName3740(), (std::vector<std::string>{"Two", "Three"}));
    EXPECT_EQ(m.slot(1).address, threeBefore - 19);

    const std::vector<ButtonCodeChange> changes = RefreshKeysParameters(bound, m);
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[0].profile, 1);
    EXPECT_EQ(changes[0].key, 1);
    EXPECT_EQ(changes[0].code, macroKeyCode(m.slot(1).address));
    EXPECT_EQ(changes[1].code, (std::array<std::uint8_t, 4>{0, 0, 0, 0})) << "One is gone: key off";
    EXPECT_EQ(changes[2].code, macroKeyCode(m.slot(0).address));
    EXPECT_EQ(changes[3].profile, 3);
    EXPECT_EQ(changes[3].code, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(changes[4].profile, 0) << "a combo key slot";
    EXPECT_EQ(changes[4].key, 9);
    EXPECT_EQ(changes[4].code, macroKeyCode(m.slot(0).address));
    EXPECT_FALSE(m.remove(2));
}

TEST(DeviceArea, RefreshMacroAddrKeepsPresentBindings) {
    DeviceMacros m;
    m.ReadAndRefreshMacro3740(areaOf({record("One", {0x00}), record("Two", {0x00})}));
    Image image{};
    const auto code = macroKeyCode(m.slot(1).address);
    std::copy(code.begin(), code.end(), image.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(2, 3)));
    const auto changes = RefreshMacroAddr(image, m);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].profile, 2);
    EXPECT_EQ(changes[0].key, 3);
    EXPECT_EQ(changes[0].code, code);
}

TEST(MacroName, Utf16BigEndianBothWays) {
    EXPECT_EQ(nameBytes("Macro1"), (NameBytes{0, 'M', 0, 'a', 0, 'c', 0, 'r', 0, 'o', 0, '1'}));
    EXPECT_EQ(nameText(nameBytes("\u9006\u6218_1")), "\u9006\u6218_1");
    EXPECT_EQ(nameText(nameBytes("123456789")), "12345678") << "eight units at most";
    // A pair that would be cut in half is dropped whole.
    EXPECT_EQ(nameText(nameBytes("1234567\U0001F600")), "1234567");
    EXPECT_EQ(nameText(nameBytes("123456\U0001F600")), "123456\U0001F600");
    EXPECT_EQ(nameText(nameBytes("\xff" "a")), "\uFFFD" "a");
    NameBytes lone{0xD8, 0x00, 0x00, 'x'};
    EXPECT_EQ(nameText(lone), "\uFFFDx");
    EXPECT_EQ(utf16Units("\U0001F600"), 2u);
}

}  // namespace
}  // namespace nivra::macro
