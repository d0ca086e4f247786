// The refresh from the working copy.
#include "device/image_state.h"

namespace nivra {

void DataBufToUI(ImageState& state, const std::function<void()>& refreshUI) {
    state.led = ledTypeFromByte(state.work.bytes[165]);
    if (refreshUI) refreshUI();
}

}  // namespace nivra
