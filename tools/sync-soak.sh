#!/usr/bin/env bash
# Two machines for MINUTES: two copies of the program in two Wine prefixes,
# their data folders kept in step by two Syncthing instances on 127.0.0.1
# (tools/syncthing-pair.sh). Random edits on both sides, now and then at once
# with the sync paused, new notes and trashing. Prints edits, notes, the
# "(changed elsewhere)" stickies made, versions left beside notes and losses
# (a typed text in no note and no trash entry on either side); fails on a loss.
# Each side has an X display of its own, as two machines have a keyboard each:
# on one shared display a side that reloads the sticky it last had focused
# takes the X keyboard focus, and the rest of a word typed on the other side
# goes into its sticky.
# Usage: tools/sync-soak.sh [MINUTES] [BUILD]   (default 30 minutes, build/windows)
set -euo pipefail
minutes=${1:-30}
build=$(cd "${2:-build/windows}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" bash "$0" "$minutes" "$build"
fi
source "$here/syncthing-pair.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d /tmp/tackaroon-soak.XXXXXX)
a=$work/a b=$work/b
prefix_a=$work/prefix-a prefix_b=$work/prefix-b
mkdir -p "$a" "$b" "$work/st"
for p in "$prefix_a" "$prefix_b"; do
    WINEPREFIX=$p "$here/wine-prefix.sh" >/dev/null
done
# B's display: a second Xvfb, which says its number once it takes connections.
display_a=$DISPLAY
mkfifo "$work/xvfb"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/xvfb" >/dev/null 2>&1 &
xvfb_b=$!
read -r display_b <"$work/xvfb"
display_b=:$display_b
rm -f "$work/xvfb"
cleanup() {
    st_stop
    kill "$xvfb_b" 2>/dev/null || true
    WINEPREFIX=$prefix_a wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix_b wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$build/app/Tackaroon notes.exe" "$a/"
cp "$build/app/Tackaroon notes.exe" "$b/"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English"}' >"$a/settings.json"
for n in 1:20 2:400; do
    note=$a/notes/5e5e5e5e-0000-4000-8000-00000000000${n%%:*}
    mkdir -p "$note"
    printf '{\\rtf1\\ansi Start\\par}' >"$note/text.rtf"
    printf '\xef\xbb\xbf{"title": "Note %s", "window": {"position": {"left": %d, "top": 40, "width": 180, "height": 160}}}' \
        "${n%%:*}" "${n##*:}" >"$note/note.json"
done
st_start "$work/st" "$a" "$b"
st_converged || { echo "Syncthing did not bring the notes to B"; exit 1; }

# Runs xdotool on side $1's display.
on() {
    local side=$1
    shift
    if [ "$side" = A ]; then DISPLAY=$display_a xdotool "$@"; else DISPLAY=$display_b xdotool "$@"; fi
}
start_side() {
    local side=$1 folder prefix display window=
    if [ "$side" = A ]; then
        folder=$a prefix=$prefix_a display=$display_a
    else
        folder=$b prefix=$prefix_b display=$display_b
    fi
    DISPLAY=$display WINEPREFIX=$prefix wine explorer /desktop="Soak$side",800x300 \
        "$(WINEPREFIX=$prefix winepath -w "$folder/Tackaroon notes.exe")" >/dev/null 2>&1 &
    for _ in $(seq 1 300); do
        window=$(on "$side" search --name "Soak$side - Wine desktop" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "desktop $side did not open"; exit 1; }
    on "$side" windowmove "$window" 0 0
    sleep 0.3
    eval "$(on "$side" getwindowgeometry --shell "$window" | sed "s/^/${side}_/")"
}
click_at() {
    if [ "$1" = A ]; then
        on A windowfocus --sync "$A_WINDOW" mousemove $((A_X + $2)) $((A_Y + $3)) click 1
    else
        on B windowfocus --sync "$B_WINDOW" mousemove $((B_X + $2)) $((B_Y + $3)) click 1
    fi
}
type_at() {
    click_at "$1" "$2" "$3"
    sleep 0.3
    on "$1" key ctrl+End
    on "$1" type --delay 20 "$4"
    trace_word "$1" "$2" "$3" "$4"
}
# Notes in the actions log whether the word reached a saved file on the typing
# side within ten seconds, to tell a loss there from one on the way.
trace_word() {
    local folder=$a w=${4# }
    [ "$1" = B ] && folder=$b
    (
        saved=never
        for _ in $(seq 1 40); do
            if grep -qs -- "$w" "$folder"/notes/*/text.rtf; then saved="after $SECONDS"; break; fi
            sleep 0.25
        done
        echo "typed $w on $1 at $2,$3, saved there $saved" >>"$work/actions"
    ) &
}
start_side A
start_side B
sleep 15

typed=()
count=0
end=$((SECONDS + minutes * 60))
sides=(A B)
# The two stored stickies stay; new ones open beside the first, where the
# trashing takes whichever is on top.
columns=(100 480)
while [ "$SECONDS" -lt "$end" ]; do
    count=$((count + 1))
    side=${sides[RANDOM % 2]}
    word="soak${side}${count}x"
    action=$((RANDOM % 20))
    echo "$count $side $action $SECONDS" >>"$work/actions"
    case $action in
    0) # a new note beside the first sticky, typed into at once
        click_at "$side" 30 50
        sleep 0.8
        on "$side" type --delay 20 " $word"
        trace_word "$side" 30 50 " $word"
        typed+=("$word")
        ;;
    1) # trash whatever sticky is in the third column
        click_at "$side" 370 50
        ;;
    2 | 3) # both sides at once, the sync paused
        st_pause
        type_at A "${columns[RANDOM % 2]}" 120 " ${word}a"
        type_at B "${columns[RANDOM % 2]}" 120 " ${word}b"
        typed+=("${word}a" "${word}b")
        sleep 2
        st_resume
        ;;
    *)
        type_at "$side" "${columns[RANDOM % 2]}" 120 " $word"
        typed+=("$word")
        ;;
    esac
    sleep $((1 + RANDOM % 3))
done
st_converged 300 || echo "the two sides did not come to hold the same before the close"
for side in A B; do
    prefix=$prefix_a display=$display_a
    [ "$side" = B ] && prefix=$prefix_b display=$display_b
    DISPLAY=$display WINEPREFIX=$prefix wine explorer /desktop="Soak$side" "$(WINEPREFIX=$prefix winepath -w "$build/close_app.exe")" \
        >/dev/null 2>&1 || echo "$side did not close"
done
st_converged 300 || echo "the two sides did not come to hold the same after the close"
st_stop

losses=0
for side in "$a" "$b"; do
    for text in "${typed[@]}"; do
        grep -qs -- "$text" "$side"/notes/*/text.rtf "$side"/trash/*/text.rtf ||
            { echo "lost in ${side##*/}: $text ($(grep -- " $text " "$work/actions" | sed 's/.*, //'))"; losses=$((losses + 1)); }
    done
done
notes=$(find "$a/notes" -mindepth 1 -maxdepth 1 -type d -name '*-*' | wc -l)
forks=$(grep -ls 'changed elsewhere' "$a"/notes/*/note.json | wc -l)
beside=$(find "$a/notes" "$b/notes" -type f \( -name '*sync-conflict*' -o -name '*changed-elsewhere*' \) | wc -l)
[ "$losses" -eq 0 ] || [ -z "${TACKAROON_KEEP_SOAK:-}" ] || cp -r "$work" "$TACKAROON_KEEP_SOAK"
echo "sync soak: $minutes minutes, ${#typed[@]} edits, $notes notes, $forks changed-elsewhere stickies, $beside versions left beside notes, $losses losses"
[ "$losses" -eq 0 ]
