#!/usr/bin/env bash
# Many hard kills of the real program (100 unless given), beyond the few that
# `make test` runs; prints kills, files checked and failures.
# Usage: tools/fault-injection.sh [KILLS] [SEED]   (after `make windows`)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build}/windows
exec "$here/with-display.sh" bash "$here/../tests/e2e/faults_e2e.sh" "$build/app" "$build/fault_injection.exe" \
    "${1:-100}" "${2:-$RANDOM}"
