#include "macro/gun_params.h"

#include "image/fields.h"
#include "macro/fire_macro.h"

namespace nivra::macro {

GunParams readGunParams(std::span<const std::uint8_t, kFireMacroBodySize> body) {
    GunParams p;
    p.length = fireMacroLength(body);
    // The end marker starts at length - 1; an operand may reach into it (a delay of 0 at the
    // end of a body), but never past the slot.
    const std::size_t stop = p.length - 1;
    bool afterMove = false;
    for (std::size_t at = 0; at < stop;) {
        const std::uint8_t op = body[at];
        const std::size_t n = fireInstructionLength(op);
        if (n == 0 || at + n > body.size()) break;
        switch (op) {
            case fire_op::kLoopStart:
                p.countAt = at + 1;
                p.count = body[at + 1];
                break;
            case fire_op::kMove:
                p.moveAt = at + 1;
                p.x = signedByte(body[at + 1]);
                p.y = signedByte(body[at + 2]);
                p.timeAt.reset();
                p.time = 0;
                afterMove = true;
                break;
            case fire_op::kDelay:
                if (afterMove) {
                    p.timeAt = at + 1;
                    p.time = body[at + 1] * 256 + body[at + 2];
                    afterMove = false;
                }
                break;
            default: break;
        }
        at += n;
    }
    return p;
}

}  // namespace nivra::macro
