// The editors' way into the mouse for nivractl's `set` commands: the mouse of the global
// options found, identified and read, with the window's one write path on its image.
#pragma once

#include "settings/image_editor.h"
#include "tools/nivractl/command.h"

#include <functional>

namespace nivractl {

// Runs `body` with an ImageEditor on the connected mouse's working copy (the simulated
// memory is saved back afterwards); exit 1 with a message when no usable mouse answers.
int withImageEditor(const Invocation& inv, const std::function<int(nivra::ImageEditor&)>& body);

}  // namespace nivractl
