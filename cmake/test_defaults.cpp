// Linked into every test program: sanitizer defaults, a headless Qt platform and private
// XDG folders, so a test behaves the same under ctest, run by hand, or from an IDE, and
// never touches the user's own backups, macro library or settings.
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" {
// Leaks are reported (the system libraries' own are suppressed in lsan_suppressions.cpp).
const char* __asan_default_options() { return "detect_leaks=1"; }
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
}

namespace {
struct TestEnvironment {
    std::string root;
    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        std::string templ = (std::filesystem::temp_directory_path() / "nivra-test-XXXXXX").string();
        if (mkdtemp(templ.data()) == nullptr) return;
        root = templ;
        for (const char* name : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const std::string dir = root + "/" + name;
            std::filesystem::create_directory(dir);
            setenv(name, dir.c_str(), 1);
        }
    }
    ~TestEnvironment() {
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
} testEnvironment;
}  // namespace
