// The running application follows each pointer change that reached the desktop at once:
// its own double-click interval and wheel lines.
#pragma once

#include "settings/pointer_settings.h"

namespace nivra::ui {

// Known values only; whole-screen scrolling (-1) has no counterpart in the application's
// hints and leaves its wheel lines as they are.
void applyPointerHints(const PointerValues& values);

}  // namespace nivra::ui
