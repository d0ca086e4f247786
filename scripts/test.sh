#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test with CTest; then builds the threaded tests (link lock, notification thread)
# with ThreadSanitizer and runs them. The builds are the "asan" and "tsan" presets of
# CMakePresets.json.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIVRA_SANITIZE=ON -DNIVRA_WERROR=ON -DNIVRA_BENCH=ON \
    "${launcher[@]}"
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

# ThreadSanitizer: the device tests, whose threads share the link's lock, and the macro
# recorder's poller thread.
tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIVRA_TSAN=ON -DNIVRA_WERROR=ON -DNIVRA_BENCH=OFF \
    "${launcher[@]}"
cmake --build "$tsan" --target test_device test_macro_record
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/device/test_device" \
    --gtest_filter='Notification*:Link*:Discovery*'
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/macro_record/test_macro_record" \
    --gtest_filter='RecordingPoller*'
