// The three built-in configuration images NivraData_Cfg1..NivraData_Cfg3 carried inside
// the program: image 1 is the no-device image and gives the device identity at start.
#pragma once

#include "image/image.h"

#include <string>

namespace nivra {

inline constexpr int kBuiltinImageCount = 3;

// Built-in image n (1..3). Throws std::out_of_range for any other n.
const Image& builtinImage(int n);

// "NivraData_Cfg1".."NivraData_Cfg3"; empty for any other n.
std::string builtinImageName(int n);

}  // namespace nivra
