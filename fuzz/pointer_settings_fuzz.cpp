// The pointer settings file (a small text file the user may edit, which keeps the wheel step
// whole-screen scrolling restores): any bytes read without fault, and the page's steps stay
// on its scales.
#include "fuzz/fuzz_check.h"
#include "settings/pointer_settings.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
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

    const nivra::PointerStore store(path);
    for (const char* section : {nivra::pointer_store::kMouse, nivra::pointer_store::kDesktop})
        (void)store.readSection(QString::fromLatin1(section));
    nivra::PointerSettings settings(store, nullptr);
    settings.refresh();
    FUZZ_CHECK(settings.speedStep() >= 0 && settings.speedStep() <= 11);
    FUZZ_CHECK(settings.doubleClickStep() >= 0 && settings.doubleClickStep() <= 11);
    FUZZ_CHECK(settings.wheelStep() >= -1 && settings.wheelStep() <= 11);
    FUZZ_CHECK(settings.wheelBarStep() >= -1 && settings.wheelBarStep() <= 11);
    (void)settings.values();
    return 0;
}
