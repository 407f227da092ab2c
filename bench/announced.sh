#!/usr/bin/env bash
# Memory and shared objects of the native program before and after its first
# announcement, on a virtual display of its own:
#
#   bench/announced.sh speech-dispatcher|espeak-ng|wav|floor ANNOUNCE_AT
#
# starts the program from a fresh folder in a time zone where 12:34 (spoken by
# default) begins at epoch second ANNOUNCE_AT, and reads /proc/PID 5 s after
# the start and 60 s after ANNOUNCE_AT. The phrase goes to a speech-dispatcher
# the program starts in its runtime folder (speech-dispatcher; the daemon
# speaks through its dummy module, as no other reaches a sound device here),
# to espeak-ng through SDL's dummy driver with that daemon not allowed to
# start (espeak-ng), or 12:34 plays a one-second WAV file instead (wav); floor
# runs Qt's floor (QUORVEL_NATIVE_PROGRAM) on the same timeline. Several run at
# once, each on its own display, so that all bear the same load. Prints
# "name value" lines:
#   rss_start_mb, objects_start - VmRSS and shared objects mapped after 5 s
#   rss_announced_mb, objects_announced - the same a minute after 12:34
#   loaded_as_expected - 1 when the maps show the modules the case needs and
#       not the ones it must not load (always 1 for the floor)
set -euo pipefail
cd "$(dirname "$0")/.."
case_name=${1:?speech-dispatcher, espeak-ng, wav or floor}
announce_at=${2:?the epoch second 12:34 begins at}
settle=5
source bench/session.sh

# The daemon reads the user's configuration from the folder, not from this
# machine's user; the wav case's 12:34 plays a file beside the program.
setup_work_folder() {
  local folder=$1
  mkdir -p "$folder/config/speech-dispatcher"
  export XDG_CONFIG_HOME=$folder/config
  case $case_name in
    # Without a sound card the daemon's default setup aborts; with ALSA's null
    # device it starts the only module that then works, its dummy one. The
    # program's side is the same whatever module speaks.
    speech-dispatcher)
      printf 'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n' \
        >"$folder/config/speech-dispatcher/speechd.conf"
      ;;
    espeak-ng) echo "DisableAutoSpawn" >"$folder/config/speech-dispatcher/speechd.conf" ;;
    wav)
      python3 bench/tone_wav.py "$folder/tone.wav"
      printf 'SpeakSayAscending: 0\r\nSFXSayAscending: %s\r\n' "$folder/tone.wav" \
        >"$folder/quorvel.ini"
      ;;
  esac
}

# "<VmRSS in MB> <distinct shared objects mapped>"
sample() {
  awk '/^VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status"
  echo " $(awk '$6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)"
}

mapped() { grep -q "$1" "/proc/$pid/maps"; }

# What each case must have loaded, and must not have.
loaded_as_expected() {
  case $case_name in
    speech-dispatcher) mapped libspeechd && ! mapped libSDL2 && ! mapped libespeak-ng ;;
    espeak-ng) mapped libespeak-ng && mapped libSDL2 ;;
    wav) mapped libSDL2 && ! mapped libspeechd && ! mapped libespeak-ng ;;
    floor) true ;;
  esac
}

if [[ "$case_name" == floor ]]; then
  : "${QUORVEL_NATIVE_PROGRAM:?names the floor program}"
fi
prepare_program native
trap end_session EXIT
start_virtual_display
export TZ=$(zone_with_12_34_at "$announce_at")
launch_program native
pid=$PROGRAM_PID
sleep "$settle"
read -r rss objects < <(sample)
echo "rss_start_mb $rss"
echo "objects_start $objects"
sleep $((announce_at + 60 - $(date +%s)))
read -r rss objects < <(sample)
echo "rss_announced_mb $rss"
echo "objects_announced $objects"
if loaded_as_expected; then echo "loaded_as_expected 1"; else echo "loaded_as_expected 0"; fi
