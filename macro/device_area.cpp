#include "macro/device_area.h"

#include "image/code_texts.h"

#include <algorithm>

namespace nivra::macro {

namespace {

constexpr std::uint8_t kMacroKeyType = 0x10;

bool present(std::span<const std::uint8_t> area, std::size_t pos) {
    // A record needs its name and at least the end marker inside the area.
    if (pos + kNameSize + 1 > area.size()) return false;
    const std::uint8_t a = area[pos];
    const std::uint8_t b = area[pos + 1];
    return !(a == 0x00 && b == 0x00) && a != 0xFF && b != 0xFF;
}

// The address a button's (profile 1..3) or combo key slot's (profile 0) code points at,
// when it is a macro code.
std::optional<std::uint16_t> macroAddressOf(std::span<const std::uint8_t> image, int profile, int key) {
    const std::size_t at = profile == 0 ? comboKeyOffset(key) : buttonCodeOffset(profile, key);
    if (at + 4 > image.size() || image[at] != kMacroKeyType) return std::nullopt;
    return static_cast<std::uint16_t>(image[at + 1] << 8 | image[at + 2]);
}

}  // namespace

std::array<std::uint8_t, 4> macroKeyCode(std::uint16_t address) {
    return {kMacroKeyType, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0x00};
}

void DeviceMacros::ReadAndRefreshMacro3740(std::span<const std::uint8_t, kAreaSize> area) {
    slots_ = {};
    std::size_t pos = 0;
    for (DeviceSlot& s : slots_) {
        if (!present(area, pos)) break;
        const auto code = std::span<const std::uint8_t>(area).subspan(pos + kNameSize);
        const std::optional<std::size_t> len = scanMacroLength(code);
        if (!len) break;
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(pos), kNameSize, s.name.begin());
        const std::vector<std::uint8_t> body = terminatedCode(code, *len);
        std::copy(body.begin(), body.end(), s.code.begin());
        s.length = kNameSize + *len;
        pos += s.length;
        // A byte that is no opcode ended this macro early: where the next record starts is
        // unknown, so none is read after it.
        if (code[*len - 1] != op::kEnd) break;
    }
    RefreshMacro3740();
}

void DeviceMacros::RefreshMacro3740() {
    area_.fill(0);
    std::size_t pos = 0;
    for (DeviceSlot& s : slots_) {
        if (s.length == 0) continue;
        // Only whole records go in: the area never overflows, whatever the slots hold.
        if (pos + s.length > kAreaSize) {
            s = {};
            continue;
        }
        std::copy(s.name.begin(), s.name.end(), area_.begin() + static_cast<std::ptrdiff_t>(pos));
        std::copy_n(s.code.begin(), s.length - kNameSize, area_.begin() + static_cast<std::ptrdiff_t>(pos + kNameSize));
        s.address = static_cast<std::uint16_t>(kFirstAddress + pos);
        pos += s.length;
    }
    // Present slots stay first: the records that followed an emptied slot move down.
    std::stable_partition(slots_.begin(), slots_.end(), [](const DeviceSlot& s) { return s.length > 0; });
    for (DeviceSlot& s : slots_)
        if (s.length == 0) s = {};
    slots_[0].address = kFirstAddress;
    total_ = pos;
}

std::size_t DeviceMacros::CheckMacroLen3740() const {
    std::size_t sum = 0;
    for (const DeviceSlot& s : slots_) sum += s.length;
    return sum;
}

std::vector<std::string> DeviceMacros::RefreshMacroName3740() const {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count(); ++k) names.push_back(name(k));
    return names;
}

AddResult DeviceMacros::add(const NameBytes& name, std::span<const std::uint8_t, kSlotSize> code) {
    for (const DeviceSlot& s : slots_)
        if (s.name == name) return AddResult::Exists;
    const std::size_t n = count();
    if (n >= kDeviceSlots) return AddResult::Full;
    if (!nameFitsDeviceArea(name)) return AddResult::BadName;
    const std::size_t len = scanMacroLength(code).value_or(0);
    DeviceSlot s;
    s.name = name;
    if (len > 0) {
        const std::vector<std::uint8_t> body = terminatedCode(code, len);
        std::copy(body.begin(), body.end(), s.code.begin());
    }
    s.length = kNameSize + std::max<std::size_t>(len, 1);  // an unterminated slot: the end marker alone
    if (CheckMacroLen3740() + s.length > kAreaSize) return AddResult::TooLong;
    slots_[n] = s;
    RefreshMacro3740();
    return AddResult::Added;
}

bool DeviceMacros::remove(std::size_t k) {
    if (k >= kDeviceSlots || slots_[k].length == 0) return false;
    slots_[k] = {};
    RefreshMacro3740();
    return true;
}

void DeviceMacros::clear() {
    slots_ = {};
    RefreshMacro3740();
}

std::size_t DeviceMacros::count() const {
    return static_cast<std::size_t>(std::count_if(slots_.begin(), slots_.end(), [](const DeviceSlot& s) { return s.length > 0; }));
}

std::size_t DeviceMacros::macroLength(std::size_t k) const {
    if (k >= kDeviceSlots || slots_[k].length == 0) return 0;
    return slots_[k].length - kNameSize;
}

std::span<const std::uint8_t> DeviceMacros::code(std::size_t k) const {
    if (k >= kDeviceSlots) return {};
    return std::span<const std::uint8_t>(slots_[k].code).first(macroLength(k));
}

std::string DeviceMacros::name(std::size_t k) const {
    if (k >= kDeviceSlots || slots_[k].length == 0) return {};
    return nameText(slots_[k].name);
}

std::optional<std::size_t> DeviceMacros::indexOfAddress(std::uint16_t address) const {
    for (std::size_t k = 0; k < kDeviceSlots; ++k)
        if (slots_[k].length > 0 && slots_[k].address == address) return k;
    return std::nullopt;
}

std::optional<std::size_t> DeviceMacros::indexOfName(const NameBytes& name) const {
    for (std::size_t k = 0; k < kDeviceSlots; ++k)
        if (slots_[k].length > 0 && slots_[k].name == name) return k;
    return std::nullopt;
}

std::vector<ButtonCodeChange> RefreshMacroAddr(std::span<const std::uint8_t> image, const DeviceMacros& macros) {
    std::vector<ButtonCodeChange> out;
    for (int p = 1; p <= 2; ++p) {
        for (int key = 1; key <= static_cast<int>(kKeysPerProfile); ++key) {
            const auto address = macroAddressOf(image, p, key);
            if (!address) continue;
            const auto k = macros.indexOfAddress(*address);
            if (!k) continue;
            const auto j = macros.indexOfName(macros.slot(*k).name);
            out.push_back({p, key, macroKeyCode(macros.slot(*j).address)});
        }
    }
    return out;
}

std::vector<KeyBinding> InitKeysParameters(std::span<const std::uint8_t> image, const DeviceMacros& macros) {
    std::vector<KeyBinding> out;
    auto bind = [&](int p, int key) {
        const auto address = macroAddressOf(image, p, key);
        if (!address) return;
        if (const auto k = macros.indexOfAddress(*address)) out.push_back({p, key, macros.slot(*k).name});
    };
    for (int p = 1; p <= 3; ++p)
        for (int key = 1; key <= static_cast<int>(kKeysPerProfile); ++key) bind(p, key);
    for (int n = 1; n <= static_cast<int>(kComboKeyCount); ++n) bind(0, n);
    return out;
}

std::vector<ButtonCodeChange> RefreshKeysParameters(const std::vector<KeyBinding>& bindings, const DeviceMacros& macros) {
    std::vector<ButtonCodeChange> out;
    for (const KeyBinding& b : bindings) {
        const auto k = macros.indexOfName(b.name);
        out.push_back({b.profile, b.key, k ? macroKeyCode(macros.slot(*k).address) : std::array<std::uint8_t, 4>{}});
    }
    return out;
}

}  // namespace nivra::macro
