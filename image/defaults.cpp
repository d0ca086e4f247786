// The default generators of the vendor, user and profile sections, the identity and
// fire-key block and the fire macros.
#include "image/defaults.h"

#include <algorithm>
#include <string>

namespace nivra {

namespace {

void put(std::span<std::uint8_t> out, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

void defaultVendorSection(std::span<std::uint8_t, 164> v, const DefaultInputs& in) {
    put(v, 0, {0x1B, 0xCF, 0x08, 0xB8});
    if (in.memory == MemoryType::I2C) v[4] = 0xBF;

    switch (in.led) {
        case LedType::Sync: put(v, 5, {0x3F, 0x7F, 0xBF}); break;
        case LedType::Nt: put(v, 5, {0x3F, 0x7F, 0xCF}); break;
        case LedType::Rgb:
        case LedType::None: put(v, 5, {0xFF, 0x7F, 0x7F}); break;
    }

    put(v, 8, {0xAF, 0x20, 0x35, 0x29, 0x10, 0x30, 0x1A, 0x00, 0x00, 0x45, 0x02, 0xEF, 0x10, 0xEF, 0x10, 0xEF,
               0x10, 0xFF, 0x10, 0x50, 0x03, 0x01, 0x02, 0x48, 0x96, 0xFA, 0x20, 0x1E, 0x02, 0x01, 0x20, 0x00});

    if (in.package == PackageChoice::ATechLed) put(v, 40, {0x06, 0x87});
    if (in.package == PackageChoice::RgbLed) put(v, 40, {0x10, 0xE0});

    v[42] = in.led == LedType::Sync ? 0x07 : in.led == LedType::Nt ? 0x37 : 0x3F;
    put(v, 43, {0x03, 0x64, 0x98, 0x00, 0x00});

    switch (in.led) {
        case LedType::Sync: put(v, 48, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x01, 0x2C, 0x0A}); break;
        case LedType::Nt: put(v, 48, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x00, 0x64, 0x08}); break;
        case LedType::Rgb:
        case LedType::None: put(v, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08}); break;
    }

    if (in.led != LedType::Sync) {
        put(v, 57, {0xFF, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                    0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
        put(v, 87, {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00,
                    0xFF, 0x00, 0x80, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00, 0xFF});
    }

    constexpr std::string_view kUsbText = "HID Gaming mouse";
    std::copy(kUsbText.begin(), kUsbText.end(), v.begin() + 111);

    std::fill(v.begin() + 127, v.begin() + 163, 0x00);
    put(v, 135, {0x08, 0x01, 0x00, 0x00});  // combo key 3
}

void defaultUserSection(std::span<std::uint8_t, 28> u, LedType led) {
    std::fill(u.begin(), u.begin() + 27, 0x00);
    u[1] = led == LedType::Sync ? 0x41 : led == LedType::Nt ? 0xF5 : 0x05;
    u[2] = 0x01;
    u[3] = 0x01;
}

void defaultProfileSection(std::span<std::uint8_t, 49> p, PackageChoice package) {
    if (package == PackageChoice::None) return;
    for (std::size_t k = 0; k < kDefaultProfileCodes.size(); ++k)
        std::copy(kDefaultProfileCodes[k].begin(), kDefaultProfileCodes[k].end(), p.begin() + 4 * k);
}

void defaultIdentityBlock(std::span<std::uint8_t, 12> id, MemoryType memory) {
    put(id, 0, {0xFF, 0xFF, 0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8});
    if (memory == MemoryType::I2C) id[11] = kI2cMarker;
}

void storeUtf16Name(std::span<std::uint8_t, 16> out, std::u16string_view name) {
    std::fill(out.begin(), out.end(), 0x00);
    std::size_t units = std::min<std::size_t>(name.size(), 8);
    if (units == 8 && name.size() > 8 && name[7] >= 0xD800 && name[7] <= 0xDBFF) units = 7;
    for (std::size_t i = 0; i < units; ++i) {
        out[2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(name[i] & 0xFF);
    }
}

void defaultFireMacros(std::array<FireMacroName, kFireMacroCount>& names,
                       std::array<FireMacroBody, kFireMacroCount>& bodies) {
    for (std::size_t n = 0; n < kFireMacroCount; ++n) {
        const std::string ascii = "Macro" + std::to_string(n + 1);
        const std::u16string name(ascii.begin(), ascii.end());
        storeUtf16Name(names[n], name);
        std::fill(bodies[n].begin(), bodies[n].begin() + 24, 0x00);
    }
}

}  // namespace nivra

namespace nivra {
void defaultWorkingSections(WorkingCopy& work, const DefaultInputs& in) {
    defaultVendorSection(work.vendor(), in);
    setSectionCheckByte(work.vendor());
    defaultUserSection(work.user(), in.led);
    setSectionCheckByte(work.user());
    for (int p = 1; p <= 3; ++p) {
        defaultProfileSection(work.profile(p), in.package);
        setSectionCheckByte(work.profile(p));
    }
    defaultIdentityBlock(work.identity(), in.memory);
}
}  // namespace nivra
