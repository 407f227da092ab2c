# Sourced by the scripts that need a display where there is none: Xvfb on the
# first free display number with a private runtime folder, and their end.

XVFB_PID=""
VIRTUAL_RUNTIME_DIR=""

# Starts Xvfb on the first free display number and exports DISPLAY, and
# XDG_RUNTIME_DIR as a new folder only the user may enter: the one a desktop
# session would give its programs, which Qt warns about when there is none.
start_virtual_display() {
  VIRTUAL_RUNTIME_DIR=$(mktemp -d /tmp/quorvel-runtime.XXXXXX)  # mode 0700
  export XDG_RUNTIME_DIR=$VIRTUAL_RUNTIME_DIR
  # Xvfb takes the first free number itself and writes it, with a newline,
  # once it accepts connections.
  local number_file=$VIRTUAL_RUNTIME_DIR/display
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [[ $(wc -l <"$number_file") == 1 ]]; then
      export DISPLAY=":$(tr -d '\n' <"$number_file")"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# A phrase spoken in a runtime folder of our own started a speech-dispatcher
# that listens there and outlives the program: it goes with the folder. One
# busy with its sound device may ignore TERM.
stop_speech_dispatchers_in() {
  local listening="--socket-path $1/"
  pkill -f -- "$listening" 2>/dev/null || true
  for _ in $(seq 20); do
    pgrep -f -- "$listening" >/dev/null || break
    sleep 0.1
  done
  pkill -KILL -f -- "$listening" 2>/dev/null || true
}

end_virtual_display() {
  if [[ -n "$XVFB_PID" ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
  if [[ -n "$VIRTUAL_RUNTIME_DIR" ]]; then
    stop_speech_dispatchers_in "$VIRTUAL_RUNTIME_DIR"
    rm -rf -- "$VIRTUAL_RUNTIME_DIR"
    VIRTUAL_RUNTIME_DIR=""
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
