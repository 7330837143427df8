# Sourced: start_xvfb picks a free display number, starts Xvfb there (its screen
# $XVFB_SCREEN, 1280x800x24 unless set) and exports DISPLAY; stop_xvfb ends exactly that
# server by its process id.
start_xvfb() {
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no display could be started" >&2
  return 1
}
stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}
