#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test with CTest; then builds the threaded tests (link lock, notification thread,
# recorder poller) with ThreadSanitizer and runs them; then builds the libFuzzer targets
# (clang) and runs each over its committed seeds. The builds are the "asan", "tsan" and "fuzz"
# presets of CMakePresets.json; each step prints its start time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

step() { echo "== $1 ($(date -u +%H:%M:%S))"; }

step "AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIVRA_SANITIZE=ON -DNIVRA_WERROR=ON -DNIVRA_BENCH=ON \
    "${launcher[@]}"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j"$jobs"

# ThreadSanitizer: the device tests, whose threads share the link's lock, and the macro
# recorder's poller thread. (The tsan preset builds every test program for a wider run.)
step "ThreadSanitizer build and tests"
tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIVRA_TSAN=ON -DNIVRA_WERROR=ON -DNIVRA_BENCH=OFF \
    "${launcher[@]}"
cmake --build "$tsan" --target test_device test_macro_record
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/device/test_device" \
    --gtest_filter='Notification*:Link*:Discovery*'
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/macro_record/test_macro_record" \
    --gtest_filter='RecordingPoller*'

# libFuzzer: every reader of bytes from outside, run over the committed seeds (the same
# inputs each time; scripts/fuzz.sh mutates them for as long as asked).
step "libFuzzer targets"
fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DNIVRA_FUZZ=ON \
    -DNIVRA_TESTS=OFF -DNIVRA_BENCH=OFF "${launcher[@]}"
cmake --build "$fuzz" --target fuzz_all
ctest --test-dir "$fuzz" --output-on-failure -j"$jobs"
step "done"
