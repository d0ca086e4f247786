// Linked into the test programs, and into the programs of a sanitizer build: leaks are
// reported, except those of the system libraries Qt loads (fontconfig keeps its caches for
// the life of the process; the D-Bus and GLib connections of the tray and the desktop
// settings are let go at exit, not freed).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libglib-2.0.so\n";
}
