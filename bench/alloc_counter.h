// Counts the heap allocations of a benchmark program: replaces the global operator new and
// delete of the program that includes it (include it from exactly one .cpp), and reports
// allocations and bytes per iteration, and the peak resident set, as benchmark counters.
#pragma once

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace nivra::bench {

inline std::atomic<std::uint64_t> allocationCount{0};
inline std::atomic<std::uint64_t> allocatedBytes{0};

inline void* countedAlloc(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

inline void* countedAlignedAlloc(std::size_t size, std::align_val_t align) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    const auto a = static_cast<std::size_t>(align);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = (size + a - 1) / a * a;
    return std::aligned_alloc(a, rounded == 0 ? a : rounded);
}

// The allocations made between construction and report(), divided by the iterations run.
class AllocationScope {
public:
    AllocationScope()
        : count_(allocationCount.load(std::memory_order_relaxed)),
          bytes_(allocatedBytes.load(std::memory_order_relaxed)) {}

    void report(benchmark::State& state) const {
        const double n = static_cast<double>(allocationCount.load(std::memory_order_relaxed) - count_);
        const double b = static_cast<double>(allocatedBytes.load(std::memory_order_relaxed) - bytes_);
        state.counters["allocs/iter"] = benchmark::Counter(n, benchmark::Counter::kAvgIterations);
        state.counters["bytes/iter"] = benchmark::Counter(b, benchmark::Counter::kAvgIterations);
    }

private:
    std::uint64_t count_;
    std::uint64_t bytes_;
};

// The peak resident set of the whole process so far, in KiB.
inline double peakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss);
}

inline void reportPeakResident(benchmark::State& state) {
    state.counters["peak_rss_KiB"] = benchmark::Counter(peakResidentKiB());
}

}  // namespace nivra::bench

// The replacements. Each program is one translation unit plus libraries, so defining them
// here (not inline: the language forbids it for these functions) gives one definition.
void* operator new(std::size_t size) {
    if (void* p = nivra::bench::countedAlloc(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = nivra::bench::countedAlloc(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return nivra::bench::countedAlloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return nivra::bench::countedAlloc(size); }
void* operator new(std::size_t size, std::align_val_t align) {
    if (void* p = nivra::bench::countedAlignedAlloc(size, align)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align) {
    if (void* p = nivra::bench::countedAlignedAlloc(size, align)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return nivra::bench::countedAlignedAlloc(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return nivra::bench::countedAlignedAlloc(size, align);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
