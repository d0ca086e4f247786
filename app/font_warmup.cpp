#include "app/font_warmup.h"

#include <fontconfig/fontconfig.h>

namespace nivra::app {

// FcInit() loads the default configuration once per process; a later call (Qt's) returns at
// once. Had both loaded it at the same time, one of the two would be thrown away, so the
// program waits for this one before it uses a font.
FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() { join(); }

void FontConfigWarmUp::join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace nivra::app
