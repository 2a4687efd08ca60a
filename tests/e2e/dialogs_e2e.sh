#!/usr/bin/env bash
# End to end: each dialog of the program from its template, in English and in
# Japanese (the language a first start takes from the user's locale), in a
# Wine virtual desktop. A screenshot of each is kept; Esc must close each one.
# Usage: dialogs_e2e.sh APP_DIR SHOW_DIALOG_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
show_tool=$2
artifacts=$3
prefix=tackaroon-dialogs
. "$(dirname "$0")/desktop.sh"

# No settings file: a first start, with the ready-made groups. One stored
# sticky gives the search something to find.
guid=1e2e1e2e-0000-4000-8000-0000000000d1
prepare() {
    rm -rf "${data:?}/notes" "$data/settings.json"
    mkdir -p "$data/notes/$guid"
    printf '\xef\xbb\xbf{"title": "Meeting", "window": {"position": {"left": 40, "top": 330, "width": 300, "height": 200}}}' \
        >"$data/notes/$guid/note.json"
    printf '{\\rtf1 Call the printer company about the printer in room 4\\par}' >"$data/notes/$guid/text.rtf"
    cp "$show_tool" "$data/show_dialog.exe"
}

# Opens dialog $2 with locale $1, takes the screenshot $3, then closes the
# dialog with the keyboard and waits for the program to end.
shoot() {
    local locale=$1 id=$2 name=$3
    prepare
    LANG=$locale LC_ALL=$locale wine explorer /desktop="Dialogs$id",900x600 \
        "$(winepath -w "$data/show_dialog.exe")" "$id" >/dev/null 2>&1 &
    local pid=$!
    local window=
    # Two minutes by the clock while the desktop's process lives, as desktop.sh waits.
    local deadline=$((SECONDS + 120))
    while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$pid" 2>/dev/null; do
        window=$(xdotool search --name "Dialogs$id - Wine desktop" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        import -window root "$artifacts/dialog-$name-failed.png" || true
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid"
            echo "FAIL: no desktop for dialog $id ($locale) within two minutes"
        else
            echo "FAIL: the desktop for dialog $id ($locale) ended before it was found"
        fi
        exit 1
    fi
    sleep 4
    # A click at the desktop's centre, inside the centred dialog on a spot
    # without a control that reacts, gives it the keyboard.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 450)) $((Y + 300)) click 1
    sleep 0.5
    if [ "$id" = 114 ]; then
        # The click landed in the results; the search text is two fields back.
        xdotool key shift+Tab shift+Tab
        xdotool type --delay 40 "printer"
        xdotool key Return
        sleep 1
    fi
    import -window "$window" "$artifacts/dialog-$name.png"
    xdotool key Escape
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "FAIL: Esc did not close dialog $id ($locale)"
        exit 1
    fi
}

for locale in en_US.UTF-8 ja_JP.UTF-8; do
    tag=${locale%%_*}
    shoot "$locale" 112 "version-$tag"
    shoot "$locale" 108 "settings-$tag"
    shoot "$locale" 116 "groups-$tag"
    shoot "$locale" 114 "search-$tag"
done
echo "end-to-end: four dialogs in two languages shown and closed with Esc; screenshots in $artifacts"
