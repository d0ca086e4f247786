// The way into the mouse for the Advanced page's `set` commands: the mouse of the global
// options found, identified and read, an ImageEditor on its working copy, and the restart
// and re-find the report rate needs.
#pragma once

#include "settings/image_editor.h"
#include "tools/nivractl/command.h"

#include <functional>

namespace nivractl {

// `restart` restarts the mouse, finds and reads it again and announces the new image to the
// editor; it returns whether the mouse came back. Exit 1 with a message when no usable
// mouse answers; the simulated memory is saved back afterwards.
using RestartMouse = std::function<bool()>;
int withEditorAndRestart(const Invocation& inv, const std::function<int(nivra::ImageEditor&, const RestartMouse&)>& body);

}  // namespace nivractl
