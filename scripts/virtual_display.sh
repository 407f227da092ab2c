# Sourced by the scripts that need a display where there is none: Xvfb on the
# first free display number, and its end.

XVFB_PID=""

# Starts Xvfb on the first free display number and exports DISPLAY.
start_virtual_display() {
  local number=90
  while [[ -e /tmp/.X${number}-lock || -e /tmp/.X11-unix/X${number} ]]; do
    number=$((number + 1))
  done
  Xvfb ":${number}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":${number}"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on ${DISPLAY}" >&2
  return 1
}

end_virtual_display() {
  if [[ -n "$XVFB_PID" ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
