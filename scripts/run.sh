#!/usr/bin/env bash
# Sets up, builds and starts Quorvel: the native Linux program. The Windows
# program under Wine is scripts/run_windows.sh.
set -euo pipefail
exec "$(dirname "$0")/run_linux.sh" "$@"
