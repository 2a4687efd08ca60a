#!/usr/bin/env bash
# Runs one test of the Windows tree in a Wine prefix and a headless X server of
# its own, so that tests run side by side without sharing a foreground window,
# keyboard focus, virtual desktop or registry. The prefix starts each run as a
# fresh copy of the ready one in SEED. With --retry a failed run gets one more,
# from a fresh prefix: for the tests that drive the program with xdotool, whose
# clicks and keys a heavily loaded machine can deliver before the windows are
# ready for them.
# Usage: wine-test.sh [--retry] SEED PREFIX COMMAND [ARGS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
runs=1
if [ "$1" = --retry ]; then
    runs=2
    shift
fi
export TACKAROON_WINEPREFIX_SEED=$1 TACKAROON_WINEPREFIX=$2
shift 2
unset DISPLAY
for run in $(seq 1 $runs); do
    [ "$run" -gt 1 ] && echo "== failed; run $run of $runs"
    rm -rf "$TACKAROON_WINEPREFIX"
    WINEPREFIX=$TACKAROON_WINEPREFIX "$here/wine-prefix.sh" || exit 1
    "$here/with-display.sh" "$@"
    status=$?
    # Nothing of this run outlives it: a program left running ends with its server.
    WINEPREFIX=$TACKAROON_WINEPREFIX wineserver -k 2>/dev/null
    [ $status -eq 0 ] && break
done
exit $status
