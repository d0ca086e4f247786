// Macro buttons and the device macros they are bound to: the buttons of profiles 1 and 2
// bound to a device macro are remembered by the macro's name and given the macro's new
// address (or key off) once the area is packed again; and the memory type by which button
// codes, macro keys among them, are named.
#pragma once

#include "device/image_state.h"
#include "image/types.h"
#include "macro/device_area.h"
#include "settings/image_editor.h"

#include <vector>

namespace nivra {

// The memory type the naming of button codes follows: the connected mouse's, else the
// program's own (built-in image 1).
MemoryType namingMemory(const ImageState& state);

// InitKeysParameters: the buttons of the three profiles and the combo key slots bound to a
// device macro, with its name.
std::vector<macro::KeyBinding> InitKeysParameters(const ImageEditor& editor, const macro::DeviceMacros& macros);

// RefreshKeysParameters: each remembered button gets "10" + the current address of the macro
// of its name + "00", or "00000000" when that name is gone. Working copy only (Write::None);
// the caller commits the profile sections and sends the combo key slots that changed.
void RefreshKeysParameters(ImageEditor& editor, const std::vector<macro::KeyBinding>& bindings,
                           const macro::DeviceMacros& macros);

// RefreshMacroAddr: every macro button of profiles 1 and 2 re-pointed by name. Working copy only.
void RefreshMacroAddr(ImageEditor& editor, const macro::DeviceMacros& macros);

}  // namespace nivra
