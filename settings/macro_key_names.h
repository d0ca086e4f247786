// Keeps buttons bound to device macros pointing at their macros when the device macro area
// is packed again (a macro deleted): note the bindings by macro name before, re-point them
// by name after.
#pragma once

#include "device/image_state.h"
#include "image/types.h"
#include "image/working_copy.h"

#include <array>
#include <optional>
#include <string>

namespace nivra {

class ImageEditor;

// For every button of the three profiles: the name of the device macro it is bound to, or
// nothing when it is not bound to a present device macro.
struct NotedMacroKeys {
    std::array<std::array<std::optional<std::string>, 12>, 3> names;  // [profile - 1][key - 1]
    bool any() const;
};

// The memory type the naming of macro keys follows: the connected mouse's, else the
// program's own (built-in image 1).
MemoryType namingMemory(const ImageState& state);

// Before the deletion: notes, for each button bound to a device macro (a base-macro key
// whose address is the body of a present macro), that macro's name. Only base-macro keys
// count: a keyboard key that happens to share a macro's name is not a binding.
NotedMacroKeys InitKeysParameters(const WorkingCopy& work, MemoryType memory);

// After the macro area was packed again (the working copy already holds the new area):
// each noted button gets "10" + the new body address of the first present macro of that
// name + "00", or "00000000" when no macro has that name any more. The working copy is
// written; then CommitProfileSections runs (when anything was noted). The caller writes the macro
// area itself. False when the editor refused the edit (busy).
bool RefreshKeysParameters(ImageEditor& editor, const NotedMacroKeys& noted, MemoryType memory);

}  // namespace nivra
