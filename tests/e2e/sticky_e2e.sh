#!/usr/bin/env bash
# End to end: the real program in a Wine virtual desktop, driven with xdotool.
# A prepared data folder holds one sticky; the test clicks into it, types, waits
# for the auto-save, moves it from the keyboard, closes the program through its
# main window and reads the files.
# Usage: sticky_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-e2e
. "$(dirname "$0")/desktop.sh"
guid=1e2e1e2e-0000-4000-8000-000000000001
mkdir -p "$data/notes/$guid"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 2}, "language": "English"}' >"$data/settings.json"
printf '\xef\xbb\xbf{"title": "End to end", "window": {"position": {"left": 120, "top": 100, "width": 260, "height": 220}}}' \
    >"$data/notes/$guid/note.json"
# Beside it, for the screenshot: a long unwrapped text (both scroll bars in the
# theme colours) and a folded sticky in another theme.
long=1e2e1e2e-0000-4000-8000-000000000002
folded=1e2e1e2e-0000-4000-8000-000000000003
mkdir -p "$data/notes/$long" "$data/notes/$folded"
printf '\xef\xbb\xbf{"title": "Long text", "text": {"wordwrap": false}, "window": {"position": {"left": 420, "top": 100, "width": 260, "height": 300}}}' \
    >"$data/notes/$long/note.json"
{
    printf '{\\rtf1 '
    for i in $(seq 1 60); do printf 'Line %d of a text longer than the sticky is wide and high\\par ' "$i"; done
    printf '}'
} >"$data/notes/$long/text.rtf"
printf '\xef\xbb\xbf{"title": "Folded", "theme": {"base": "#2ca9e1"}, "window": {"fold": true, "position": {"left": 120, "top": 440, "width": 260, "height": 200}}}' \
    >"$data/notes/$folded/note.json"

start_program TackaroonE2E
# Waits until the sticky's body shows in its theme colour.
for _ in $(seq 1 150); do
    [ "$(pixel 250 250)" = "#F8B500" ] && break
    sleep 0.2
done
[ "$(pixel 250 250)" = "#F8B500" ] || { echo "FAIL: the sticky did not appear"; exit 1; }

# Click into the sticky's body and type.
xdotool mousemove $((X + 200)) $((Y + 200)) click 1
sleep 0.5
xdotool type --delay 40 "Typed by the end-to-end test"
rtf="$data/notes/$guid/text.rtf"
for _ in $(seq 1 100); do
    grep -q "Typed by the end-to-end test" "$rtf" 2>/dev/null && break
    sleep 0.2
done
import -window root "$artifacts/sticky-e2e.png"
grep -q "Typed by the end-to-end test" "$rtf" || { echo "FAIL: auto-save did not write the typed text"; exit 1; }

# Alt+Space opens the window menu; Move, three steps to the right, Enter keeps it there.
xdotool key --delay 200 alt+space Down Return Right Right Right Return
for _ in $(seq 1 50); do
    [ "$(pixel 125 300)" != "#F8B500" ] && break
    sleep 0.2
done
[ "$(pixel 125 300)" != "#F8B500" ] || { echo "FAIL: Alt+Space and the arrows did not move the sticky"; exit 1; }
for _ in $(seq 1 50); do
    grep -q '"left": 144' "$data/notes/$guid/note.json" && break
    sleep 0.2
done
grep -q '"left": 144' "$data/notes/$guid/note.json" || { echo "FAIL: auto-save did not write the new place"; exit 1; }

close_program ||
    { echo "FAIL: the program did not close"; exit 1; }
grep -q '"left": 144' "$data/notes/$guid/note.json" || { echo "FAIL: note.json lost the new place at exit"; exit 1; }
grep -q '"End to end"' "$data/notes/$guid/note.json" || { echo "FAIL: note.json lost its title"; exit 1; }
grep -q '"${name12}"' "$data/settings.json" && { echo "FAIL: a readable settings file got default groups"; exit 1; }
grep -q '"elapse": 2' "$data/settings.json" || { echo "FAIL: settings.json was not written back"; exit 1; }
grep -q "Typed by the end-to-end test" "$rtf" || { echo "FAIL: text.rtf lost the text at exit"; exit 1; }
echo "end-to-end: typed text saved, program closed, files complete; screenshot in $artifacts"
