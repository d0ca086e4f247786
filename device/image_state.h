// What the program holds about its image besides the working copy's bytes: the transfer
// buffer, the LED type and package choice of the last refresh, and the memory types; and
// the refresh (DataBufToUI) that follows every replacement of the working copy.
#pragma once

#include "image/image.h"
#include "image/types.h"
#include "image/working_copy.h"

#include <functional>

namespace nivra {

struct ImageState {
    Image transfer{};
    WorkingCopy work;
    LedType led = LedType::None;             // follows user byte 165 at each refresh
    MemoryType systemMemory = MemoryType::None;  // from built-in image 1, set once at start
    MemoryType deviceMemory = MemoryType::None;  // the connected mouse's; None when none is
    PackageChoice package = PackageChoice::None;  // the package item shown on the engineer page

    DefaultInputs defaultInputs() const { return {deviceMemory, led, package}; }
};

// Takes the LED type from user byte 165, then calls refreshUI (which sets every control
// from the working copy; code texts and names are derived from it there) when given.
void DataBufToUI(ImageState& state, const std::function<void()>& refreshUI = {});

}  // namespace nivra
