// The lowest layer of the hidraw test bed that umockdev does not emulate, interposed on the
// C library for every program of a test run (preloaded in front of umockdev's library):
// - open() of a hidraw node named in NIVRA_FAKE_DENY (blank-separated, e.g. "/dev/hidraw2")
//   fails with EACCES, as for a user without the udev rule (the tests run as root, who may
//   open anything);
// - poll() on one hidraw node asks the bed whether an input report is waiting, since
//   umockdev answers read() but leaves poll() to the kernel, which knows nothing of it.
#include "tests/hidraw/fake_syscalls.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// 1 + the hidraw number of each open file descriptor, 0 for other files.
std::array<std::atomic<int>, 4096> gNodeOfFd{};
std::atomic<NivraPollHook> gPollHook{nullptr};

// "N" of a path that ends in /dev/hidrawN (umockdev may have put its test bed in front).
int hidrawNumber(const char* path) {
    if (!path) return -1;
    const std::string_view p(path);
    const std::size_t at = p.rfind("/dev/hidraw");
    if (at == std::string_view::npos) return -1;
    const std::string_view digits = p.substr(at + 11);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return -1;
    return std::atoi(std::string(digits).c_str());
}

bool denied(int node) {
    const char* list = std::getenv("NIVRA_FAKE_DENY");
    if (!list || node < 0) return false;
    const std::string want = "/dev/hidraw" + std::to_string(node);
    std::string_view rest(list);
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == want) return true;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return false;
}

template <typename Fn>
Fn next(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

int openCommon(const char* name, const char* path, int flags, mode_t mode) {
    using OpenFn = int (*)(const char*, int, ...);
    const int node = hidrawNumber(path);
    if (denied(node)) {
        errno = EACCES;
        return -1;
    }
    const int fd = next<OpenFn>(name)(path, flags, mode);
    if (fd >= 0 && static_cast<std::size_t>(fd) < gNodeOfFd.size()) gNodeOfFd[fd] = node + 1;
    return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = va_arg(ap, mode_t);
        va_end(ap);
    }
    return openCommon("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = va_arg(ap, mode_t);
        va_end(ap);
    }
    return openCommon("open64", path, flags, mode);
}

int close(int fd) {
    if (fd >= 0 && static_cast<std::size_t>(fd) < gNodeOfFd.size()) gNodeOfFd[fd] = 0;
    return next<int (*)(int)>("close")(fd);
}

int poll(struct pollfd* fds, nfds_t n, int timeout) {
    const NivraPollHook hook = gPollHook.load();
    if (hook && n == 1 && fds[0].fd >= 0 && static_cast<std::size_t>(fds[0].fd) < gNodeOfFd.size()) {
        const int node = gNodeOfFd[fds[0].fd].load() - 1;
        if (node >= 0) {
            fds[0].revents = 0;
            return hook(node, &fds[0].revents, timeout);
        }
    }
    return next<int (*)(struct pollfd*, nfds_t, int)>("poll")(fds, n, timeout);
}

void nivra_fake_set_poll_hook(NivraPollHook hook) { gPollHook = hook; }

}  // extern "C"
