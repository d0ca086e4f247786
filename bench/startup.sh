#!/usr/bin/env bash
# Start-up benchmark: runs the floor (a bare Qt Widgets window with twenty buttons) and the
# configurator interleaved under Xvfb without a window manager and prints the medians of
# exec-to-first-map time (wall, and the CPU time the process used by then, which other load
# on the machine stretches far less), peak RSS and PSS after SETTLE seconds and idle CPU over IDLE seconds,
# with the configurator's ratios to the floor. A benchmark: never run by the tests.
#
#   bench/startup.sh [--build DIR] [--app PROGRAM] [--language N] [--runs N] [--settle S] [--idle S]
#                    [--no-idle-mouse]
#
# DIR is a build tree configured with -DNIVRA_BENCH=ON (default build/rel; use an optimised
# build). The configurator runs with the simulated mouse on a temporary memory file, and once
# more per round without any mouse (idle CPU of the presence poll); --no-idle-mouse leaves that
# run out. --app measures another build of the configurator against the same floor; the
# configurator starts in language N (default 1, Simplified Chinese).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/rel app= language=1 runs=10 settle=10 idle=30 nomouse=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --app) app=$2; shift 2 ;;
    --language) language=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --no-idle-mouse) nomouse=0; shift ;;
    *) echo "usage: $0 [--build DIR] [--app PROGRAM] [--language N] [--runs N] [--settle S] [--idle S] [--no-idle-mouse]" >&2
       exit 2 ;;
  esac
done
probe=$build/bench/startup/startup_probe
floor=$build/bench/startup/startup_floor
[ -n "$app" ] || app=$build/app/nivra-configurator
for f in "$probe" "$floor" "$app"; do
  [ -x "$f" ] || { echo "missing $f: build the tree with -DNIVRA_BENCH=ON" >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
# Xvfb picks a free display number and writes it to the pipe.
exec 3<> "$tmp/displayfd"
rm -f "$tmp/displayfd"; mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 3>"$tmp/displayfd" &
xvfb_pid=$!
read -r display < "$tmp/displayfd"
export DISPLAY=:$display
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

run() {  # name, command...
  local name=$1; shift
  local line
  if line=$("$probe" --settle "$settle" --idle "$idle" -- "$@" 2>>"$tmp/stderr.log"); then
    echo "$name $line" >> "$tmp/results"
    echo "  $name $line" >&2
  else
    echo "  $name failed (see below)" >&2; tail -5 "$tmp/stderr.log" >&2
  fi
}

for ((i = 1; i <= runs; ++i)); do
  echo "round $i of $runs" >&2
  run floor "$floor"
  rm -f "$tmp/sim.bin"
  run configurator "$app" --simulate="$tmp/sim.bin" --language "$language"
  if [ "$nomouse" = 1 ] && [ "$idle" != 0 ]; then run configurator-no-mouse "$app" --language "$language"; fi
done

python3 - "$tmp/results" "$runs" "$settle" "$idle" "$language" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, *pairs = line.split()
    values = dict(p.split("=") for p in pairs)
    rows.setdefault(name, []).append({k: float(v) for k, v in values.items()})
def med(name, key):
    vals = [r[key] for r in rows.get(name, [])]
    return statistics.median(vals) if vals else float("nan")
print(f"runs: {sys.argv[2]} interleaved; memory after {sys.argv[3]} s; idle CPU over {sys.argv[4]} s; "
      f"configurator in language {sys.argv[5]}")
print(f"{'program':<24}{'map ms':>9}{'CPU to map ms':>15}{'peak RSS MiB':>14}{'PSS MiB':>10}{'idle CPU %':>12}")
for name in ("floor", "configurator", "configurator-no-mouse"):
    if name not in rows: continue
    print(f"{name:<24}{med(name,'map_ms'):>9.1f}{med(name,'map_cpu_ms'):>15.1f}{med(name,'hwm_kib')/1024:>14.1f}"
          f"{med(name,'pss_kib')/1024:>10.1f}{med(name,'cpu_pct'):>12.3f}")
if "floor" in rows and "configurator" in rows:
    print(f"{'ratio to floor':<24}{med('configurator','map_ms')/med('floor','map_ms'):>8.2f}x"
          f"{med('configurator','map_cpu_ms')/med('floor','map_cpu_ms'):>14.2f}x"
          f"{med('configurator','hwm_kib')/med('floor','hwm_kib'):>13.2f}x"
          f"{med('configurator','pss_kib')/med('floor','pss_kib'):>9.2f}x")
    # On a machine shared with other work the medians move with its load; the fastest run
    # of each is the least disturbed one.
    low = lambda name, key: min(r[key] for r in rows[name])
    print(f"{'fastest runs':<24}{low('floor','map_ms'):>9.1f} / {low('configurator','map_ms'):.1f} ms = "
          f"{low('configurator','map_ms')/low('floor','map_ms'):.2f}x; CPU {low('floor','map_cpu_ms'):.1f} / "
          f"{low('configurator','map_cpu_ms'):.1f} ms = {low('configurator','map_cpu_ms')/low('floor','map_cpu_ms'):.2f}x")
PY
