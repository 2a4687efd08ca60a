#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private headless Xvfb
# that lives exactly as long as the command.
set -u
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
# Xvfb takes the first free display number itself and says which once it takes
# connections, so servers started side by side never end up sharing one.
fifo=$(mktemp -u /tmp/with-display.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r display <"$fifo"
rm -f "$fifo"
if [ -z "${display:-}" ]; then
    echo "with-display: could not start Xvfb" >&2
    exit 1
fi
export DISPLAY=":$display"
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
"$@"
