// Speed and heap use of the configuration transfers on the simulated mouse and a virtual
// clock: the whole-image read with its distribution and refresh, the profile write-backs,
// the live writes, and a restore of a built-in image with the restart and re-find after it.
// Besides time, each reports the feature reports sent and the time the waits would take.
#include "bench/alloc_counter.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "device/discovery.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"

namespace {

using namespace nivra;

// A directory for backups, removed at the end.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/nivra-bench-XXXXXX";
        if (const char* p = ::mkdtemp(pattern)) path_ = p;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

ModelConfig configWithBackups(const std::filesystem::path& backupDir) {
    ModelConfig c;
    c.backupDirectory = backupDir;
    return c;
}

// The mouse under the program's one MouseSession, connected.
struct Rig {
    explicit Rig(const std::filesystem::path& backupDir = {})
        : session(mouse, clock, configWithBackups(backupDir)),
          state(session.state()),
          transfer(&session.transfer()) {
        session.enterNoDevice();
        session.discovery().StartDevTimer();
        session.discovery().DevTimerTimer();  // finds, identifies and reads the mouse
    }
    bool connected() { return transfer->mouseOpen() && transfer->connectedI2c(); }

    VirtualClock clock;
    SimulatedMouse mouse{clock, builtinImage(1)};
    MouseSession session;
    ImageState& state;
    Transfer* transfer;
};

// Reports per iteration, virtual milliseconds per iteration and heap use, from construction
// to report().
class Meter {
public:
    explicit Meter(Rig& rig) : rig_(rig), reports_(rig.mouse.reportCount()), start_(rig.clock.now()) {}
    void report(benchmark::State& state) const {
        allocs_.report(state);
        state.counters["reports/iter"] = benchmark::Counter(
            static_cast<double>(rig_.mouse.reportCount() - reports_), benchmark::Counter::kAvgIterations);
        state.counters["virtual_ms/iter"] = benchmark::Counter(
            static_cast<double>((rig_.clock.now() - start_).count()), benchmark::Counter::kAvgIterations);
    }

private:
    Rig& rig_;
    std::size_t reports_;
    Clock::Duration start_;
    bench::AllocationScope allocs_;
};

// The whole-image read: the 2048 bytes read, distributed and refreshed. Arg 1 also keeps the backup of
// the connection (one file replaced atomically per read).
void BM_WholeImageRead(benchmark::State& state) {
    TempDir dir;
    Rig rig(state.range(0) == 1 ? dir.path() / "backups" : std::filesystem::path());
    if (!rig.connected()) {
        state.SkipWithError("the simulated mouse did not connect");
        return;
    }
    const Meter meter(rig);
    for (auto _ : state) {
        if (!rig.transfer->readWholeImage()) {
            state.SkipWithError("the read was refused");
            break;
        }
        benchmark::DoNotOptimize(rig.state.work);
    }
    meter.report(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kImageSize));
    state.SetLabel(state.range(0) == 1 ? "with backup" : "no backup");
    bench::reportPeakResident(state);
}
BENCHMARK(BM_WholeImageRead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// CommitProfileSections (arg 0) and CommitProfileAndFireKeySections (arg 1): the profile
// block written, the user section read back, the profile re-selected.
void BM_ProfileWriteBack(benchmark::State& state) {
    Rig rig;
    if (!rig.connected()) {
        state.SkipWithError("the simulated mouse did not connect");
        return;
    }
    const bool withFireKeys = state.range(0) == 1;
    std::uint8_t value = 0;
    const Meter meter(rig);
    for (auto _ : state) {
        rig.state.work.profile(1)[4] = ++value;  // an edit, so each write carries new bytes
        const bool ok = withFireKeys ? rig.transfer->CommitProfileAndFireKeySections()
                                     : rig.transfer->CommitProfileSections();
        if (!ok) {
            state.SkipWithError("the write-back failed");
            break;
        }
    }
    meter.report(state);
    state.SetLabel(withFireKeys ? "profiles and fire keys" : "profiles");
}
BENCHMARK(BM_ProfileWriteBack)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The live writes: one 2-byte field of the user section (arg 0), the whole user section
// (arg 1) and the whole vendor section (arg 2).
void BM_LiveWrite(benchmark::State& state) {
    Rig rig;
    if (!rig.connected()) {
        state.SkipWithError("the simulated mouse did not connect");
        return;
    }
    const Meter meter(rig);
    for (auto _ : state) {
        bool ok = false;
        switch (state.range(0)) {
            case 0: ok = rig.transfer->liveWrite(region::kUser.offset + 2, 2); break;
            case 1: ok = rig.transfer->liveWriteUserSection(); break;
            default: ok = rig.transfer->liveWriteVendorSection(); break;
        }
        if (!ok) {
            state.SkipWithError("the live write failed");
            break;
        }
    }
    meter.report(state);
    static const char* const kLabels[] = {"2-byte field", "user section", "vendor section"};
    state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_LiveWrite)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A restore of built-in image 2: distributed, written whole, the mouse restarted and found
// again, and the whole-image read that follows.
void BM_RestoreBuiltinImage(benchmark::State& state) {
    Rig rig;
    if (!rig.connected()) {
        state.SkipWithError("the simulated mouse did not connect");
        return;
    }
    const std::size_t readsBefore = rig.transfer->readRuns();
    const Meter meter(rig);
    for (auto _ : state) rig.transfer->DefaultParameterConfirm(2);
    meter.report(state);
    if (rig.transfer->readRuns() - readsBefore != static_cast<std::size_t>(state.iterations()))
        state.SkipWithError("a restore was not followed by a whole-image read");
}
BENCHMARK(BM_RestoreBuiltinImage)->Unit(benchmark::kMicrosecond);

}  // namespace
