#!/usr/bin/env bash
# Checks, under a real window manager (openbox on a headless X screen, pointer driven by
# xdotool), that the frameless window leaves double-clicks to itself and still moves:
# five double-clicks on the page 1 background open the password prompt, and a drag on the
# background moves the window.
#   tests/ui/tour/drag_check.sh [BUILD_DIR]      (default build/dev)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/dev}
app="$build/app/nivra-configurator"
[ -x "$app" ] || { echo "drag_check.sh: build the target nivra-configurator first ($app)" >&2; exit 1; }
# A point of the page 1 background (window coordinates) under no control.
bx=${DRAG_CHECK_X:-600}
by=${DRAG_CHECK_Y:-640}

tmp=$(mktemp -d)
export HOME="$tmp" XDG_STATE_HOME="$tmp/state" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config"
export XDG_RUNTIME_DIR="$tmp/run" TMPDIR="$tmp"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
. "$here/x_session.sh"
x_session_start
"$app" --simulate="$tmp/mouse.bin" --language 3 >"$tmp/app.log" 2>&1 &
app_pid=$!
stop() { kill "$app_pid" 2>/dev/null || true; x_session_stop; rm -rf "$tmp"; }
trap stop EXIT

wid=$(timeout 20 xdotool search --sync --name '^Nivra Gaming Mouse v1.0$' | head -n 1)
[ -n "$wid" ] || { echo "drag_check.sh: the window did not appear" >&2; exit 1; }
sleep 6  # the first presence poll finds the simulated mouse and reads it
position() { xdotool getwindowgeometry --shell "$wid" | sed -n 's/^\([XY]\)=//p' | paste -sd' '; }

fail=0
for _ in 1 2 3 4 5; do
  xdotool mousemove --window "$wid" "$bx" "$by" click --repeat 2 --delay 80 1
  sleep 0.7
done
if prompt=$(timeout 5 xdotool search --sync --name '^Password$' | head -n 1) && [ -n "$prompt" ]; then
  echo "drag_check.sh: five double-clicks opened the password prompt"
  xdotool windowactivate "$prompt" key Escape 2>/dev/null || xdotool key Escape 2>/dev/null || true
  sleep 0.5
else
  echo "drag_check.sh: FAIL: five double-clicks did not open the password prompt" >&2
  fail=1
fi

before=$(position)
xdotool mousemove --window "$wid" "$bx" "$by" mousedown 1
for _ in $(seq 10); do xdotool mousemove_relative -- 12 6; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
after=$(position)
if [ "$before" != "$after" ]; then
  echo "drag_check.sh: a drag moved the window from ($before) to ($after)"
else
  echo "drag_check.sh: FAIL: a drag left the window at ($before)" >&2
  fail=1
fi
exit $fail
