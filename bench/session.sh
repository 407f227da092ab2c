# Sourced by the measuring scripts in bench/: starts either build of the
# program from a fresh folder of its own (first run, default settings) on this
# script's own virtual display, finds its process and ends it again.
#
#   native   build/bench/quorvel (QUORVEL_NATIVE_PROGRAM names another, as
#            for Qt's floor), Qt on X, SDL's dummy sound driver (there is no
#            sound card here)
#   windows  the MinGW build (QUORVEL_EXE, default build/mingw-x86_64/
#            quorvel.exe) under Wine in the prefix build/bench/wineprefix
#
# Set by the functions: PROGRAM_PID (the program's own process), START_MS
# (start to viewable window, from bench/window_wait.cpp), WORK_FOLDER.
source scripts/wine_session.sh
# Only the prefix prepare_program names is ours to end.
unset WINEPREFIX

WINDOW_WAIT="$PWD/build/bench/quorvel_window_wait"
PROGRAM_PID=""
START_MS=""
WORK_FOLDER=""
WORK_FOLDERS=()

# Builds what `kind` needs; QUORVEL_EXE names a ready Windows program instead.
prepare_program() {
  local kind=$1
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target quorvel quorvel_audio_module quorvel_speechd_module \
    quorvel_espeak_module quorvel_qt_idle_baseline quorvel_window_wait >/dev/null
  if [[ "$kind" == windows ]]; then
    if [[ -z "${QUORVEL_EXE:-}" ]]; then
      cmake --preset mingw-x86_64 >/dev/null
      cmake --build --preset mingw-x86_64 --target quorvel -j1 >/dev/null
    fi
    local prefix="$PWD/build/bench/wineprefix"
    if [[ ! -f "$prefix/system.reg" ]]; then
      echo "Making a Wine prefix in $prefix" >&2
      make_wine_prefix "$prefix"
    fi
    export WINEPREFIX="$prefix"
  fi
}

program_file() {
  case $1 in
    native) echo "${QUORVEL_NATIVE_PROGRAM:-build/bench/quorvel}" ;;
    windows) echo "${QUORVEL_EXE:-build/mingw-x86_64/quorvel.exe}" ;;
  esac
}

# A fresh folder holding only a copy of the program: the settings file goes
# beside the program in both builds, so every start is a first run.
new_work_folder() {
  local kind=$1
  WORK_FOLDER=$(mktemp -d /tmp/quorvel-bench-XXXXXX)
  WORK_FOLDERS+=("$WORK_FOLDER")
  if [[ "$kind" == native ]]; then
    cp "$(program_file native)" "$WORK_FOLDER/quorvel"
    # The sound and speech modules, which the program looks for beside itself.
    cp build/bench/quorvel_{audio,speechd,espeak}.so "$WORK_FOLDER/"
    mkdir -m 700 "$WORK_FOLDER/runtime"
    # A script that sets the folder up further (settings, speech-dispatcher's
    # configuration) defines this.
    if declare -F setup_work_folder >/dev/null; then setup_work_folder "$WORK_FOLDER"; fi
  else
    cp "$(program_file windows)" "$WORK_FOLDER/quorvel.exe"
  fi
}

# The Windows program's own process (named after the .exe, in our prefix),
# not the loader's, not wineserver's.
find_wine_program() {
  local candidate
  for candidate in $(pgrep -x quorvel.exe); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$candidate/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

# A time zone (for TZ) whose local time is 12:34, a minute announced by
# default, at the UTC minute beginning at epoch second $1; local and UTC
# minutes begin together. POSIX offsets count west of UTC.
zone_with_12_34_at() {
  local at=$1 east west sign=+
  east=$(( ((12 * 60 + 34 - at / 60 % 1440) % 1440 + 1440) % 1440 ))
  ((east <= 720)) || east=$((east - 1440))
  west=$((-east))
  ((west >= 0)) || { sign=-; west=$((-west)); }
  printf 'QVL%s%02d:%02d' "$sign" $((west / 60)) $((west % 60))
}

# Starts the program from a new work folder and waits for its window.
launch_program() {
  local kind=$1 result
  new_work_folder "$kind"
  if [[ "$kind" == native ]]; then
    result=$(cd "$WORK_FOLDER" && SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb \
      XDG_RUNTIME_DIR="$WORK_FOLDER/runtime" "$WINDOW_WAIT" Quorvel 60 ./quorvel)
  else
    result=$(cd "$WORK_FOLDER" && "$WINDOW_WAIT" Quorvel 60 "$WINE" quorvel.exe)
  fi
  read -r PROGRAM_PID START_MS <<<"$result"
  if [[ "$kind" == windows ]]; then
    PROGRAM_PID=$(find_wine_program) || { echo "quorvel.exe process not found" >&2; return 1; }
  fi
}

# Ends the program and waits until its process is gone.
end_program() {
  [[ -n "$PROGRAM_PID" ]] || return 0
  kill "$PROGRAM_PID" 2>/dev/null || true
  for _ in $(seq 200); do
    [[ -d "/proc/$PROGRAM_PID" ]] || break
    sleep 0.05
  done
  PROGRAM_PID=""
}

# Ends our Wine processes (if any), the display and the work folders.
end_session() {
  end_program
  # A phrase may have started a speech-dispatcher in a native run's folder.
  local folder
  for folder in "${WORK_FOLDERS[@]}"; do stop_speech_dispatchers_in "$folder/runtime"; done
  end_wine_session
  ((${#WORK_FOLDERS[@]} == 0)) || rm -rf "${WORK_FOLDERS[@]}"
  WORK_FOLDERS=()
}
