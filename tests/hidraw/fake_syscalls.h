// The control of the interposed C library calls of the hidraw test bed (fake_syscalls.cpp).
#pragma once

extern "C" {

// Answers poll() on hidraw node `node` (the N of /dev/hidrawN): sets *revents and returns
// as poll() does (1 ready, 0 timed out, -1 with errno).
using NivraPollHook = int (*)(int node, short* revents, int timeoutMs);

// Sets the hook of this process; nullptr leaves poll() to the system.
void nivra_fake_set_poll_hook(NivraPollHook hook);
}
