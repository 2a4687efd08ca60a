#!/usr/bin/env bash
# Runs a Windows program under Wine with a private prefix, inside an X server:
# the one in DISPLAY, or a headless Xvfb started for this run.
# Used by CTest as the cross-compiling emulator and by `make run`.
set -u
exe=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${TACKAROON_WINEPREFIX:-$(cd "$(dirname "$exe")" && pwd)/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing of ours needs them, and asking for them would hang.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$0" "$exe" "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    # The new prefix goes on setting itself up in the background; let it finish.
    wineserver -w
fi
exec wine "$exe" "$@"
