// Key events of the window system to key capture rows, by way of the row's PC key.
#include "macro/key_events.h"

#include "image/keys.h"

#include <array>

namespace nivra {

namespace {

// Windows virtual-key codes of the rows, as named in the capture table.
namespace vk {
constexpr unsigned kBack = 0x08, kTab = 0x09, kClear = 0x0C, kReturn = 0x0D;
constexpr unsigned kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13, kCapital = 0x14;
constexpr unsigned kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24;
constexpr unsigned kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kSelect = 0x29;
constexpr unsigned kSnapshot = 0x2C, kInsert = 0x2D, kDelete = 0x2E, kHelp = 0x2F;
constexpr unsigned kLWin = 0x5B, kRWin = 0x5C, kApps = 0x5D;
constexpr unsigned kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSeparator = 0x6C;
constexpr unsigned kSubtract = 0x6D, kDecimal = 0x6E, kDivide = 0x6F, kF1 = 0x70;
constexpr unsigned kNumLock = 0x90, kScroll = 0x91;
constexpr unsigned kBrowserBack = 0xA6, kBrowserForward = 0xA7, kBrowserRefresh = 0xA8, kBrowserStop = 0xA9;
constexpr unsigned kBrowserSearch = 0xAA, kBrowserFavorites = 0xAB, kBrowserHome = 0xAC;
constexpr unsigned kVolumeMute = 0xAD, kVolumeDown = 0xAE, kVolumeUp = 0xAF;
constexpr unsigned kMediaNext = 0xB0, kMediaPrev = 0xB1, kMediaStop = 0xB2, kMediaPlayPause = 0xB3;
constexpr unsigned kLaunchMail = 0xB4, kLaunchMediaSelect = 0xB5, kLaunchApp1 = 0xB6, kLaunchApp2 = 0xB7;
constexpr unsigned kOem1 = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE;
constexpr unsigned kOem2 = 0xBF, kOem3 = 0xC0, kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE;
constexpr unsigned kNoMapping = 0xFF;
}  // namespace vk

struct KeyToVk {
    int key;
    unsigned virtualKey;
};

// Keys that are the same on every layout.
constexpr KeyToVk kSpecialKeys[] = {
    {qt_key::kEscape, vk::kEscape},
    {qt_key::kTab, vk::kTab},
    {qt_key::kBacktab, vk::kTab},  // Shift+Tab
    {qt_key::kBackspace, vk::kBack},
    {qt_key::kReturn, vk::kReturn},
    {qt_key::kEnter, vk::kReturn},  // the keypad's Enter
    {qt_key::kInsert, vk::kInsert},
    {qt_key::kDelete, vk::kDelete},
    {qt_key::kPause, vk::kPause},
    {qt_key::kPrint, vk::kSnapshot},
    {qt_key::kSysReq, vk::kSnapshot},  // Alt+Print Screen
    {qt_key::kClear, vk::kClear},
    {qt_key::kHome, vk::kHome},
    {qt_key::kEnd, vk::kEnd},
    {qt_key::kLeft, vk::kLeft},
    {qt_key::kUp, vk::kUp},
    {qt_key::kRight, vk::kRight},
    {qt_key::kDown, vk::kDown},
    {qt_key::kPageUp, vk::kPrior},
    {qt_key::kPageDown, vk::kNext},
    {qt_key::kShift, vk::kShift},
    {qt_key::kControl, vk::kControl},
    {qt_key::kAlt, vk::kMenu},
    {qt_key::kAltGr, vk::kMenu},
    {qt_key::kCapsLock, vk::kCapital},
    {qt_key::kNumLock, vk::kNumLock},
    {qt_key::kScrollLock, vk::kScroll},
    {qt_key::kSuperL, vk::kLWin},
    {qt_key::kSuperR, vk::kRWin},
    {qt_key::kMenu, vk::kApps},
    {qt_key::kHelp, vk::kHelp},
    {qt_key::kSelect, vk::kSelect},
    {qt_key::kBack, vk::kBrowserBack},
    {qt_key::kForward, vk::kBrowserForward},
    {qt_key::kRefresh, vk::kBrowserRefresh},
    {qt_key::kStop, vk::kBrowserStop},
    {qt_key::kSearch, vk::kBrowserSearch},
    {qt_key::kFavorites, vk::kBrowserFavorites},
    {qt_key::kHomePage, vk::kBrowserHome},
    {qt_key::kVolumeMute, vk::kVolumeMute},
    {qt_key::kVolumeDown, vk::kVolumeDown},
    {qt_key::kVolumeUp, vk::kVolumeUp},
    {qt_key::kMediaNext, vk::kMediaNext},
    {qt_key::kMediaPrevious, vk::kMediaPrev},
    {qt_key::kMediaStop, vk::kMediaStop},
    {qt_key::kMediaPlay, vk::kMediaPlayPause},
    {qt_key::kMediaPause, vk::kMediaPlayPause},
    {qt_key::kMediaTogglePlayPause, vk::kMediaPlayPause},
    {qt_key::kLaunchMail, vk::kLaunchMail},
    {qt_key::kLaunchMedia, vk::kLaunchMediaSelect},
    {qt_key::kLaunch0, vk::kLaunchApp1},  // "My Computer"
    {qt_key::kExplorer, vk::kLaunchApp1},
    {qt_key::kLaunch1, vk::kLaunchApp2},  // "Calculator"
    {qt_key::kCalculator, vk::kLaunchApp2},
    {qt_key::kUnknown, vk::kNoMapping},
    {' ', vk::kSpace},
};

// Keys of the numeric pad, by the character Qt reports with the keypad flag.
constexpr KeyToVk kKeypadKeys[] = {
    {'*', vk::kMultiply}, {'+', vk::kAdd}, {'-', vk::kSubtract},
    {'.', vk::kDecimal},  {',', vk::kSeparator}, {'/', vk::kDivide},
};

// XKB keycodes of the keypad's decimal and comma keys, which layouts give either character.
constexpr std::uint32_t kScanKeypadDecimal = 83 + 8;
constexpr std::uint32_t kScanKeypadComma = 121 + 8;

// The main block of a US keyboard by XKB keycode (evdev code + 8): digit row,
// letters and punctuation.
constexpr std::array<unsigned, 62> buildPositionalKeys() {
    std::array<unsigned, 62> keys{};
    constexpr char kDigitRow[] = "1234567890";
    for (unsigned i = 0; i < 10; ++i) keys[10 + i] = static_cast<unsigned>(kDigitRow[i]);
    keys[20] = vk::kOemMinus;
    keys[21] = vk::kOemPlus;
    constexpr char kTopRow[] = "QWERTYUIOP";
    for (unsigned i = 0; i < 10; ++i) keys[24 + i] = static_cast<unsigned>(kTopRow[i]);
    keys[34] = vk::kOem4;
    keys[35] = vk::kOem6;
    constexpr char kHomeRow[] = "ASDFGHJKL";
    for (unsigned i = 0; i < 9; ++i) keys[38 + i] = static_cast<unsigned>(kHomeRow[i]);
    keys[47] = vk::kOem1;
    keys[48] = vk::kOem7;
    keys[49] = vk::kOem3;
    keys[51] = vk::kOem5;
    constexpr char kBottomRow[] = "ZXCVBNM";
    for (unsigned i = 0; i < 7; ++i) keys[52 + i] = static_cast<unsigned>(kBottomRow[i]);
    keys[59] = vk::kOemComma;
    keys[60] = vk::kOemPeriod;
    keys[61] = vk::kOem2;
    return keys;
}

constexpr auto kPositionalKeys = buildPositionalKeys();

// Digits and punctuation of a US keyboard by character, shifted or not, for events that
// carry no scan code.
constexpr KeyToVk kCharacterKeys[] = {
    {'!', '1'}, {'@', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'},
    {'^', '6'}, {'&', '7'}, {'*', '8'}, {'(', '9'}, {')', '0'},
    {'-', vk::kOemMinus}, {'_', vk::kOemMinus}, {'=', vk::kOemPlus}, {'+', vk::kOemPlus},
    {'[', vk::kOem4}, {'{', vk::kOem4}, {']', vk::kOem6}, {'}', vk::kOem6},
    {';', vk::kOem1}, {':', vk::kOem1}, {'\'', vk::kOem7}, {'"', vk::kOem7},
    {'`', vk::kOem3}, {'~', vk::kOem3}, {'\\', vk::kOem5}, {'|', vk::kOem5},
    {',', vk::kOemComma}, {'<', vk::kOemComma}, {'.', vk::kOemPeriod}, {'>', vk::kOemPeriod},
    {'/', vk::kOem2}, {'?', vk::kOem2},
};

template <std::size_t N>
unsigned find(const KeyToVk (&table)[N], int key) {
    for (const KeyToVk& e : table) {
        if (e.key == key) return e.virtualKey;
    }
    return 0;
}

unsigned virtualKeyOf(const KeyEventIdentity& e) {
    if (e.qtKey == qt_key::kMeta) {
        // Meta stands for a Windows key on most X11 and Wayland setups; its keysym tells the side.
        constexpr std::uint32_t kMetaR = 0xFFE8, kSuperR = 0xFFEC;
        return e.keysym == kMetaR || e.keysym == kSuperR ? vk::kRWin : vk::kLWin;
    }
    if (e.qtKey >= qt_key::kF1 && e.qtKey <= qt_key::kF24) {
        return vk::kF1 + static_cast<unsigned>(e.qtKey - qt_key::kF1);
    }
    if (const unsigned v = find(kSpecialKeys, e.qtKey)) return v;
    if (e.keypad) {
        if (e.qtKey >= '0' && e.qtKey <= '9') return vk::kNumpad0 + static_cast<unsigned>(e.qtKey - '0');
        if (e.scanCode == kScanKeypadDecimal) return vk::kDecimal;
        if (e.scanCode == kScanKeypadComma) return vk::kSeparator;
        if (const unsigned v = find(kKeypadKeys, e.qtKey)) return v;
    }
    if (e.qtKey >= 'A' && e.qtKey <= 'Z') return static_cast<unsigned>(e.qtKey);
    if (e.scanCode < kPositionalKeys.size() && kPositionalKeys[e.scanCode] != 0) return kPositionalKeys[e.scanCode];
    if (e.qtKey >= '0' && e.qtKey <= '9') return static_cast<unsigned>(e.qtKey);
    return find(kCharacterKeys, e.qtKey);
}

}  // namespace

std::size_t captureIndexForKeyEvent(const KeyEventIdentity& key) {
    return captureIndexForVirtualKey(virtualKeyOf(key));
}

}  // namespace nivra
