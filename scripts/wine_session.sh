# Sourced by the Windows scripts: a virtual display and a Wine prefix of our
# own, and their clean-up. Only /usr/lib/wine/wine64 is used: /usr/bin/wine
# picks a 32-bit loader when one is installed and then cannot start.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
# No Mono or Gecko install prompts: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

source "$(dirname "${BASH_SOURCE[0]}")/virtual_display.sh"

# Makes a Wine prefix at $1 (and exports WINEPREFIX). With no window manager,
# Wine waits 2 s whenever a captioned window is hidden or destroyed unless its
# windows are unmanaged.
make_wine_prefix() {
  export WINEPREFIX="$1"
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Wine has no Courier New; its metric twin keeps the clock monospaced.
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ \
    /d 'Liberation Mono' /f >/dev/null 2>&1
  # This Wine does not find fonts-wine's folder by itself; without Marlett
  # the title-bar buttons draw as the letters "0 1 r".
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  "$WINESERVER" -w
}

# Ends what this session started: the prefix's Wine processes and our Xvfb.
end_wine_session() {
  if [[ -n "${WINEPREFIX:-}" && -d "${WINEPREFIX}" ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  end_virtual_display
}
