#!/usr/bin/env bash
# Every fuzz target for a few seconds (FUZZ_SECONDS, default 4): part of the
# test command.
set -euo pipefail
exec "$(dirname "$0")/../fuzz/run_targets.sh" "${FUZZ_SECONDS:-4}"
