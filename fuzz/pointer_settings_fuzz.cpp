// The pointer settings file (a small text file the user may edit): any bytes read and shown
// without fault, with steps the scales have.
#include "fuzz/fuzz_check.h"
#include "settings/pointer_settings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file in memory, reached by its /proc path: a regular file, no disk traffic.
    static const int fd = ::memfd_create("pointer-settings.ini", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);

    nivra::PointerSettings settings{nivra::PointerStore(path)};
    settings.refresh();
    FUZZ_CHECK(settings.speedStep() >= 0 && settings.speedStep() <= 11);
    FUZZ_CHECK(settings.doubleClickStep() >= 0 && settings.doubleClickStep() <= 11);
    FUZZ_CHECK(settings.wheelStep() >= -1 && settings.wheelStep() <= 11);
    FUZZ_CHECK(settings.wheelBarStep() >= -1 && settings.wheelBarStep() <= 11);
    (void)settings.values();
    return 0;
}
