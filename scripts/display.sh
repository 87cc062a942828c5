# Sourced: gives the caller a private X display (Xvfb) for Wine's windows, ended on exit.
start_display() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    morlo_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    trap stop_display EXIT
    # One Wine server for the whole run: a program that starts while the last one's server is
    # shutting down has its connection reset.
    [ ! -d "${WINEPREFIX:-}" ] || wineserver -p >/dev/null 2>&1 || true
    return 0
  done
  echo "no free X display number" >&2
  return 1
}

stop_display() {
  # The Wine server of this display goes first, so the next run starts a fresh one.
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${morlo_xvfb_pid:-}" ] && kill "$morlo_xvfb_pid" 2>/dev/null || true
  morlo_xvfb_pid=
}
