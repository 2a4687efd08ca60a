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
# No menu builder: it turns every shortcut a test makes into a menu entry of
# the host, at a cost in time.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}
export WINEARCH=win64

if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$0" "$exe" "$@"
fi
"$here/wine-prefix.sh" || exit 1
exec wine "$exe" "$@"
