// The simulated mouse rig with the Advanced page's models on the session's one editor, wired
// as the window wires them.
#pragma once

#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/image_editor.h"
#include "tests/transfer/transfer_rig.h"

#include <cstdio>
#include <string>
#include <vector>

namespace nivra::testing {

// "SET 40 05 00 2D 96 00 00 01": one set-bytes report of up to three bytes.
inline std::string setBytesLine(std::uint8_t offset, std::vector<std::uint8_t> b) {
    const auto count = static_cast<std::uint8_t>(b.size());
    b.resize(3, 0);
    return setLine(protocol::setBytesReport(offset, b[0], b[1], b[2], count));
}

struct AdvancedRig {
    explicit AdvancedRig(const Image& memory = builtinImage(1)) : rig(memory) {
        rig.connect();
        rig.mark();
    }
    Image mouse() const { return rig.mouse.memory(); }

    Rig rig;
    ImageEditor& editor{rig.editor()};
    // The restart and re-find; the whole-image read that ends it announces the new image.
    CpiModel cpi{editor, [this] { rig.transfer->restartAndRefind(); }};
    FireKeyModel fire{editor};
};

// Built-in image 1 with some bytes changed and the check bytes made right again.
inline Image imageWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    Image img = builtinImage(1);
    for (const auto& [at, value] : bytes) img[at] = value;
    for (Region r : {region::kVendor, region::kUser, region::kProfile1, region::kProfile2, region::kProfile3})
        setSectionCheckByte(std::span<std::uint8_t>(img.data() + r.offset, r.length));
    return img;
}

}  // namespace nivra::testing
