// Maps a key event of the window system (as Qt reports it) to a row of the key capture
// table. Plain C++: the Qt key code is passed as an int, so the recorder's desktop-wide source
// (X keysyms turned into Qt key codes) shares it with the dialogs without needing Qt.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nivra {

// What a key event tells about the key that was pressed.
struct KeyEventIdentity {
    int qtKey = 0;               // QKeyEvent::key()
    bool keypad = false;         // Qt::KeypadModifier was set: the key is on the numeric pad
    std::uint32_t keysym = 0;    // QKeyEvent::nativeVirtualKey(): the X keysym; 0 when unknown
    std::uint32_t scanCode = 0;  // QKeyEvent::nativeScanCode(): the XKB keycode (evdev code + 8); 0 when unknown
};

// Index of the capture row of that key (0 "None" for a key outside the table).
//
// The rows name PC keys the way a Windows virtual key does, so the mapping follows the
// same rules: letters follow the keyboard layout (the Qt key), the digit row and the
// punctuation keys follow their position (the scan code, read as a US keyboard, so that
// a shifted or non-Latin layout still gives the key's own row), and a letter key of a
// non-Latin layout falls back to its position too. Shift, Ctrl and Alt give the
// side-less rows (as the Windows virtual keys do, which the macro recorder relies on);
// the two Windows keys keep their side. Qt's "unknown key" gives the row "255".
std::size_t captureIndexForKeyEvent(const KeyEventIdentity& key);

// Qt::Key values the mapping reads (stable across Qt 5 and 6).
namespace qt_key {
inline constexpr int kEscape = 0x01000000;
inline constexpr int kTab = 0x01000001;
inline constexpr int kBacktab = 0x01000002;
inline constexpr int kBackspace = 0x01000003;
inline constexpr int kReturn = 0x01000004;
inline constexpr int kEnter = 0x01000005;
inline constexpr int kInsert = 0x01000006;
inline constexpr int kDelete = 0x01000007;
inline constexpr int kPause = 0x01000008;
inline constexpr int kPrint = 0x01000009;
inline constexpr int kSysReq = 0x0100000a;
inline constexpr int kClear = 0x0100000b;
inline constexpr int kHome = 0x01000010;
inline constexpr int kEnd = 0x01000011;
inline constexpr int kLeft = 0x01000012;
inline constexpr int kUp = 0x01000013;
inline constexpr int kRight = 0x01000014;
inline constexpr int kDown = 0x01000015;
inline constexpr int kPageUp = 0x01000016;
inline constexpr int kPageDown = 0x01000017;
inline constexpr int kShift = 0x01000020;
inline constexpr int kControl = 0x01000021;
inline constexpr int kMeta = 0x01000022;
inline constexpr int kAlt = 0x01000023;
inline constexpr int kCapsLock = 0x01000024;
inline constexpr int kNumLock = 0x01000025;
inline constexpr int kScrollLock = 0x01000026;
inline constexpr int kF1 = 0x01000030;
inline constexpr int kF24 = 0x01000047;
inline constexpr int kSuperL = 0x01000053;
inline constexpr int kSuperR = 0x01000054;
inline constexpr int kMenu = 0x01000055;
inline constexpr int kHelp = 0x01000058;
inline constexpr int kBack = 0x01000061;
inline constexpr int kForward = 0x01000062;
inline constexpr int kStop = 0x01000063;
inline constexpr int kRefresh = 0x01000064;
inline constexpr int kVolumeDown = 0x01000070;
inline constexpr int kVolumeMute = 0x01000071;
inline constexpr int kVolumeUp = 0x01000072;
inline constexpr int kMediaPlay = 0x01000080;
inline constexpr int kMediaStop = 0x01000081;
inline constexpr int kMediaPrevious = 0x01000082;
inline constexpr int kMediaNext = 0x01000083;
inline constexpr int kMediaPause = 0x01000085;
inline constexpr int kMediaTogglePlayPause = 0x01000086;
inline constexpr int kHomePage = 0x01000090;
inline constexpr int kFavorites = 0x01000091;
inline constexpr int kSearch = 0x01000092;
inline constexpr int kLaunchMail = 0x010000a0;
inline constexpr int kLaunchMedia = 0x010000a1;
inline constexpr int kLaunch0 = 0x010000a2;
inline constexpr int kLaunch1 = 0x010000a3;
inline constexpr int kCalculator = 0x010000cb;
inline constexpr int kExplorer = 0x010000d5;
inline constexpr int kAltGr = 0x01001103;
inline constexpr int kSelect = 0x01010000;
inline constexpr int kUnknown = 0x01ffffff;
}  // namespace qt_key

}  // namespace nivra
