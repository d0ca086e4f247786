// The simulated mouse rig with the gun page's model and the models it works with on the
// session's one editor, wired as the window wires them; and the report lines of the writes
// a Confirm sends, built from the protocol's report functions.
#pragma once

#include "device/protocol.h"
#include "device/report_trace.h"
#include "settings/button_model.h"
#include "settings/gun_model.h"
#include "settings/lighting.h"
#include "settings/profile_model.h"
#include "tests/advanced/advanced_rig.h"

#include <span>
#include <string>
#include <vector>

namespace nivra::testing {

struct GunRig {
    explicit GunRig(const Image& memory = builtinImage(1)) : rig(memory) {
        rig.connect();
        rig.mark();
    }
    Image mouse() const { return rig.mouse.memory(); }
    const WorkingCopy& work() const { return rig.state.work; }

    Rig rig;
    ImageEditor& editor{rig.editor()};
    ButtonModel buttons{editor};
    ProfileModel profiles{editor, buttons};
    LightingModel lighting{editor};
    GunModel gun{editor, buttons, profiles, lighting};
};

// A block write: the command, then seven bytes a data report.
inline std::vector<std::string> blockWriteLines(std::size_t at, std::span<const std::uint8_t> bytes) {
    std::vector<std::string> out{setLine(protocol::blockCommand(protocol::Command::BlockWrite, static_cast<std::uint16_t>(at),
                                                                static_cast<std::uint16_t>(bytes.size())))};
    for (std::size_t i = 0; i < bytes.size(); i += protocol::kDataBytes) {
        protocol::DataBytes d{};
        for (std::size_t k = 0; k < d.size() && i + k < bytes.size(); ++k) d[k] = bytes[i + k];
        out.push_back(setLine(protocol::dataReport(d)));
    }
    return out;
}

// A get-bytes read answered with `bytes`.
inline std::vector<std::string> getBytesLines(std::size_t at, std::span<const std::uint8_t> bytes) {
    std::vector<std::string> out{setLine(protocol::blockCommand(protocol::Command::GetBytes, static_cast<std::uint16_t>(at),
                                                                static_cast<std::uint16_t>(bytes.size())))};
    for (std::size_t i = 0; i < bytes.size(); i += protocol::kDataBytes) {
        protocol::DataBytes d{};
        for (std::size_t k = 0; k < d.size() && i + k < bytes.size(); ++k) d[k] = bytes[i + k];
        out.push_back(traceLine(TraceKind::Get, protocol::dataReport(d), true));
    }
    return out;
}

// Set-bytes reports of three bytes (fewer for the last) over `bytes` at `at`.
inline std::vector<std::string> chunkedLines(std::size_t at, std::span<const std::uint8_t> bytes) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        out.push_back(setBytesLine(static_cast<std::uint8_t>(at + i),
                                   {bytes.begin() + static_cast<std::ptrdiff_t>(i),
                                    bytes.begin() + static_cast<std::ptrdiff_t>(std::min(i + 3, bytes.size()))}));
    return out;
}

}  // namespace nivra::testing
