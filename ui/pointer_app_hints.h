// The pointer settings' backend that always acts: the running application's own double-click
// interval and wheel lines.
#pragma once

#include "settings/pointer_settings.h"

namespace nivra::ui {

class AppPointerHints final : public PointerBackend {
public:
    // Known values only; whole-screen scrolling (-1) has no counterpart in the application's
    // hints and leaves its wheel lines as they are.
    void apply(const PointerApply& values) override;
};

}  // namespace nivra::ui
