// The device macro area (512 bytes from the mouse or a base macro file): parsed and packed
// again without fault; the packed area is a fixed point (parsing it again packs the same
// bytes), holds the records' lengths within 512 bytes, and adding and deleting records keeps
// that so.
#include "fuzz/fuzz_check.h"
#include "macro/device_area.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace nivra::macro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Area area{};
    std::copy_n(data, std::min(size, area.size()), area.begin());
    DeviceMacros macros;
    macros.ReadAndRefreshMacro3740(area);
    FUZZ_CHECK(macros.CheckMacroLen3740() <= kAreaSize);
    FUZZ_CHECK(macros.count() <= kDeviceSlots);
    const Area packed = macros.area();
    DeviceMacros again;
    again.ReadAndRefreshMacro3740(packed);
    FUZZ_CHECK(again.area() == packed);
    FUZZ_CHECK(again.RefreshMacroName3740() == macros.RefreshMacroName3740());
    for (std::size_t k = 0; k < macros.count(); ++k) {
        FUZZ_CHECK(macros.code(k).size() == macros.macroLength(k));
        FUZZ_CHECK(!macros.code(k).empty() && macros.code(k).back() == op::kEnd);
        FUZZ_CHECK(macros.indexOfAddress(macros.slot(k).address).has_value());
    }

    // Bytes past the area: a library record to add (name, then the code slot).
    if (size > kAreaSize + kNameSize) {
        NameBytes name{};
        CodeSlot code{};
        std::copy_n(data + kAreaSize, kNameSize, name.begin());
        std::copy_n(data + kAreaSize + kNameSize, std::min(size - kAreaSize - kNameSize, code.size()), code.begin());
        macros.add(name, code);
        FUZZ_CHECK(macros.CheckMacroLen3740() <= kAreaSize);
    }
    while (macros.count() > 0) {
        FUZZ_CHECK(macros.remove(0));
        FUZZ_CHECK(macros.CheckMacroLen3740() <= kAreaSize);
        DeviceMacros check;
        check.ReadAndRefreshMacro3740(macros.area());
        FUZZ_CHECK(check.area() == macros.area());
    }
    FUZZ_CHECK(std::all_of(macros.area().begin(), macros.area().end(), [](std::uint8_t b) { return b == 0; }));
    return 0;
}
