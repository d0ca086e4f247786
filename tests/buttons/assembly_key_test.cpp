// The combination dialog's state machine: typed keys, modifier boxes, the confirmed code.
#include "settings/assembly_key.h"

#include "image/keys.h"

#include <gtest/gtest.h>

namespace nivra {
namespace {

std::size_t row(std::string_view name) { return *captureIndexForName(name); }

TEST(AssemblyKey, Sequences) {
    struct Step {
        enum { Key, Box, Clear } kind;
        std::string_view key;  // capture row name
        Modifier m;
        bool on;
        bool shift;
    };
    auto key = [](std::string_view name, bool shift = false) { return Step{Step::Key, name, Modifier::Ctrl, false, shift}; };
    auto box = [](Modifier m, bool on) { return Step{Step::Box, {}, m, on, false}; };
    const Step clear{Step::Clear, {}, Modifier::Ctrl, false, false};
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::string text;
        std::string code;
    };
    const Case cases[] = {
        {"A, B, C gives C alone", {key("A"), key("B"), key("C")}, "C", "02000600"},
        {"two keys", {key("A"), key("B")}, "A+B", "02000405"},
        {"Ctrl then A", {box(Modifier::Ctrl, true), key("A")}, "Ctrl+A", "02010400"},
        {"A then Ctrl puts Ctrl first", {key("A"), box(Modifier::Ctrl, true)}, "Ctrl+A", "02010400"},
        {"boxes in order Ctrl Shift Alt Win",
         {box(Modifier::Win, true), box(Modifier::Ctrl, true), box(Modifier::Alt, true)},
         "Ctrl+Alt+Win", "020D0000"},
        {"box cleared removes its word",
         {box(Modifier::Ctrl, true), box(Modifier::Shift, true), key("F5"),
          box(Modifier::Ctrl, false)},
         "Shift+F5", "02023E00"},
        {"third key after modifiers keeps them",
         {box(Modifier::Alt, true), key("A"), key("B"), key("Tab")}, "Alt+Tab", "02042B00"},
        {"key with Shift held is ignored", {key("A"), key("B", true)}, "A", "02000400"},
        {"Windows keys are ignored", {key("Left Windows"), key("Right Windows")}, "", "00000000"},
        {"keys without a usage are ignored", {key("Launch_App1"), key("None")}, "", "00000000"},
        {"empty confirm is Key Off", {}, "", "00000000"},
        {"clear resets everything", {box(Modifier::Ctrl, true), key("A"), clear}, "", "00000000"},
        {"keypad keys keep their own usage", {key("1 (numeric pad)")}, "1 (numeric pad)", "02005900"},
    };
    for (const Case& c : cases) {
        AssemblyKeyDialog d;
        for (const Step& s : c.steps) {
            if (s.kind == Step::Key) d.keyPressed(row(s.key), s.shift, false, false);
            else if (s.kind == Step::Box) d.setModifier(s.m, s.on);
            else d.clear();
        }
        EXPECT_EQ(d.text(), c.text) << c.what;
        EXPECT_EQ(codeText(d.confirmCode()), c.code) << c.what;
    }
}

TEST(AssemblyKey, HeldCtrlOrAltIgnoresTheKeyToo) {
    AssemblyKeyDialog d;
    EXPECT_FALSE(d.keyPressed(row("A"), false, true, false));
    EXPECT_FALSE(d.keyPressed(row("A"), false, false, true));
    EXPECT_EQ(d.keyCount(), 0);
    EXPECT_TRUE(d.keyPressed(row("A"), false, false, false));
    EXPECT_EQ(d.keyCount(), 1);
}

}  // namespace
}  // namespace nivra
