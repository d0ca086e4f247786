// Button function codes: the 4-byte layout of every code type, the 8-hex-digit code text,
// the codes of the function menu (CodeForMenuFunction) and the names shown on buttons (NameOfCode).
#pragma once

#include "image/types.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nivra {

// Byte 0 of a code. No other value is produced; any other value is named "".
enum class CodeType : std::uint8_t {
    KeyOff = 0x00,
    MouseButton = 0x01,
    KeyboardCombo = 0x02,
    ConsumerKey = 0x03,
    PowerKey = 0x04,
    AimKey = 0x05,
    FireKey = 0x06,
    ProfileKey = 0x07,
    LedSwitchKey = 0x08,
    CpiKey = 0x09,
    AdjustXYKey = 0x0A,
    GunKey = 0x0B,
    ReportRateKey = 0x0C,
    LedModeKey = 0x0E,
    MacroKey = 0x10,
};

// Byte 1 of a MouseButton code.
namespace mouse_button {
inline constexpr std::uint8_t kLeft = 0x01;
inline constexpr std::uint8_t kRight = 0x02;
inline constexpr std::uint8_t kMiddle = 0x04;
inline constexpr std::uint8_t kBackward = 0x08;
inline constexpr std::uint8_t kForward = 0x10;
}  // namespace mouse_button

// Byte 1 of a KeyboardCombo code.
namespace modifier_bit {
inline constexpr std::uint8_t kCtrl = 0x01;
inline constexpr std::uint8_t kShift = 0x02;
inline constexpr std::uint8_t kAlt = 0x04;
inline constexpr std::uint8_t kWin = 0x08;
}  // namespace modifier_bit

// A button function code as stored: byte 0 (the type) at the lowest address.
struct ButtonCode {
    std::array<std::uint8_t, 4> bytes{};

    constexpr std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    constexpr std::uint8_t typeByte() const { return bytes[0]; }
    // Bytes 1 and 2 as one big-endian value (macro address, consumer usage).
    constexpr std::uint16_t word12() const { return static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]); }
    // Bytes 2 and 3 as one big-endian value (fire key interval, profile key offset).
    constexpr std::uint16_t word23() const { return static_cast<std::uint16_t>(bytes[2] << 8 | bytes[3]); }

    friend constexpr bool operator==(const ButtonCode&, const ButtonCode&) = default;
};
static_assert(sizeof(ButtonCode) == 4);

// Fixed code texts used by more than one caller.
inline constexpr std::string_view kKeyOffText = "00000000";
inline constexpr std::string_view kLeftKeyText = "01010000";
inline constexpr std::string_view kFireMacroKeyText = "1006A0FF";
inline constexpr std::string_view kFireMacroKeyAltText = "1070A0FF";  // recognised, never produced
inline constexpr std::string_view kFireMacroOffText = "0B8F0000";

// Code text: eight upper-case hex digits, two per byte, byte 0 first.
std::string codeText(const ButtonCode& code);
// Parses exactly eight hex digits (either case); anything else gives nullopt.
std::optional<ButtonCode> parseCodeText(std::string_view text);
// The four bytes at the start of `bytes` (which must hold at least four).
ButtonCode codeFromBytes(std::span<const std::uint8_t> bytes);
// Writes the four bytes of `code` to the start of `out` (which must hold at least four).
void storeCode(const ButtonCode& code, std::span<std::uint8_t> out);

// One fire key as its editor holds it: repeat count (shots, 2..15 in the editor),
// interval in ms (1..4094) and the "Continue" box.
struct FireKeySetting {
    int count = 2;
    int interval = 60;
    bool continueOn = false;
};

// The FireKey repeat byte: 0x10 + (count - 1), plus 0x80 for Continue. The count is
// held to the 4-bit field so that a stray count never spills into other bits.
std::uint8_t fireRepeatByte(int count, bool continueOn);

// Profile colour choice: 0..9 "Color 1".."Color 10", 10 "Fixed Color".
inline constexpr int kFixedColorChoice = 10;
// Colour code of a choice: choice * 16, 0xF0 for "Fixed Color"; a choice outside
// 0..10 (no selection) counts as "Color 1".
std::uint8_t profileColourCode(int choice);
// The choice a colour code stands for (its high nibble): 0..9 as is, 15 -> 10; other
// nibbles (10..14) name no choice.
std::optional<int> profileColourChoice(std::uint8_t colourCodeByte);

// Inputs of the extended ProfileKey form (engineer profile settings).
struct ExtendedProfileInputs {
    bool returnToZero = false;  // cb_RTZ "Enable": byte 1 bit 0x40
    bool adjustXY = false;      // cb_AXY "Enable": byte 1 bit 0x20
    bool changeColor = false;   // cb_CC "Enable": byte 1 bit 0x10
    std::array<int, 3> colourChoice{};  // cb_Profile1Color..cb_Profile3Color
    unsigned offset = 0;        // edt_OffSet value; above 0xFFF counts as 0xFFF
    bool syncLed = false;       // cb_LEDMode shows the sync LED: colour code 0xF0 for every profile
};

// The extended ProfileKey code that selects profile 0..2.
ButtonCode extendedProfileCode(int profile, const ExtendedProfileInputs& in);

// The six combination-enable bytes of the engineer page (cb_MidCom .. cb_CPIDCom).
struct ComboEnableBytes {
    std::uint8_t middle = 0;
    std::uint8_t backward = 0;
    std::uint8_t forward = 0;
    std::uint8_t cpiLoop = 0;
    std::uint8_t cpiUp = 0;
    std::uint8_t cpiDown = 0;
};

// The combination-enable lists offer "0x00", "0x01", "0x02", "0x04" ... "0x80": item 0
// gives 0x00 and item i (1..8) the single bit 1 << (i - 1). An item outside 0..8 gives 0x00.
std::uint8_t comboEnableByteOfItem(int item);
// The item showing `value`; a value that is not 0 or a single bit shows no item (-1).
int comboEnableItemOfByte(std::uint8_t value);

// Everything CodeForMenuFunction reads besides the menu id.
struct MenuCodeInputs {
    ComboEnableBytes combo;
    int aimLevel = 0;  // 0..11, index into the CPI value list
    std::array<FireKeySetting, 3> fireKeys{};
    MemoryType memory = MemoryType::I2C;  // "Fire Macro Key" exists for "I2C" only
    bool editingComboSlot = false;  // a combo key slot opened the menu
    ExtendedProfileInputs extended;
};

// One leaf of the function menu: its id, its control name and the language id of its name.
struct MenuFunction {
    int id;
    std::string_view control;
    std::string_view nameId;
};
// Every menu function, in the order of the id table.
std::span<const MenuFunction> menuFunctions();

// The code text of a menu entry; id 0 gives "00000000", an unknown id "" (as does
// 1005 "Fire Macro Key" when the memory type is not "I2C").
std::string CodeForMenuFunction(int menuId, const MenuCodeInputs& in);

// Looks up a language id ("Str210") in the active language table; may be empty.
using LanguageLookup = std::function<std::string(std::string_view id)>;

// One entry of the device macro table: where its body begins and its name.
struct DeviceMacroEntry {
    std::uint16_t bodyAddress = 0;
    bool present = false;
    std::string name;
};
inline constexpr std::size_t kDeviceMacroSlots = 15;

// Everything NameOfCode reads besides the code.
struct NameInputs {
    LanguageLookup language;  // empty: id-named codes get "" text but keep their id
    std::array<FireKeySetting, 3> fireKeys{};  // counts and intervals are compared
    // The ten codes of the gun key list file, when the file is present.
    std::optional<std::array<ButtonCode, 10>> gunKeyList;
    std::array<DeviceMacroEntry, kDeviceMacroSlots> deviceMacros{};
    MemoryType memory = MemoryType::I2C;  // macro keys are named for "I2C" only
};

// The name of a code and what the callers apply from it.
struct CodeName {
    std::string id;    // language id of the name; "" when composed or empty
    std::string text;  // the looked-up or composed text; "" when none
    int fireKey = 0;   // 1..3: the fire key that named a FireKey code
    bool fireContinue = false;  // that code's Continue flag (byte 1 bit 7)
    std::optional<int> profileColourChoice;  // direct ProfileKey: 0..10 for its profile's colour control

    bool empty() const { return id.empty() && text.empty(); }
};

// The name shown on a button for a code text. A text that is not eight hex digits has
// no name.
CodeName NameOfCode(std::string_view codeText, const NameInputs& in);
CodeName NameOfCode(const ButtonCode& code, const NameInputs& in);

// The language id and text of a code, for reports such as `nivractl show`.
struct CodeDescription {
    std::string id;
    std::string name;
};
CodeDescription describeCode(std::string_view codeText, const NameInputs& context);

// The naming context an image gives by itself: the three fire keys of its identity and
// fire-key block and the device macro table of its macro area. The caller adds the
// language table and the gun key list.
NameInputs nameInputsFromImage(std::span<const std::uint8_t> image, MemoryType memory);

}  // namespace nivra
