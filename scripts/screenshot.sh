#!/usr/bin/env bash
# Regenerates the README's screenshots on a virtual display: the native Linux
# window (docs/screenshot-linux.png) and the Windows program under Wine
# (docs/screenshot.png).
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY scripts/run_linux.sh docs/screenshot-linux.png
env -u DISPLAY scripts/run_windows.sh docs/screenshot.png
