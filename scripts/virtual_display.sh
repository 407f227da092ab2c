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

# Waits up to 30 s for the visible "Quorvel" window of a program started at
# $2 (date +%s.%N), says how long it took, and once the first clock tick has
# replaced "00:00" writes a screenshot of it to $1. Fails when no window came.
screenshot_quorvel_window() {
  local screenshot=$1 started=$2 window="" shown
  for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^Quorvel$' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && break
    sleep 0.05
  done
  if [[ -z "$window" ]]; then
    echo "The Quorvel window did not appear" >&2
    return 1
  fi
  shown=$(date +%s.%N)
  awk -v a="$started" -v b="$shown" 'BEGIN { printf "Window visible %.2f s after start\n", b - a }'
  sleep 2
  mkdir -p "$(dirname "$screenshot")"
  import -window "$window" "$screenshot"
  echo "Screenshot written to $screenshot"
}
