#!/usr/bin/env bash
# Builds both Windows programs with MinGW-w64, checks that they import only
# system DLLs, then runs the integration tests (64-bit only: this machine
# cannot run 32-bit programs) under Wine on a virtual display, in a fresh
# Wine prefix. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
source scripts/wine_session.sh

for preset in mingw-x86_64 mingw-i686; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# Static runtime: nothing from MinGW may be needed beside the program.
system_dlls='^(kernel32|user32|gdi32|comdlg32|comctl32|winmm|ole32|oleaut32|advapi32|shell32|msvcrt)\.dll$'
for target in x86_64 i686; do
  exe=build/mingw-$target/quorvel.exe
  imports=$("$target-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  foreign=$(grep -Ev "$system_dlls" <<<"$imports" || true)
  if [[ -n "$foreign" ]]; then
    echo "$exe imports non-system DLLs: $foreign" >&2
    exit 1
  fi
  echo "$exe: $(stat -c %s "$exe") bytes, imports $(tr '\n' ' ' <<<"$imports")"
done

work=$(mktemp -d /tmp/quorvel-wine.XXXXXX)
trap 'end_wine_session; rm -rf "$work"' EXIT
start_virtual_display
make_wine_prefix "$work/prefix"

echo "== Windows integration tests under Wine"
status=0
timeout 600 "$WINE" build/mingw-x86_64/quorvel_wine_tests.exe 2>&1 | tee "$work/tests.log" ||
  status=$?
# A crash can end the run before gtest's own summary: count what finished.
passed=$(grep -c '^\[       OK \]' "$work/tests.log" || true)
failed=$(grep -c '^\[  FAILED  \] .*(' "$work/tests.log" || true)
echo "wine: ${passed} passed, ${failed} failed"
if ((status != 0 || failed != 0 || passed == 0)); then
  exit 1
fi
