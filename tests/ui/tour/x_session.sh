# Sourced by the tour scripts: starts a private headless X screen with the openbox window
# manager, exports DISPLAY, and ends both when the calling script ends. The screen takes the
# first free display number, or X_SESSION_DISPLAY (":74") when set (TOUR_DISPLAY=74 likewise).
x_session_start() {
  local fdfile
  fdfile=$(mktemp)
  # shellcheck disable=SC2086  # no display argument at all when unset
  Xvfb ${X_SESSION_DISPLAY:-${TOUR_DISPLAY:+:$TOUR_DISPLAY}} -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  X_SESSION_XVFB=$!
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  DISPLAY=":$(head -n 1 "$fdfile")"
  rm -f "$fdfile"
  [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY
  openbox >/dev/null 2>&1 &
  X_SESSION_WM=$!
  # The window manager is up once it has claimed the screen.
  for _ in $(seq 50); do
    xdotool search --maxdepth 1 --name '.' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 0.5
  trap x_session_stop EXIT
}

x_session_stop() {
  kill "$X_SESSION_WM" 2>/dev/null || true
  kill "$X_SESSION_XVFB" 2>/dev/null || true
  wait 2>/dev/null || true
}
