#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset) and runs each for SECONDS (default 300),
# one after the other, on the committed seeds in fuzz/corpus plus what earlier runs found
# (build/fuzz/corpus). Prints each target's executions; a finding stops the run with the
# input saved as build/fuzz/fuzz_NAME-crash-*.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 600 listing image_json
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
shift || true
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DNIVRA_FUZZ=ON \
    -DNIVRA_TESTS=OFF -DNIVRA_BENCH=OFF -DNIVRA_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$fuzz" --target fuzz_all
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" _fuzz.cpp)"); done
fi
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  mkdir -p "$fuzz/corpus/$t"
  echo "== fuzz_$t for ${seconds}s"
  status=0
  "$fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$fuzz/fuzz_$t-" "$fuzz/corpus/$t" "$root/fuzz/corpus/$t" >"$fuzz/fuzz_$t.log" 2>&1 ||
    status=$?
  grep -E "stat::number_of_executed_units|stat::new_units_added|ERROR|SUMMARY|property failed|Test unit written" \
      "$fuzz/fuzz_$t.log" || true
  [ "$status" -eq 0 ] || { echo "fuzz_$t found a fault (log: $fuzz/fuzz_$t.log)"; exit 1; }
done
