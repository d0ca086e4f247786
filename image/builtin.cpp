// Access to the built-in images; their bytes are generated from resources/images at build time.
#include "image/builtin.h"

#include <stdexcept>

namespace nivra {

namespace detail {
extern const Image kBuiltinImages[3];
}

const Image& builtinImage(int n) {
    if (n < 1 || n > kBuiltinImageCount) throw std::out_of_range("built-in image number must be 1..3");
    return detail::kBuiltinImages[n - 1];
}

std::string builtinImageName(int n) {
    if (n < 1 || n > kBuiltinImageCount) return {};
    return "NivraData_Cfg" + std::to_string(n);
}

DeviceIdentity builtinIdentity() {
    const Image& first = builtinImage(1);
    DeviceIdentity id;
    id.vid = static_cast<std::uint16_t>(first[0] << 8 | first[1]);
    id.pid = static_cast<std::uint16_t>(first[2] << 8 | first[3]);
    id.manufacturerId = first[484];
    id.productId = first[485];
    id.systemMemory = memoryTypeFromMarker(first[kMemoryMarkerOffset]);
    return id;
}

}  // namespace nivra
