// The device macro area (image bytes 496..1007): up to 15 records of a 16-byte name and the
// macro byte code, packed from the first byte, zero after the last; the address table (the
// memory address of each record's code, which macro buttons carry); adding a library macro
// and deleting one; and the bookkeeping that keeps macro buttons pointing at their macro by
// name while addresses move.
#pragma once

#include "macro/byte_code.h"
#include "macro/macro_name.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nivra::macro {

inline constexpr std::size_t kAreaSize = 512;
inline constexpr std::size_t kAreaOffset = 496;     // image offset of the area
inline constexpr std::size_t kDeviceSlots = 15;
inline constexpr std::uint16_t kFirstAddress = 0x0200;  // memory address of record 0's code
using Area = std::array<std::uint8_t, kAreaSize>;
using CodeSlot = std::array<std::uint8_t, kSlotSize>;

struct DeviceSlot {
    NameBytes name{};
    CodeSlot code{};
    std::size_t length = 0;  // record length: 16 + macro length; 0 for an absent slot
    std::uint16_t address = 0;
};

enum class AddResult { Added, Exists, Full, TooLong, BadName };

class DeviceMacros {
public:
    // ReadAndRefreshMacro3740: parses `area` into the slots (a record is present when its
    // first two bytes are not both 0x00 and neither is 0xFF; the first absent record ends
    // them; a record whose code has no end within its slot and the area ends them too, and
    // one whose code holds a byte that is no opcode is kept up to that byte, which becomes its
    // end marker, and is the last one read), then packs the slots back into area().
    void ReadAndRefreshMacro3740(std::span<const std::uint8_t, kAreaSize> area);
    // RefreshMacro3740: the slots with a length packed back to back into area() (the rest
    // zero); the addresses and the total recomputed.
    void RefreshMacro3740();
    // CheckMacroLen3740: the total of the record lengths.
    std::size_t CheckMacroLen3740() const;
    // RefreshMacroName3740: the names of the present records, in record order.
    std::vector<std::string> RefreshMacroName3740() const;

    // Adds a library macro (name and 256-byte code slot) as the last record. Exists when a
    // slot already holds the same 16 name bytes; Full with 15 records; TooLong (and nothing
    // changed) when the records would exceed 512 bytes; BadName (nothing changed) for a name
    // the area could not keep (nameFitsDeviceArea). A code slot without an end marker is
    // added as an empty macro.
    AddResult add(const NameBytes& name, std::span<const std::uint8_t, kSlotSize> code);
    // Removes record k and packs; false when there is no record k.
    bool remove(std::size_t k);
    // Empties every slot and the area.
    void clear();

    std::size_t count() const;
    const Area& area() const { return area_; }
    const DeviceSlot& slot(std::size_t k) const { return slots_.at(k); }
    // The macro length of record k (record length - 16); 0 for an absent record.
    std::size_t macroLength(std::size_t k) const;
    // Record k's code, end marker included.
    std::span<const std::uint8_t> code(std::size_t k) const;
    std::string name(std::size_t k) const;

    // The present record whose code starts at `address`, and the first record of a name.
    std::optional<std::size_t> indexOfAddress(std::uint16_t address) const;
    std::optional<std::size_t> indexOfName(const NameBytes& name) const;

private:
    std::array<DeviceSlot, kDeviceSlots> slots_{};
    Area area_{};
    std::size_t total_ = 0;
};

// --- Macro buttons --------------------------------------------------------------------------
// Buttons 1..12 of the profiles and the nine combo key slots carry macro codes "10" + address
// + "00". A slot is named profile 0, key = slot 1..9.

struct ButtonCodeChange {
    int profile;  // 1..3, or 0 for a combo key slot
    int key;
    std::array<std::uint8_t, 4> code;
};

// RefreshMacroAddr: every profile 1/2 button whose macro code points at a present record
// gets the address of the first record of that record's name.
std::vector<ButtonCodeChange> RefreshMacroAddr(std::span<const std::uint8_t> image, const DeviceMacros& macros);

// InitKeysParameters: the buttons of the three profiles and the combo key slots bound to a
// device macro, with the name of that macro. Deleting a macro packs the records after it to
// lower addresses, so every place that can hold a macro code must follow its macro by name,
// or it would run whichever macro moved to its old address.
struct KeyBinding {
    int profile;  // 1..3, or 0 for a combo key slot
    int key;
    NameBytes name;
};
std::vector<KeyBinding> InitKeysParameters(std::span<const std::uint8_t> image, const DeviceMacros& macros);

// RefreshKeysParameters: each remembered button gets the current address of the macro of
// its name, or "00000000" (key off) when no record has that name any more.
std::vector<ButtonCodeChange> RefreshKeysParameters(const std::vector<KeyBinding>& bindings,
                                                    const DeviceMacros& macros);

// The macro code of a record address.
std::array<std::uint8_t, 4> macroKeyCode(std::uint16_t address);

}  // namespace nivra::macro
