// Counts the heap allocations of a benchmark program: replaces malloc and its kin in the
// program that includes it (include it from exactly one .cpp), so the allocations of C++
// containers and of Qt's alike are counted, and reports allocations and bytes per
// iteration, and the peak resident set, as benchmark counters. Under AddressSanitizer or
// ThreadSanitizer, which bring their own allocator, nothing is replaced and the
// allocation counters are left out.
#pragma once

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define NIVRA_BENCH_COUNT_ALLOCATIONS 0
#else
#define NIVRA_BENCH_COUNT_ALLOCATIONS 1
#endif

namespace nivra::bench {

inline std::atomic<std::uint64_t> allocationCount{0};
inline std::atomic<std::uint64_t> allocatedBytes{0};

inline void countAllocation(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(size, std::memory_order_relaxed);
}

// The allocations made between construction and report(), divided by the iterations run.
class AllocationScope {
public:
    AllocationScope()
        : count_(allocationCount.load(std::memory_order_relaxed)),
          bytes_(allocatedBytes.load(std::memory_order_relaxed)) {}

    void report(benchmark::State& state) const {
        if (!NIVRA_BENCH_COUNT_ALLOCATIONS) return;
        const double n = static_cast<double>(allocationCount.load(std::memory_order_relaxed) - count_);
        const double b = static_cast<double>(allocatedBytes.load(std::memory_order_relaxed) - bytes_);
        state.counters["allocs/iter"] = benchmark::Counter(n, benchmark::Counter::kAvgIterations);
        state.counters["bytes/iter"] = benchmark::Counter(b, benchmark::Counter::kAvgIterations);
    }

private:
    std::uint64_t count_;
    std::uint64_t bytes_;
};

// Bytes of heap in use now (glibc's count of allocated bytes, mapped blocks included).
inline std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Measures the heap a value holds: construct before making the value, report() after it,
// while the value is still alive. Left out where the sanitizers own the heap.
class HeldHeap {
public:
    HeldHeap() : before_(heapInUse()) {}
    void report(benchmark::State& state, const char* name) const {
        if (!NIVRA_BENCH_COUNT_ALLOCATIONS) return;
        state.counters[name] = static_cast<double>(heapInUse() - before_) / 1024.0;
    }

private:
    std::size_t before_;
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

#if NIVRA_BENCH_COUNT_ALLOCATIONS
// glibc's own allocator under its internal names; every block, counted or not (valloc and
// the like are left alone), comes from it, so one free serves them all.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) noexcept {
    nivra::bench::countAllocation(size);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    nivra::bench::countAllocation(count * size);
    return __libc_calloc(count, size);
}
// A grown or moved block counts as an allocation of its new size.
void* realloc(void* p, std::size_t size) noexcept {
    if (size != 0) nivra::bench::countAllocation(size);
    return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    nivra::bench::countAllocation(size);
    return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
    nivra::bench::countAllocation(size);
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return 22;  // EINVAL
    nivra::bench::countAllocation(size);
    void* p = __libc_memalign(alignment, size);
    if (p == nullptr) return 12;  // ENOMEM
    *out = p;
    return 0;
}
void free(void* p) noexcept { __libc_free(p); }
}
#endif
