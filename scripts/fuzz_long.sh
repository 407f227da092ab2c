#!/usr/bin/env bash
# Every fuzz target for longer: the seconds per target are the first argument
# (default 600). Inputs found along the way stay in build/fuzz/corpus and make
# the next run start further.
set -euo pipefail
exec "$(dirname "$0")/../fuzz/run_targets.sh" "${1:-600}"
