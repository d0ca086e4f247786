// Linked into every test program: sanitizer defaults and a headless Qt platform, so a
// test behaves the same under ctest, run by hand, or from an IDE.
#include <cstdlib>

extern "C" {
// Leaks are reported, except those of the system libraries Qt loads (fontconfig keeps its
// caches for the life of the process).
const char* __asan_default_options() { return "detect_leaks=1"; }
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libglib-2.0.so\n";
}
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
}

namespace {
struct HeadlessQt {
    HeadlessQt() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }
} headlessQt;
}  // namespace
