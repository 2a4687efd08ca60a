#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private headless Xvfb
# that lives exactly as long as the command.
set -u
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
xvfb=
for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$xvfb" 2>/dev/null; then
        export DISPLAY=":$n"
        break
    fi
    xvfb=
done
if [ -z "$xvfb" ]; then
    echo "with-display: could not start Xvfb" >&2
    exit 1
fi
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
"$@"
