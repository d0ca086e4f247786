// Default contents of the image's sections and blocks, rebuilt when a check byte is wrong
// and by the full default restore. The section generators leave the check byte alone.
#pragma once

#include "image/types.h"
#include "image/working_copy.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace nivra {

// Vendor section (164 bytes). Byte 4 is written only for the I2C memory type, bytes 40-41
// only when a package is chosen; colours are left alone for the Sync LED type.
void defaultVendorSection(std::span<std::uint8_t, 164> vendor, const DefaultInputs& in);
// User section (28 bytes).
void defaultUserSection(std::span<std::uint8_t, 28> user, LedType led);
// A profile section (49 bytes): the twelve default codes, the same for all three profiles;
// with no package choice the codes are left as they are.
void defaultProfileSection(std::span<std::uint8_t, 49> profile, PackageChoice package);
// Identity and fire-key block (12 bytes); the memory marker is written only for I2C.
void defaultIdentityBlock(std::span<std::uint8_t, 12> identity, MemoryType memory);
// Fire-macro names "Macro1".."Macro10"; the first 24 bytes of each body cleared.
void defaultFireMacros(std::array<FireMacroName, kFireMacroCount>& names,
                       std::array<FireMacroBody, kFireMacroCount>& bodies);

// The twelve default button codes, in key order.
inline constexpr std::array<std::array<std::uint8_t, 4>, 12> kDefaultProfileCodes{{
    {0x01, 0x01, 0x00, 0x00}, {0x01, 0x08, 0x00, 0x00}, {0x06, 0x12, 0x00, 0x10}, {0x01, 0x02, 0x00, 0x00},
    {0x01, 0x10, 0x00, 0x00}, {0x02, 0x08, 0x07, 0x00}, {0x01, 0x04, 0x00, 0x00}, {0x09, 0x00, 0x00, 0x00},
    {0x08, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00},
}};

// Stores a name as UTF-16 big-endian code units (at most 8), the rest zero. A surrogate
// pair that the 8-unit limit would split is left out whole.
void storeUtf16Name(std::span<std::uint8_t, 16> out, std::u16string_view name);

}  // namespace nivra

namespace nivra {
// The section part of the full default restore: vendor, user and the three profile
// sections from their generators with fresh check bytes, and the identity block default.
void defaultWorkingSections(WorkingCopy& work, const DefaultInputs& in);
}  // namespace nivra
