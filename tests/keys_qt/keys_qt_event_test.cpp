// Qt key events to key capture rows, checked against Qt's own key codes.
#include "macro/key_events.h"
#include "image/keys.h"

#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

namespace {

using nivra::KeyEventIdentity;

static_assert(nivra::qt_key::kEscape == Qt::Key_Escape && nivra::qt_key::kTab == Qt::Key_Tab &&
              nivra::qt_key::kBacktab == Qt::Key_Backtab && nivra::qt_key::kBackspace == Qt::Key_Backspace &&
              nivra::qt_key::kReturn == Qt::Key_Return && nivra::qt_key::kEnter == Qt::Key_Enter &&
              nivra::qt_key::kInsert == Qt::Key_Insert && nivra::qt_key::kDelete == Qt::Key_Delete &&
              nivra::qt_key::kPause == Qt::Key_Pause && nivra::qt_key::kPrint == Qt::Key_Print &&
              nivra::qt_key::kSysReq == Qt::Key_SysReq && nivra::qt_key::kClear == Qt::Key_Clear &&
              nivra::qt_key::kHome == Qt::Key_Home && nivra::qt_key::kEnd == Qt::Key_End &&
              nivra::qt_key::kLeft == Qt::Key_Left && nivra::qt_key::kUp == Qt::Key_Up &&
              nivra::qt_key::kRight == Qt::Key_Right && nivra::qt_key::kDown == Qt::Key_Down &&
              nivra::qt_key::kPageUp == Qt::Key_PageUp && nivra::qt_key::kPageDown == Qt::Key_PageDown &&
              nivra::qt_key::kShift == Qt::Key_Shift && nivra::qt_key::kControl == Qt::Key_Control &&
              nivra::qt_key::kMeta == Qt::Key_Meta && nivra::qt_key::kAlt == Qt::Key_Alt &&
              nivra::qt_key::kCapsLock == Qt::Key_CapsLock && nivra::qt_key::kNumLock == Qt::Key_NumLock &&
              nivra::qt_key::kScrollLock == Qt::Key_ScrollLock && nivra::qt_key::kF1 == Qt::Key_F1 &&
              nivra::qt_key::kF24 == Qt::Key_F24 && nivra::qt_key::kSuperL == Qt::Key_Super_L &&
              nivra::qt_key::kSuperR == Qt::Key_Super_R && nivra::qt_key::kMenu == Qt::Key_Menu &&
              nivra::qt_key::kHelp == Qt::Key_Help && nivra::qt_key::kBack == Qt::Key_Back &&
              nivra::qt_key::kForward == Qt::Key_Forward && nivra::qt_key::kStop == Qt::Key_Stop &&
              nivra::qt_key::kRefresh == Qt::Key_Refresh && nivra::qt_key::kVolumeDown == Qt::Key_VolumeDown &&
              nivra::qt_key::kVolumeMute == Qt::Key_VolumeMute && nivra::qt_key::kVolumeUp == Qt::Key_VolumeUp &&
              nivra::qt_key::kMediaPlay == Qt::Key_MediaPlay && nivra::qt_key::kMediaStop == Qt::Key_MediaStop &&
              nivra::qt_key::kMediaPrevious == Qt::Key_MediaPrevious &&
              nivra::qt_key::kMediaNext == Qt::Key_MediaNext && nivra::qt_key::kMediaPause == Qt::Key_MediaPause &&
              nivra::qt_key::kMediaTogglePlayPause == Qt::Key_MediaTogglePlayPause &&
              nivra::qt_key::kHomePage == Qt::Key_HomePage && nivra::qt_key::kFavorites == Qt::Key_Favorites &&
              nivra::qt_key::kSearch == Qt::Key_Search && nivra::qt_key::kLaunchMail == Qt::Key_LaunchMail &&
              nivra::qt_key::kLaunchMedia == Qt::Key_LaunchMedia && nivra::qt_key::kLaunch0 == Qt::Key_Launch0 &&
              nivra::qt_key::kLaunch1 == Qt::Key_Launch1 && nivra::qt_key::kCalculator == Qt::Key_Calculator &&
              nivra::qt_key::kExplorer == Qt::Key_Explorer && nivra::qt_key::kAltGr == Qt::Key_AltGr &&
              nivra::qt_key::kSelect == Qt::Key_Select && nivra::qt_key::kUnknown == Qt::Key_unknown,
              "the Qt key codes the mapping reads");

// XKB keycodes (evdev code + 8) of a few keys.
constexpr std::uint32_t kScan1 = 10, kScanA = 38, kScanSemicolon = 47, kScanKeypadDot = 91;

TEST(KeyEventCapture, QtKeysToRows) {
    const struct {
        const char* what;
        KeyEventIdentity key;
        const char* row;
    } cases[] = {
        {"letter", {Qt::Key_A}, "A"},
        {"digit", {Qt::Key_7}, "7"},
        {"AZERTY digit row: '&' on the key of 1", {Qt::Key_Ampersand, false, 0x26, kScan1}, "1"},
        {"US shifted 7 without a scan code", {Qt::Key_Ampersand}, "7"},
        {"shifted ';' by position", {Qt::Key_Colon, false, 0x3A, kScanSemicolon}, "OEM_1"},
        {"shifted ';' without a scan code", {Qt::Key_Colon}, "OEM_1"},
        {"'=' and '+' are the same key", {Qt::Key_Plus}, "OEM_Plus"},
        {"Cyrillic letter falls back to its position", {0x0424, false, 0x6C6, kScanA}, "A"},
        {"keypad digit", {Qt::Key_5, true}, "5 (numeric pad)"},
        {"keypad 7 with Num Lock off", {Qt::Key_Home, true}, "Home"},
        {"keypad 5 with Num Lock off", {Qt::Key_Clear, true}, "Clear"},
        {"keypad plus", {Qt::Key_Plus, true}, "Add (numeric pad)"},
        {"keypad decimal key giving ','", {Qt::Key_Comma, true, 0xFFAC, kScanKeypadDot}, "Decimal (numeric pad)"},
        {"keypad comma without a scan code", {Qt::Key_Comma, true}, "Separator (numeric pad)"},
        {"keypad period", {Qt::Key_Period, true}, "Decimal (numeric pad)"},
        {"keypad Enter", {Qt::Key_Enter, true}, "Enter"},
        {"Shift+Tab", {Qt::Key_Backtab}, "Tab"},
        {"Shift of either side", {Qt::Key_Shift, false, 0xFFE2}, "Shift"},
        {"Ctrl", {Qt::Key_Control}, "Ctrl"},
        {"AltGr", {Qt::Key_AltGr}, "Alt"},
        {"left Super", {Qt::Key_Super_L}, "Left Windows"},
        {"right Super", {Qt::Key_Super_R}, "Right Windows"},
        {"Meta from the right Super keysym", {Qt::Key_Meta, false, 0xFFEC}, "Right Windows"},
        {"Meta", {Qt::Key_Meta}, "Left Windows"},
        {"menu key", {Qt::Key_Menu}, "Applications"},
        {"F13", {Qt::Key_F13}, "F13"},
        {"F24", {Qt::Key_F24}, "F24"},
        {"F25 is outside", {Qt::Key_F25}, "None"},
        {"print", {Qt::Key_Print}, "Print Screen"},
        {"play/pause", {Qt::Key_MediaTogglePlayPause}, "Media_Play_Pause"},
        {"browser home", {Qt::Key_HomePage}, "Browser_Home"},
        {"My Computer", {Qt::Key_Launch0}, "Launch_App1"},
        {"calculator", {Qt::Key_Calculator}, "Launch_App2"},
        {"unknown key", {Qt::Key_unknown}, "255"},
        {"no key", {0}, "None"},
        {"a key no row names", {Qt::Key_Eject}, "None"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nivra::captureRow(nivra::captureIndexForKeyEvent(c.key)).name, c.row) << c.what;
    }
}

TEST(KeyEventCapture, LaunchApp1GivesNoUsage) {
    const nivra::CaptureRow& row = nivra::captureRow(nivra::captureIndexForKeyEvent({Qt::Key_Launch0}));
    EXPECT_EQ(row.name, "Launch_App1");
    EXPECT_EQ(row.usage, 0x00);
}

}  // namespace
