#!/usr/bin/env bash
# Regenerates docs/screenshot.png: the real window under Wine on a virtual
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY scripts/run_windows.sh docs/screenshot.png
