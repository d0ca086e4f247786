#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test with CTest; then builds every test program with ThreadSanitizer and runs the
# whole suite again under it (cmake/tsan_suppressions.txt); then builds the libFuzzer targets
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

# ThreadSanitizer: the whole suite, since threads run beside the UI thread in many places (the
# link's lock, the notification thread, the recorder's poller, the picture decoder, the font
# warm-up, a live session during edits). Races inside Qt and the system libraries, which are
# not built with ThreadSanitizer, are suppressed there; a race with a frame of ours fails.
step "ThreadSanitizer build and tests"
tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIVRA_TSAN=ON -DNIVRA_WERROR=ON -DNIVRA_BENCH=OFF \
    "${launcher[@]}"
cmake --build "$tsan"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/cmake/tsan_suppressions.txt" \
    ctest --test-dir "$tsan" --output-on-failure -j"$jobs"

# libFuzzer: every reader of bytes from outside, run over the committed seeds (the same
# inputs each time; scripts/fuzz.sh mutates them for as long as asked).
step "libFuzzer targets"
fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DNIVRA_FUZZ=ON \
    -DNIVRA_TESTS=OFF -DNIVRA_BENCH=OFF "${launcher[@]}"
cmake --build "$fuzz" --target fuzz_all
ctest --test-dir "$fuzz" --output-on-failure -j"$jobs"
step "done"
