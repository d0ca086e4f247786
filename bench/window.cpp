// The main window: building it with the shipped skin, and a language switch (the press of a
// language button: the layout pass, the pictures and texts of the pages in view), through the
// program's own MouseSession with the simulated mouse. Headless unless the caller chose a
// platform.
#include "bench/alloc_counter.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <string>

#include "settings/mouse_session.h"
#include "ui/desktop.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

using namespace nivra;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_window";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() != nullptr) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    new QApplication(argc, argv);  // kept for the whole run, as Qt wants one
}

// The window over a session with the simulated mouse, as `--simulate` starts it.
struct WindowRig {
    WindowRig() {
        ensureApplication();
        SessionOptions options;
        options.simulate = true;
        std::string error;
        session = MouseSession::open(options, MouseSessionConfig{}, &error);
        if (session) window = std::make_unique<ui::MainWindow>(skin, *session, desktop, nullptr, 1);
    }
    ~WindowRig() {
        window.reset();
        if (session) session->close();
    }

    ui::TableSkin skin;
    ui::QtDesktop desktop;
    std::unique_ptr<MouseSession> session;
    std::unique_ptr<ui::MainWindow> window;
};

// Building the window (without showing it): what start-up spends in the program's own code.
void BM_BuildWindow(benchmark::State& state) {
    for (auto _ : state) {
        WindowRig rig;
        if (!rig.window) {
            state.SkipWithError("the session did not open");
            break;
        }
        benchmark::DoNotOptimize(rig.window.get());
    }
    bench::reportPeakResident(state);
}
BENCHMARK(BM_BuildWindow)->Unit(benchmark::kMillisecond);

// A language switch on the shown window: each iteration presses the next language's button
// (1 -> 2 -> 3 -> 1 ...) and lets the window paint.
void BM_LanguageSwitch(benchmark::State& state) {
    WindowRig rig;
    if (!rig.window) {
        state.SkipWithError("the session did not open");
        return;
    }
    rig.window->show();
    QApplication::processEvents();
    int language = 1;
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        language = language % 3 + 1;
        rig.window->Btn_LangClick(language);
        rig.window->repaint();
    }
    allocs.report(state);
    bench::reportPeakResident(state);
}
BENCHMARK(BM_LanguageSwitch)->Unit(benchmark::kMillisecond);

}  // namespace
