#!/usr/bin/env bash
# Starts the program under Wine in a virtual desktop. Without a display a
# headless Xvfb is started and left running so the program can be looked at.
set -eu
app=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${TACKAROON_WINEPREFIX:-$app/../wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}
if [ -z "${DISPLAY:-}" ]; then
    display=99
    while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=":$display"
    sleep 1
    echo "No display: started Xvfb on $DISPLAY."
    echo "Take a screenshot with:  DISPLAY=$DISPLAY import -window root screenshot.png"
fi
"$here/wine-prefix.sh"
echo "Data folder: $app"
cd "$app"
exec wine explorer /desktop=Tackaroon,1200x760 "$app/Tackaroon notes.exe"
