#!/usr/bin/env bash
# End to end: two copies of the program, each in its own Wine prefix and data
# folder, kept in step by tools/sync-folders.sh as a folder-sync client would.
# Edits, a new note and trashing on both sides, and one note typed into on both
# sides at once; at the end both folders hold every text ever typed (the
# trashed note's in the trash) and the trashed note is back in neither.
# With ROUNDS (tools/sync-rounds.sh) the edits are repeated that many times and
# notes, edits, conflicts and losses are printed.
# Usage: sync_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR [ROUNDS]
set -euo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
app_dir=$(cd "$1" && pwd)
close_tool=$2
artifacts=$3
rounds=${4:-1}
here=$(cd "$(dirname "$0")" && pwd)
tools=$(cd "$here/../../tools" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -n "${DISPLAY:-}" ] || { echo "needs a display"; exit 1; }
mkdir -p "$artifacts"
prefix_a=${TACKAROON_WINEPREFIX:-$app_dir/../wineprefix}
prefix_b=$prefix_a-sync
for p in "$prefix_a" "$prefix_b"; do
    WINEPREFIX=$p "$tools/wine-prefix.sh"
done

work=$(mktemp -d /tmp/tackaroon-sync.XXXXXX)
a=$work/a b=$work/b
mkdir -p "$a" "$b"
cleanup() {
    touch "$work/stop"
    WINEPREFIX=$prefix_a wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix_b wineserver -k 2>/dev/null || true
    rm -rf "$work"
    [ -z "${TACKAROON_WINEPREFIX:-}" ] || rm -rf "$prefix_b"
}
trap cleanup EXIT
cp "$app_dir/Tackaroon notes.exe" "$a/"
cp "$app_dir/Tackaroon notes.exe" "$b/"
one=5e5e5e5e-0000-4000-8000-000000000001
two=5e5e5e5e-0000-4000-8000-000000000002
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English"}' >"$a/settings.json"
"$tools/sync-folders.sh" "$a" "$b" "$work/state" >/dev/null
"$tools/sync-folders.sh" "$a" "$b" "$work/state" "$work/stop" >"$work/sync.log" &

# Side $1 (A or B) started in its prefix, its desktop moved to x = $2.
start_side() {
    local side=$1 x=$2 folder prefix window=
    if [ "$side" = A ]; then folder=$a prefix=$prefix_a; else folder=$b prefix=$prefix_b; fi
    WINEPREFIX=$prefix wine explorer /desktop="Sync$side",620x300 \
        "$(WINEPREFIX=$prefix winepath -w "$folder/Tackaroon notes.exe")" >/dev/null 2>&1 &
    for _ in $(seq 1 300); do
        window=$(xdotool search --name "Sync$side - Wine desktop" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "FAIL: desktop $side did not open"; exit 1; }
    xdotool windowmove "$window" "$x" 0
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$window" | sed "s/^/${side}_/")"
}
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
# Ends the test saying why, with a screenshot and what both folders hold.
fail() {
    echo "FAIL: $1"
    import -window root "$artifacts/sync-e2e-failed.png" || true
    grep -r -- . "$a/notes" "$b/notes" | cut -c1-300 || true
    tail -n 20 "$work/sync.log" || true
    exit 1
}
# Waits until the pattern shows in a file under notes of the folder: a minute,
# since on a loaded machine the save, the copy and the other side's reload
# each take several seconds.
wait_for_text() {
    for _ in $(seq 1 300); do
        grep -rqs -- "$2" "$1/notes" && return 0
        sleep 0.2
    done
    fail "\"$2\" never reached ${1##*/}"
}
# Gives side $1's desktop the X keyboard focus. Without a window manager a click
# does not move it: keys would go to whichever side's Wine last took it, which
# under load was often the other side, and the typed text was lost.
focus_side() {
    if [ "$1" = A ]; then xdotool windowfocus --sync "$A_WINDOW"; else xdotool windowfocus --sync "$B_WINDOW"; fi
}
# Types into the body of the sticky at desktop position ($2, $3) on side $1.
type_at() {
    local x y
    if [ "$1" = A ]; then x=$((A_X + $2)) y=$((A_Y + $3)); else x=$((B_X + $2)) y=$((B_Y + $3)); fi
    focus_side "$1"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.4
    xdotool key ctrl+End
    xdotool type --delay 30 "$4"
}

start_side A 0
start_side B 640
sleep 2
# The two notes arrive from a third machine while both run (Wine watches only
# folders made after the program started watching).
for n in "$one:20" "$two:400"; do
    note=$a/notes/${n%%:*}
    mkdir -p "$note"
    printf '{\\rtf1\\ansi Start\\par}' >"$note/text.rtf.sync-tmp"
    mv "$note/text.rtf.sync-tmp" "$note/text.rtf"
    printf '\xef\xbb\xbf{"title": "Note %s", "window": {"position": {"left": %d, "top": 40, "width": 180, "height": 160}}}' \
        "${n%%:*}" "${n##*:}" >"$note/note.json.sync-tmp"
    mv "$note/note.json.sync-tmp" "$note/note.json"
done
# Both stickies shown on both sides before any typing: two minutes by the clock,
# as on a loaded machine each side takes long to notice and open them.
deadline=$((SECONDS + 120))
until [ "$(pixel $((A_X + 100)) $((A_Y + 120)))" = "#F8B500" ] && [ "$(pixel $((B_X + 480)) $((B_Y + 120)))" = "#F8B500" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the stickies from the third machine did not show on both sides"
    sleep 0.2
done

typed=()
# Types $3 on side $1 into the sticky at ($2, 120) and waits until it reached the other side.
edit_and_wait() {
    type_at "$1" "$2" 120 " $3"
    typed+=("$3")
    # Saved by the side typed on first, so a failure tells typing from syncing.
    if [ "$1" = A ]; then
        wait_for_text "$a" "$3"
        wait_for_text "$b" "$3"
    else
        wait_for_text "$b" "$3"
        wait_for_text "$a" "$3"
    fi
}

edit_and_wait A 100 editedOnA
edit_and_wait B 480 editedOnB
sleep 1.5 # both watches have reloaded what came from the other side

# A new note from A's first sticky, typed into at once.
focus_side A
xdotool mousemove $((A_X + 30)) $((A_Y + 50)) click 1
sleep 0.8
xdotool type --delay 30 "newOnA"
typed+=(newOnA)
wait_for_text "$a" newOnA
wait_for_text "$b" newOnA

# B trashes its second sticky.
xdotool mousemove $((B_X + 570)) $((B_Y + 50)) click 1
for _ in $(seq 1 50); do
    [ -e "$a/notes/$two" ] || break
    sleep 0.2
done
[ ! -e "$a/notes/$two" ] || fail "the trashing did not reach A"

for round in $(seq 1 "$rounds"); do
    # Both sides type into the first sticky at once, then each in turn.
    type_at B 100 120 " bothB$round"
    type_at A 100 120 " bothA$round"
    typed+=("bothA$round" "bothB$round")
    sleep 4
    edit_and_wait B 100 "turnB$round"
    sleep 1.5
    edit_and_wait A 100 "turnA$round"
    sleep 1.5
done
sleep 5
import -window root "$artifacts/sync-e2e.png"

# The close tool runs in each program's own desktop, where it finds its main window.
WINEPREFIX=$prefix_a wine explorer /desktop=SyncA "$(WINEPREFIX=$prefix_a winepath -w "$close_tool")" >/dev/null 2>&1 ||
    { echo "FAIL: A did not close"; exit 1; }
WINEPREFIX=$prefix_b wine explorer /desktop=SyncB "$(WINEPREFIX=$prefix_b winepath -w "$close_tool")" >/dev/null 2>&1 ||
    { echo "FAIL: B did not close"; exit 1; }
touch "$work/stop"
wait
"$tools/sync-folders.sh" "$a" "$b" "$work/state" >>"$work/sync.log"

losses=0
for side in "$a" "$b"; do
    for text in "${typed[@]}"; do
        # A trashed note's text is in the trash.
        grep -rqs -- "$text" "$side/notes" "$side/trash" ||
            { echo "lost in ${side##*/}: $text"; losses=$((losses + 1)); }
    done
    [ ! -e "$side/notes/$two" ] || { echo "FAIL: the trashed note came back in ${side##*/}"; exit 1; }
done
conflicts=$(grep -c '^conflict' "$work/sync.log" || true)
notes=$(find "$a/notes" -mindepth 1 -maxdepth 1 -type d | wc -l)
echo "sync end-to-end: $rounds rounds, $notes notes, ${#typed[@]} edits, $conflicts sync conflicts, $losses losses"
[ "$losses" -eq 0 ] || { echo "FAIL: typed text was lost"; exit 1; }
