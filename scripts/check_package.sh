#!/usr/bin/env bash
# Builds the Debian package of the Linux program in build/package, checks it
# with lintian, installs it, starts the installed program on a virtual display
# and removes the package again (KEEP_PACKAGE=1 keeps it). Debian 12 or 13, as
# root: the package depends on what the release it is built on offers.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/virtual_display.sh  # stop_speech_dispatchers_in
root=$PWD
build=build/package
began=$SECONDS

say() { echo "check_package: $*"; }
fail() {
  echo "check_package: FAILED: $*" >&2
  exit 1
}

[[ $(id -u) == 0 ]] || fail "run as root: it installs packages"

bash scripts/setup.sh package
export DEBIAN_FRONTEND=noninteractive
# Others may be installing at the same time: wait for dpkg's lock, not fail.
apt_get() { apt-get -o DPkg::Lock::Timeout=600 "$@"; }

# --- Build and package ---------------------------------------------------------
# Debian's own hardening flags, as a package built by debhelper would get them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
link_flags=$(dpkg-buildflags --get LDFLAGS)
say "configuring and building a Release build in $build"
mkdir -p "$build"
# The package's prefix, so that the library folder is Debian's multiarch one
# (the sound module's private folder in it needs no ldconfig).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$link_flags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$link_flags" >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; fail "cmake configure"; }
cmake --build "$build" -j2 || fail "build"

rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB) || fail "cpack -G DEB"
debs=("$build"/quorvel_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f "${debs[0]}" ]]; then fail "expected one quorvel_*.deb in $build"; fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[[ "$(basename "$deb")" == "quorvel_${version}_${arch}.deb" ]] || fail "unexpected file name $deb"
say "package $deb"
for field in Package Version Architecture Section Priority Maintainer Installed-Size Depends \
  Recommends; do
  say "  $field: $(dpkg-deb -f "$deb" "$field")"
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in espeak-ng-data libespeak-ng1 libspeechd2 libqt6widgets6 libsdl2-2.0-0 libc6; do
  [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
    fail "Depends lacks $needed"
done
say "ok: Depends names espeak-ng-data and the libraries dpkg-shlibdeps found"
[[ "$(dpkg-deb -f "$deb" Recommends)" == "speech-dispatcher, speech-dispatcher-espeak-ng, qt6-wayland" ]] ||
  fail "Recommends does not name speech-dispatcher, its espeak-ng module and Qt's Wayland platform"
say "ok: Recommends names speech-dispatcher, its espeak-ng module and Qt's Wayland platform"

# Owners and modes as Debian wants them: root, 0755 folders and the program, 0644 the rest.
bad_modes=$(dpkg-deb -c "$deb" | awk '
  { mode = $1; owner = $2; path = $6 }
  owner != "root/root" { print; next }
  mode ~ /^d/ { if (mode != "drwxr-xr-x") print; next }
  path == "./usr/bin/quorvel" { if (mode != "-rwxr-xr-x") print; next }
  mode != "-rw-r--r--" { print }')
[[ -z "$bad_modes" ]] || fail "unexpected owner or mode:
$bad_modes"
say "ok: owners root/root, folders and the program 0755, other files 0644"

lintian_log="$build/lintian.log"
lintian_status=0
lintian --fail-on error --display-info "$deb" >"$lintian_log" 2>&1 || lintian_status=$?
sed 's/^/  lintian: /' "$lintian_log"
if grep -q '^E:' "$lintian_log" || ((lintian_status != 0)); then
  fail "lintian reports errors (exit $lintian_status)"
fi
say "ok: lintian: $(grep -c '^E:' "$lintian_log") errors, $(grep -c '^W:' "$lintian_log") warnings, $(grep -c '^I:' "$lintian_log") notes"

# --- Install, and put everything back on the way out ---------------------------
work=$(mktemp -d /tmp/quorvel-package.XXXXXX)
xvfb_pid=""
program_pid=""
installed=0
finish() {
  local status=$?
  if [[ -n "$program_pid" ]]; then kill "$program_pid" 2>/dev/null || true; fi
  if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  stop_speech_dispatchers_in "$work"  # the alarm check's speech starts one
  rm -rf "$work"
  if ((installed)) && [[ "${KEEP_PACKAGE:-0}" != 1 ]]; then
    if apt_get remove -y -qq quorvel >/dev/null; then
      say "removed the package again"
    else
      say "could not remove the package"
      status=1
    fi
  elif ((installed)); then
    say "kept the package installed (KEEP_PACKAGE=1)"
  fi
  if ((status == 0)); then
    say "all checks passed in $((SECONDS - began)) s"
  else
    say "failed after $((SECONDS - began)) s"
  fi
  exit "$status"
}
trap finish EXIT

# --reinstall: the same version may be installed from an earlier run.
apt_get install -y -qq --reinstall "$root/$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install $deb"; }
installed=1
[[ "$(dpkg-query -W -f='${Status} ${Version}' quorvel)" == "install ok installed $version" ]] ||
  fail "dpkg does not list quorvel $version as installed"
say "ok: apt-get installed quorvel $version"

listed=$(dpkg -L quorvel)
app_id=io.github.quorvel.quorvel
desktop_file=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
expected=(
  /usr/bin/quorvel
  "$desktop_file"
  "$metainfo"
  /usr/share/icons/hicolor/16x16/apps/quorvel.png
  /usr/share/icons/hicolor/32x32/apps/quorvel.png
  /usr/share/icons/hicolor/48x48/apps/quorvel.png
  /usr/share/icons/hicolor/256x256/apps/quorvel.png
  /usr/share/man/man1/quorvel.1.gz
  /usr/share/doc/quorvel/copyright
  /usr/share/doc/quorvel/changelog.gz
)
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$listed" || fail "dpkg -L quorvel lacks $path"
  [[ -f "$path" ]] || fail "$path is not on disk"
done
[[ -x /usr/bin/quorvel ]] || fail "/usr/bin/quorvel is not executable"
say "ok: dpkg -L lists, and the disk has, the program, the .desktop file, the AppStream metadata, four icons, the manual page, copyright and changelog"
desktop-file-validate "$desktop_file" || fail "desktop-file-validate"
say "ok: desktop-file-validate finds nothing in the installed .desktop file"

# What software centres read: any error, warning, note or pedantic remark fails,
# but one. The metadata names its developer in a <developer> block, as
# AppStream 1.0 (Debian 13) asks; AppStream before 1.0 (Debian 12) knows only
# the <developer_name> that 1.0 deprecates, and may say it does not know the
# block, once, and nothing else.
appstream_version=$(appstreamcli --version | sed -n 's/^AppStream version: //p')
appstream_clean() {
  grep -q '^✔ Validation was successful\.$' "$1" && return 0
  dpkg --compare-versions "$appstream_version" lt 1.0 || return 1
  [[ "$(grep -cE '^ *[EWIP]: ' "$1")" == 1 ]] &&
    grep -Eq '^ *I: io\.github\.quorvel\.quorvel:[0-9]+: unknown-tag developer$' "$1" &&
    grep -q '^✔ Validation was successful: infos: 1$' "$1"
}
appstream_log="$build/appstream.log"
appstreamcli validate --no-net --pedantic --explain "$metainfo" >"$appstream_log" 2>&1 ||
  { sed 's/^/  appstreamcli: /' "$appstream_log"; fail "appstreamcli validate"; }
sed 's/^/  appstreamcli: /' "$appstream_log"
appstream_clean "$appstream_log" || fail "appstreamcli reports issues"
say "ok: appstreamcli $appstream_version validate --no-net --pedantic finds nothing in $metainfo$(
  dpkg --compare-versions "$appstream_version" lt 1.0 && echo " but the <developer> block it does not know")"
# The package's own files as a tree: the metadata's .desktop file among them.
dpkg-deb -x "$deb" "$work/tree"
appstreamcli validate-tree --no-net --pedantic "$work/tree" >"$appstream_log" 2>&1 ||
  { sed 's/^/  appstreamcli: /' "$appstream_log"; fail "appstreamcli validate-tree"; }
sed 's/^/  appstreamcli: /' "$appstream_log"
appstream_clean "$appstream_log" || fail "appstreamcli validate-tree reports issues"
screenshot=$(sed -n "s|.*<image>https://raw.githubusercontent.com/quorvel/quorvel/v$version/\(.*\)</image>.*|\1|p" "$metainfo")
[[ -n "$screenshot" && -f "$root/$screenshot" ]] ||
  fail "the metadata's screenshot is no file of this repository under the v$version tag's address"
say "ok: appstreamcli validate-tree finds the package's metadata and .desktop file agree; the screenshot is $screenshot of the release's tag"
for size in 16 32 48 256; do
  [[ "$(identify -format '%wx%h' "/usr/share/icons/hicolor/${size}x${size}/apps/quorvel.png")" == "${size}x${size}" ]] ||
    fail "the ${size}x${size} icon has another size"
done
say "ok: each icon has the size of its folder"

# --- Start the installed program on a virtual display -------------------------
mkdir -p "$work/home" "$work/runtime" "$work/no-data"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  sleep 0.1
done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
DISPLAY=":$(tr -d '\n' <"$work/display")"
export DISPLAY
say "Xvfb on display $DISPLAY"

# A clean environment: nothing of root's own settings is read or written.
start_program() {
  env -i PATH=/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$@" \
    /usr/bin/quorvel >>"$work/program.log" 2>&1 &
  program_pid=$!
  local started
  started=$(date +%s%N)
  window=""
  for _ in $(seq 50); do
    window=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Quorvel$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
  done
  [[ -n "$window" ]] || { cat "$work/program.log"; fail "no visible window named Quorvel within 10 s"; }
  say "ok: a visible window named Quorvel appeared (window $window, after $((($(date +%s%N) - started) / 1000000)) ms)"
}

# The sizes of the images in the window's _NET_WM_ICON, as "16x16 32x32 ...".
icon_sizes() {
  xprop -id "$1" -notype -f _NET_WM_ICON 32c _NET_WM_ICON |
    sed -n 's/^_NET_WM_ICON = //p' | tr ',' '\n' |
    awk '{ v[n++] = $1 } END { for (i = 0; i + 1 < n; i += 2 + v[i] * v[i + 1]) printf "%dx%d ", v[i], v[i + 1] }'
}

# Closes the window as a window manager would: a WM_DELETE_WINDOW message.
close_window() {
  python3 - "$1" <<'EOF'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
if not x.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x.XFlush(display)
x.XCloseDisplay(display)
EOF
  for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end within 5 s of closing its window"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  ((status == 0)) || { cat "$work/program.log"; fail "the program ended with status $status"; }
  say "ok: closing the window ended the program with status 0"
}

settings="$work/home/.config/quorvel/quorvel.ini"
[[ ! -e /usr/bin/quorvel.ini ]] || fail "/usr/bin/quorvel.ini exists before the program ran"
start_program

class=$(xprop -id "$window" -notype WM_CLASS | sed -n 's/^WM_CLASS = //p')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_file")
[[ "$class" == "\"$wm_class\", \"$wm_class\"" ]] || fail "WM_CLASS is $class, the .desktop file says $wm_class"
say "ok: WM_CLASS $class matches StartupWMClass=$wm_class"
sizes=$(icon_sizes "$window")
[[ -n "$sizes" ]] || fail "the window has no icon"
say "ok: the window has an icon: ${sizes% }"
# Sound and speech load with the first sound, not with the window.
if grep -q 'libSDL2\|libespeak-ng\|libspeechd\|quorvel_audio' "/proc/$program_pid/maps"; then
  fail "the sound and speech libraries loaded before anything sounded"
fi
say "ok: no sound or speech library loaded before the first sound"

# A change is saved at once: Tab moves to a check box, space toggles it.
[[ ! -e "$settings" ]] || fail "$settings exists before any change"
xdotool windowfocus --sync "$window" key --delay 100 Tab space
for _ in $(seq 50); do
  [[ -s "$settings" ]] && break
  sleep 0.1
done
[[ -s "$settings" ]] || fail "no $settings within 5 s of toggling a check box"
grep -q '^SayAscending: ' "$settings" || fail "$settings does not look like the settings"
[[ ! -e /usr/bin/quorvel.ini ]] || fail "the program saved /usr/bin/quorvel.ini"
leftovers=$(find /usr/bin -maxdepth 1 -newer "$work/display" -name '*quorvel*' ! -path /usr/bin/quorvel)
[[ -z "$leftovers" ]] || fail "new files beside the program: $leftovers"
say "ok: toggling a check box saved \$HOME/.config/quorvel/quorvel.ini (folder mode $(stat -c %a "$(dirname "$settings")")), nothing beside /usr/bin/quorvel"
close_window "$window"

# Without any icon theme on the data path only the built-in icon can serve.
start_program XDG_DATA_DIRS="$work/no-data" XDG_DATA_HOME="$work/no-data"
sizes=$(icon_sizes "$window")
[[ -n "$sizes" ]] || fail "without an icon theme the window has no icon"
say "ok: without an icon theme the window has the built-in icon: ${sizes% }"
close_window "$window"

# An alarm due now opens its box and speaks: an installed module loads (the
# daemon's or espeak-ng's and SDL's, whichever can speak here).
while (($(date +%-S) > 50)); do sleep 1; done
printf 'SayAlarm1: 1\r\nSpeakAlarm1: 1\r\nAlarm1time: %s\r\n' "$(date +%-H:%M)" >"$settings"
start_program
modules=$(dirname "$(dpkg -L quorvel | grep '/quorvel_audio\.so$')")/
for _ in $(seq 50); do
  box=$(xdotool search --all --onlyvisible --pid "$program_pid" --name "^It's time!" 2>/dev/null | head -n1 || true)
  [[ -n "$box" ]] && grep -qF "$modules" "/proc/$program_pid/maps" && break
  sleep 0.1
done
[[ -n "$box" ]] || { cat "$work/program.log"; fail "no alarm box within 5 s"; }
loaded=$({ grep -oE "${modules}quorvel_[a-z]+\.so" "/proc/$program_pid/maps" || true; } | sort -u | xargs)
[[ -n "$loaded" ]] || { cat "$work/program.log"; fail "no module of $modules loaded for the alarm"; }
say "ok: the alarm loaded $loaded"
xdotool windowfocus --sync "$box" key Return
close_window "$window"

# The launcher's "Say the time" action as the desktop runs it, with no display.
# speech-dispatcher may not start here (no sound card would report the end),
# so espeak-ng speaks through the installed module.
action=$(sed -n '/^\[Desktop Action say-time\]/,/^\[/s/^Exec=//p' "$desktop_file")
[[ "$action" == "quorvel --say-time" ]] || fail "the say-time action runs '$action'"
mkdir -p "$work/say-home/.config/speech-dispatcher" "$work/say-runtime"
chmod 700 "$work/say-runtime"
echo DisableAutoSpawn >"$work/say-home/.config/speech-dispatcher/speechd.conf"
status=0
read -ra command <<<"$action"
timeout 20 env -i PATH=/usr/bin:/bin HOME="$work/say-home" LANG=C.UTF-8 \
  XDG_RUNTIME_DIR="$work/say-runtime" SDL_AUDIODRIVER=dummy "${command[@]}" \
  >>"$work/program.log" 2>&1 || status=$?
((status == 0)) || { cat "$work/program.log"; fail "'$action' ended with status $status"; }
say "ok: the \"Say the time\" action ran '$action', which spoke and ended with status 0"
