// The fire macros as listings: building a listing from a 32-byte body, compiling one back
// into the body without ever outgrowing the slot, the lines of the fire insert panel and
// the 480-byte fire macro file. The line grammar is the macro listing's (macro/listing.h).
#pragma once

#include "macro/byte_code.h"
#include "macro/fire_macro.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nivra::macro {

// BuildFireMacroListing: header "00", then one line per instruction that starts before the
// body's length less one. The walk ends at a byte that is no fire opcode and at an
// instruction that leaves the slot no room for the end marker: what follows is treated as
// absent, so the listing always compiles back within the 32-byte slot.
Listing BuildFireMacroListing(std::span<const std::uint8_t, kFireMacroBodySize> body);

// CompileFireMacroListing: the listing's byte code, end marker included, from the start of
// the body, the rest of the body zero. Nothing, and the body untouched, when it would not
// fit in the 32-byte slot.
std::optional<std::size_t> CompileFireMacroListing(const Listing& listing, FireMacroBody& body);

// The compiled length of a listing, end marker included.
std::size_t fireListingLength(const Listing& listing);

// The items of CB_InsertFire, in their order.
enum class FireInsertItem { DelayFront, DelayBack, MoveFront, MoveBack, RepeatStart, RepeatStop };
inline constexpr std::size_t kFireInsertItemCount = 6;

// The texts of the insert panel's edits (Edt_InsertFireDelay, edt_FireXAxisValue,
// edt_FireYAxisValue, edt_FireRepeat) with their defaults.
struct FireInsertTexts {
    std::string delay = "50";
    std::string x = "12";
    std::string y = "10";
    std::string repeat = "12";
};

// The line OK inserts for an item: "0 " + delay (1..65535), "3 04" + the two's-complement
// bytes of X and Y (-128..127 each), "7 FD" + the repeat count (0..255) in hex, "8 FC".
std::string fireInsertLine(FireInsertItem item, const FireInsertTexts& texts);
// True for the items that insert after the selected line.
bool fireInsertAfter(FireInsertItem item);

// edt_FireRepeat: 0..255 (above 255 -> "255", below 0 -> "0", empty -> "0").
std::string ruleFireRepeatText(std::string_view text);

// RefreshFireMacroName's rule: a name is listed unless its first two bytes are both 0x00 or
// both 0xFF. The text of a listed name, "" for one that is not.
bool fireMacroNameListed(const FireMacroName& name);
std::string fireMacroNameText(const FireMacroName& name);

// A body that holds fire instructions only, up to an end marker inside the slot.
bool isFireMacroBody(std::span<const std::uint8_t, kFireMacroBodySize> body);

// The fire macro file: names at 16 i, bodies at 160 + 32 i.
inline constexpr std::size_t kFireMacroFileSize = 480;
struct FireMacroSet {
    std::array<FireMacroName, kFireMacroCount> names{};
    std::array<FireMacroBody, kFireMacroCount> bodies{};
};
std::array<std::uint8_t, kFireMacroFileSize> fireMacroFileBytes(const FireMacroSet& set);
// Nothing for a file that is not 480 bytes long or whose bodies are not all fire macros.
std::optional<FireMacroSet> readFireMacroFile(std::span<const std::uint8_t> file);

}  // namespace nivra::macro
