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

}  // namespace nivra
