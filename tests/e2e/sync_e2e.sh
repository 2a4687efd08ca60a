#!/usr/bin/env bash
# End to end with a real sync engine: two copies of the program, each in its
# own Wine prefix and data folder, kept in step by two Syncthing instances on
# 127.0.0.1 (tools/syncthing-pair.sh), as on two machines. The notes are there
# before the programs start, as users have them. Cases: an edit on one side
# shows on the other; a click without typing on one side while the other
# edits; a change arriving while the receiving side's file is held open by
# another program (HOLD_TOOL); both sides typing into one note before either
# change arrives (every text ends up in stickies on both sides, Syncthing's
# conflict copy included); a note trashed on one side while the other typed
# into it; and one trashed with the other side unchanged. At the end both
# folders hold every typed text in a note or the trash, and no version lies
# only beside a note.
# With ROUNDS the simultaneous typing is repeated that many times.
# Usage: sync_e2e.sh APP_DIR CLOSE_TOOL HOLD_TOOL ARTIFACT_DIR [ROUNDS]
set -euo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
app_dir=$(cd "$1" && pwd)
close_tool=$2
hold_tool=$3
artifacts=$4
rounds=${5:-1}
here=$(cd "$(dirname "$0")" && pwd)
tools=$(cd "$here/../../tools" && pwd)
source "$tools/syncthing-pair.sh"
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
mkdir -p "$a" "$b" "$work/st"
cleanup() {
    st_stop
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
for n in "$one:20" "$two:400"; do
    note=$a/notes/${n%%:*}
    mkdir -p "$note"
    printf '{\\rtf1\\ansi Start\\par}' >"$note/text.rtf"
    printf '\xef\xbb\xbf{"title": "Note %s", "window": {"position": {"left": %d, "top": 40, "width": 180, "height": 160}}}' \
        "${n%%:*}" "${n##*:}" >"$note/note.json"
done
st_start "$work/st" "$a" "$b"
st_converged || { echo "FAIL: Syncthing did not bring the notes to B"; exit 1; }

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
# Ends the test saying why, with a screenshot, what both folders hold and Syncthing's last words.
fail() {
    echo "FAIL: $1"
    import -window root "$artifacts/sync-e2e-failed.png" || true
    (cd "$work" && find a/notes b/notes a/trash b/trash -type f -printf '%TT %p\n' 2>/dev/null | sort -k2) || true
    [ -z "${TACKAROON_KEEP_SYNC:-}" ] || cp -r "$work" "$TACKAROON_KEEP_SYNC"
    grep -r -- . "$a/notes" "$b/notes" 2>/dev/null | grep -v '\.stfolder' | cut -c1-300 || true
    tail -n 5 "$work/st/a.log" "$work/st/b.log" || true
    exit 1
}
# Waits until the pattern shows in a note's text on side folder $1.
wait_for_text() {
    for _ in $(seq 1 ${3:-150}); do
        grep -qs -- "$2" "$1"/notes/*/text.rtf && return 0
        sleep 0.2
    done
    fail "\"$2\" never reached ${1##*/}"
}
# Without a window manager a click does not move the X keyboard focus: each
# side's desktop is given it before typing.
focus_side() {
    if [ "$1" = A ]; then xdotool windowfocus --sync "$A_WINDOW"; else xdotool windowfocus --sync "$B_WINDOW"; fi
}
click_at() {
    local x y
    if [ "$1" = A ]; then x=$((A_X + $2)) y=$((A_Y + $3)); else x=$((B_X + $2)) y=$((B_Y + $3)); fi
    focus_side "$1"
    xdotool mousemove "$x" "$y" click 1
}
# Types $4 at the end of the body of the sticky at desktop position ($2, $3) on side $1.
type_at() {
    click_at "$1" "$2" "$3"
    sleep 0.4
    xdotool key ctrl+End
    xdotool type --delay 30 "$4"
}
note_count() { find "$1/notes" -mindepth 1 -maxdepth 1 -type d -name '*-*' | wc -l; }

start_side A 0
start_side B 640
deadline=$((SECONDS + 120))
until [ "$(pixel $((A_X + 100)) $((A_Y + 120)))" = "#F8B500" ] && [ "$(pixel $((B_X + 480)) $((B_Y + 120)))" = "#F8B500" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the stored stickies did not show on both sides"
    sleep 0.2
done
typed=()

# An edit on one side shows on the other: B types after A's edit arrived, and
# its save holds both, in the one note.
type_at A 100 120 " editedOnA"
typed+=(editedOnA)
wait_for_text "$b" editedOnA
sleep 2 # B's watch reloads what came
type_at B 100 120 " editedOnB"
typed+=(editedOnB)
wait_for_text "$a" editedOnB
grep -q editedOnA "$a/notes/$one/text.rtf" || fail "B wrote over A's edit"
[ "$(note_count "$a")" -eq 2 ] || fail "an edit on each side in turn made a new note"

# A click without typing on B while A edits: no fork, and B takes A's text.
click_at B 480 140
type_at A 480 120 " clickedOnB"
typed+=(clickedOnB)
wait_for_text "$b" clickedOnB
sleep 2
type_at B 480 120 " afterClickB"
typed+=(afterClickB)
wait_for_text "$a" afterClickB
grep -q clickedOnB "$a/notes/$two/text.rtf" || fail "the click on B wrote over A's edit"
[ "$(note_count "$b")" -eq 2 ] || fail "a click made a new note"

# A's edit arrives while another program on B holds B's file open, shared with
# nobody (as a virus scanner does with a file that has just come): B writes
# nothing over it, reads it once it is let go, and its next save holds A's edit.
sleep 2 # A takes in B's last edit first
hold_path=$(WINEPREFIX=$prefix_b winepath -w "$b/notes/$two/text.rtf")
WINEPREFIX=$prefix_b wine "$hold_tool" "$hold_path" 12 >"$work/hold.txt" 2>/dev/null &
hold=$!
for _ in $(seq 1 100); do
    grep -qs holding "$work/hold.txt" && break
    sleep 0.1
done
grep -qs holding "$work/hold.txt" || fail "the file on B could not be held"
type_at A 480 120 " whileHeld"
typed+=(whileHeld)
wait_for_text "$b" whileHeld
kill -0 "$hold" 2>/dev/null || fail "the hold ended before A's edit came"
wait "$hold" || fail "the hold ended badly: $(cat "$work/hold.txt")"
grep -q "held [2-9]" "$work/hold.txt" || fail "the version that came was not held: $(cat "$work/hold.txt")"
grep -q whileHeld "$b/notes/$two/text.rtf" || fail "B wrote over the held file"
sleep 2 # B reads what it could not
type_at B 480 120 " afterHold"
typed+=(afterHold)
wait_for_text "$a" afterHold
grep -q whileHeld "$a/notes/$two/text.rtf" || fail "B wrote over A's edit once the file was let go"
[ "$(note_count "$a")" -eq 2 ] || fail "a held file made a new note"

# Both sides type into one note before either change arrives.
for round in $(seq 1 "$rounds"); do
    st_pause
    type_at A 100 120 " bothA$round"
    type_at B 100 120 " bothB$round"
    typed+=("bothA$round" "bothB$round")
    sleep 2.5 # each side saved its own
    st_resume
    for side in "$a" "$b"; do
        wait_for_text "$side" "bothA$round" 300
        wait_for_text "$side" "bothB$round" 300
    done
done

# A trashes the first note, B unchanged: it goes on both sides.
st_converged || fail "the two sides did not come to hold the same"
sleep 1
click_at A 190 50
for _ in $(seq 1 100); do
    [ -e "$b/notes/$one" ] || break
    sleep 0.2
done
[ ! -e "$b/notes/$one" ] || fail "the trashing of the first note did not reach B"
sleep 3
[ ! -e "$b/notes/$one" ] && [ ! -e "$a/notes/$one" ] || fail "the trashed note came back"

# A trashes the second note while B typed into it before that arrived: B's
# text comes back to A as a sticky.
st_pause
type_at B 480 120 " beforeTrashB"
typed+=(beforeTrashB)
sleep 2.5
click_at A 570 50
for _ in $(seq 1 50); do
    [ -e "$a/notes/$two/note.json" ] || break
    sleep 0.2
done
[ ! -e "$a/notes/$two/note.json" ] || fail "A did not trash its second sticky"
st_resume
wait_for_text "$a" beforeTrashB 300
st_converged || fail "the two sides did not come to hold the same"
import -window root "$artifacts/sync-e2e.png"

# The close tool runs in each program's own desktop, where it finds its main window.
WINEPREFIX=$prefix_a wine explorer /desktop=SyncA "$(WINEPREFIX=$prefix_a winepath -w "$close_tool")" >/dev/null 2>&1 ||
    fail "A did not close"
WINEPREFIX=$prefix_b wine explorer /desktop=SyncB "$(WINEPREFIX=$prefix_b winepath -w "$close_tool")" >/dev/null 2>&1 ||
    fail "B did not close"
st_converged || fail "the two sides did not come to hold the same at the end"
st_stop

losses=0 hidden=0
for side in "$a" "$b"; do
    for text in "${typed[@]}"; do
        # In a note's body, or a trashed one's: never only beside a note.
        grep -qs -- "$text" "$side"/notes/*/text.rtf "$side"/trash/*/text.rtf ||
            { echo "lost in ${side##*/}: $text"; losses=$((losses + 1)); }
    done
    hidden=$((hidden + $(find "$side/notes" -type f \( -name '*sync-conflict*' -o -name '*changed-elsewhere*' \) | wc -l)))
done
[ ! -e "$a/notes/$one" ] || fail "the trashed note came back"
for side in "$a" "$b"; do
    [ -e "$side/notes/$two/note.json" ] || fail "B's typing into the note trashed on A shows as no sticky"
done
notes=$(note_count "$a")
[ "$notes" -eq "$(note_count "$b")" ] || fail "the two sides ended with different notes"
echo "sync end-to-end (Syncthing): $rounds rounds, $notes notes, ${#typed[@]} edits, $hidden versions left beside notes, $losses losses"
[ "$losses" -eq 0 ] || fail "typed text was lost"
[ "$hidden" -eq 0 ] || fail "a version was left beside a note, shown by no sticky"
