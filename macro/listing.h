// The macro text lines: building them, reading them back (kind, name, values), the texts the
// list shows for them, the editing operations on a listing (delete with the press/release
// partner, insert with the length limit) and the value rules of the editing dialogs.
#pragma once

#include "macro/byte_code.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nivra::macro {

// Names of the mouse-button opcodes (press 0xA0 + bit, release 0x20 + bit); nothing for
// any other byte.
std::optional<std::string_view> mouseButtonName(std::uint8_t opcode);
// Name of a modifier bit ("Ctrl", "Shift", "Alt", "Left Windows", "Right Windows"); any
// other bit pattern is shown as "Modifier " + its two hex digits.
std::string modifierName(std::uint8_t bit);
// Name of a keyboard usage; a usage without a name is shown as "Key " + its two hex digits.
std::string usageName(std::uint8_t usage);

// Line builders. `code4` is the four CODE digits ("00A1", "8204").
std::string keyLine(bool press, std::string_view name, std::string_view code4);
// A key captured by the key dialog or a recorder: "82"/"02" + usage.
std::string capturedKeyLine(bool press, std::string_view name, std::uint8_t usage);
std::string delayLine(unsigned ms);
std::string moveLine(std::uint8_t x, std::uint8_t y);  // two's-complement bytes
std::string loopStartLine(std::uint8_t count);
std::string loopEndLine();

// The kind digit of a line ('0', '1', '2', '3', '7', '8'); '\0' for an empty line.
char lineKind(std::string_view line);
// The name of a press or release line, taken by position: from the third character up to
// the last ten (" CODE:" and four digits). Empty when the line is too short.
std::string_view lineName(std::string_view line);
// The delay of a "0 " line: a number that cannot be read counts as 0, one above 65535 as 65535.
std::uint16_t delayValueOf(std::string_view line);

// The text LB_macro shows for a line ("LeftKey", "47 ms", "X: -5  Y: 10", "Rep-Start  10",
// "Rep-Stop"). A line that is too short for its kind shows what follows its kind digit.
std::string lineDisplayText(std::string_view line);

// Delete: the result of removing row `row` (line row + 1). Press and release lines take
// their partner with them: the first release of the same name after a press, the nearest
// press of the same name before a release.
struct DeleteResult {
    bool contentError = false;          // no partner: "Macro Content Error", nothing removed
    std::optional<std::size_t> select;  // the row to select afterwards
};
DeleteResult deleteRow(Listing& listing, std::size_t row);

// Insert limit: with L the macro's compiled length (end marker included), a delay, a move
// or a loop start needs L + 3 <= 255, a loop end L + 1 <= 255.
inline constexpr std::size_t kMaxInsertLength = 255;
bool insertFits(std::size_t compiledLength, char kind);

// Value rules of the dialogs and the insert panel, applied to the text of an edit.
// Delay: empty or below 1 -> "1", above 65535 -> "65535".
std::string ruleDelayText(std::string_view text);
// X/Y: a lone "-" stays; empty -> "0"; 128 or more -> "127"; below -128 -> "-128".
std::string ruleAxisText(std::string_view text);
// Repeat count: empty or below 1 -> "1", above 254 -> "254".
std::string ruleRepeatText(std::string_view text);
// Typing filters: digits (and "-" for the axis fields).
bool delayCharAllowed(char c);
bool axisCharAllowed(char c);
// A value text as a number, when it is one (an optional "-" then digits; any length).
std::optional<long long> numberOf(std::string_view text);

}  // namespace nivra::macro
