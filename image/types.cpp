// Memory type, LED type and package choice names and conversions.
#include "image/types.h"

namespace nivra {

std::string_view memoryTypeName(MemoryType type) {
    switch (type) {
        case MemoryType::I2C: return "I2C";
        case MemoryType::Flash: return "Flash";
        case MemoryType::None: break;
    }
    return "";
}

MemoryType memoryTypeFromMarker(std::uint8_t byte495) {
    return byte495 == kI2cMarker ? MemoryType::I2C : MemoryType::Flash;
}

std::string_view ledTypeName(LedType type) {
    switch (type) {
        case LedType::Rgb: return "RGB";
        case LedType::Sync: return "Sync";
        case LedType::Nt: return "NT";
        case LedType::None: break;
    }
    return "";
}

LedType ledTypeFromByte(std::uint8_t byte165) {
    if (byte165 & 0x80) return LedType::Nt;
    return (byte165 & 0x40) ? LedType::Sync : LedType::Rgb;
}

PackageChoice packageChoiceFromItem(int item) {
    if (item == 0) return PackageChoice::ATechLed;
    if (item == 1) return PackageChoice::RgbLed;
    return PackageChoice::None;
}

PackageChoice packageChoiceForLedType(LedType led) {
    switch (led) {
        case LedType::Rgb: return PackageChoice::RgbLed;
        case LedType::Sync:
        case LedType::Nt: return PackageChoice::ATechLed;
        case LedType::None: break;
    }
    return PackageChoice::None;
}

}  // namespace nivra
