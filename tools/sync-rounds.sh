#!/usr/bin/env bash
# Longer rounds of the two-machine sync test: two copies of the program kept in
# step by two Syncthing instances, typed into on both sides at once ROUNDS times. Prints the
# notes, edits, sync conflicts and losses.
# Usage: tools/sync-rounds.sh [ROUNDS] [BUILD]   (default 10 rounds, build/windows)
set -eu
rounds=${1:-10}
build=${2:-build/windows}
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/with-display.sh" bash "$here/../tests/e2e/sync_e2e.sh" "$build/app" "$build/close_app.exe" \
    "$build/hold_file.exe" "$build/artifacts" "$rounds"
