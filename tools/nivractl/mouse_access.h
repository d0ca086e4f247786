// The connected mouse for commands outside cmd_transfer.cpp: the transfers of a session that
// found, identified and read the mouse of the global options.
#pragma once

#include "device/transfer.h"
#include "tools/nivractl/command.h"

#include <functional>

namespace nivractl {

// Runs `body` on a connected session (exit 1 with a message when no usable mouse answers);
// the simulated memory is saved back afterwards.
int withConnectedMouse(const Invocation& inv, const std::function<int(nivra::Transfer&)>& body);

}  // namespace nivractl
