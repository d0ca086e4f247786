// Speed of the device link on the simulated mouse: whole-image transfers, the presence
// poll's counting, and measuring report descriptors.
#include <benchmark/benchmark.h>

#include <memory>

#include "device/discovery.h"
#include "device/link.h"
#include "device/report_descriptor.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"

namespace {

using namespace nivra;

struct Rig {
    VirtualClock clock;
    SimulatedMouse mouse{clock, builtinImage(1)};
    Link link;
    Rig() {
        std::shared_ptr<HidHandle> h = mouse.open(SimulatedMouse::kVendorPath);
        link.setHandles(h, h);
    }
};

void BM_WholeImageRead(benchmark::State& state) {
    Rig rig;
    Image image{};
    for (auto _ : state) {
        rig.link.ReadBlock(0, 2048, image);
        benchmark::DoNotOptimize(image);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_WholeImageRead);

void BM_WholeImageWrite(benchmark::State& state) {
    Rig rig;
    const Image image = builtinImage(2);
    for (auto _ : state) rig.link.WriteBlock(0, 2048, image);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_WholeImageWrite);

void BM_PollTickWithoutChange(benchmark::State& state) {
    Rig rig;
    for (int i = 0; i < 20; ++i) rig.mouse.addOtherDevice(0x046D, static_cast<std::uint16_t>(0xC000 + i));
    DeviceEvents quiet;
    Discovery discovery(rig.mouse, rig.clock, rig.link, DiscoveryConfig::fromBuiltinImage(builtinImage(1)), quiet);
    discovery.DevTimerTimer();   // the first tick connects; the measured ones only count
    for (auto _ : state) discovery.DevTimerTimer();
}
BENCHMARK(BM_PollTickWithoutChange);

void BM_MeasureDescriptor(benchmark::State& state) {
    const auto d = SimulatedMouse::pointerDescriptor();
    for (auto _ : state) benchmark::DoNotOptimize(measureReportDescriptor(d));
}
BENCHMARK(BM_MeasureDescriptor);

}  // namespace
