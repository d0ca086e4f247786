// The JSON report of `nivractl show --json`, shared by its two sources: an image file
// (cmd_image.cpp) and the whole image read from the mouse (cmd_transfer.cpp).
#pragma once

#include <string>

#include "image/image.h"
#include "image/types.h"

namespace nivractl {

// Distributes `image` as the program does when it arrives from an I2C mouse and prints the
// report on stdout.
void printImageJson(const nivra::Image& image);

// The "cpi", "report_rate" and "fire_keys" members of the report, one per line, each line
// ending in a comma.
std::string advancedJson(const nivra::Image& image);
// The "led" object of the report: type, effect, ZK LED count, enabled effects, the ten
// colours and the Step Delay, decoded with the program's current LED type.
std::string ledJson(const nivra::Image& image, nivra::LedType current);

}  // namespace nivractl
