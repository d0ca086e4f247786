# Sourced by the tour scripts: starts a private headless X screen with the openbox window
# manager, exports DISPLAY, and ends both when the calling script ends.
# TOUR_DISPLAY=N takes display :N instead of the first free one (for a machine whose users
# keep to their own displays).
x_session_start() {
  local fdfile
  fdfile=$(mktemp)
  if [ -n "${TOUR_DISPLAY:-}" ]; then
    Xvfb ":$TOUR_DISPLAY" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$TOUR_DISPLAY" ] && break; sleep 0.1; done
    echo "$TOUR_DISPLAY" >"$fdfile"
  else
    Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  fi
  X_SESSION_XVFB=$!
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
