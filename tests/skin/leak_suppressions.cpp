// LeakSanitizer suppressions for this test program: fontconfig keeps its caches until the
// process ends, which the leak check at exit would report once a test has used fonts.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
