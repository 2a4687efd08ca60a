# Shared by the end-to-end scripts: a scratch data folder holding a copy of the
# program, and the program started in a Wine virtual desktop.
# Usage (sourced): app_dir=... artifacts=... prefix=...; . desktop.sh
# A step that fails says which one it was before the script ends.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
export WINEPREFIX=${TACKAROON_WINEPREFIX:-$(cd "$app_dir/.." && pwd)/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
[ -n "${DISPLAY:-}" ] || { echo "needs a display"; exit 1; }
"$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix.sh"
mkdir -p "$artifacts"

data=$(mktemp -d "/tmp/$prefix.XXXXXX")
# A program slow to close may still write here: that is no failure of the test.
trap 'rm -rf "$data" 2>/dev/null || true' EXIT
cp "$app_dir/Tackaroon notes.exe" "$data/"

# Starts the program in the virtual desktop $1 and waits for the desktop's
# window; sets desktop_window and its position X, Y.
start_program() {
    desktop=$1
    wine explorer /desktop="$desktop",900x600 "$(winepath -w "$data/Tackaroon notes.exe")" >/dev/null 2>&1 &
    desktop_window=
    # Two minutes by the clock: with every other Wine test running beside it
    # the desktop once took longer than 300 tries of the search.
    local deadline=$((SECONDS + 120))
    while [ "$SECONDS" -lt "$deadline" ]; do
        desktop_window=$(xdotool search --name "$desktop - Wine desktop" 2>/dev/null | head -n 1) || true
        [ -n "$desktop_window" ] && break
        sleep 0.1
    done
    [ -n "$desktop_window" ] || { echo "FAIL: the virtual desktop did not open"; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$desktop_window")"
}

# The colour of one pixel of the desktop, as ImageMagick names it ("#F8B500").
pixel() { import -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }

# Asks the program to close through its main window and waits until it has.
close_program() { wine explorer /desktop="$desktop" "$(winepath -w "$close_tool")" >/dev/null 2>&1; }

# The note folders of the data folder.
note_count() { find "$data/notes" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | wc -l; }

# Menus take keys one at a time: each key, then $key_delay seconds.
key_delay=0.3
keys() {
    for key in "$@"; do
        xdotool key "$key"
        sleep "$key_delay"
    done
}

# Waits up to 20 s for a condition given as a command.
wait_for() {
    for _ in $(seq 1 100); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
