// The connected mouse for commands outside cmd_transfer.cpp: the program's session, once it
// found, identified and read the mouse of the global options.
#pragma once

#include "settings/mouse_session.h"
#include "tools/nivractl/command.h"

#include <functional>
#include <string>

namespace nivractl {

// Runs `body` on a connected session (exit 1 with a message when no usable mouse answers);
// the simulated memory is saved back afterwards.
int withConnectedMouse(const Invocation& inv, const std::function<int(nivra::MouseSession&)>& body);

// Why the mouse could not be opened: when it is present but this user may not open its node
// (EACCES), exactly that and how to fix it (the package or the udev rule, then replug);
// otherwise `notFound`.
std::string mouseNotOpenedReason(nivra::Discovery& discovery, const std::string& notFound);

}  // namespace nivractl
