#!/usr/bin/env bash
# End to end: earlier versions of a sticky in the real program. Types, waits
# past the span between versions (a few seconds here, set in settings.json),
# types again, then restores the first text from the title menu's "Earlier
# versions..." dialog by keyboard alone, and reads the files it wrote.
# Usage: history_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-history
. "$(dirname "$0")/desktop.sh"
guid=4e2e4e2e-0000-4000-8000-000000000001
mkdir -p "$data/notes/$guid"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "history": {"span": 3}, "language": "English", "group": []}' \
    >"$data/settings.json"
printf '\xef\xbb\xbf{"title": "Words", "window": {"position": {"left": 300, "top": 100, "width": 260, "height": 220}}}' \
    >"$data/notes/$guid/note.json"
printf '{\\rtf1\\ansi first words\\par}' >"$data/notes/$guid/text.rtf"

sticky_shown() { [ "$(pixel 430 250)" = "#F8B500" ]; }
versions() { find "$data/history/$guid" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | wc -l; }
saved() { grep -q "$1" "$data/notes/$guid/text.rtf"; }
kept() { grep -rqs "$1" "$data/history/$guid"; }
# Selects the body's text and types over it.
type_over() {
    xdotool mousemove $((X + 430)) $((Y + 250)) click 1
    sleep 0.3
    keys ctrl+a
    xdotool type --delay 30 "$1"
}

start_program TackaroonHistory
wait_for sticky_shown || { echo "FAIL: the sticky did not appear"; exit 1; }

type_over "second words"
wait_for saved "second words" || { echo "FAIL: the typing was not saved"; exit 1; }
wait_for kept "first words" || { echo "FAIL: the text before the first save was not kept"; exit 1; }
sleep 4 # past the span
type_over "third words"
wait_for saved "third words" || { echo "FAIL: the second typing was not saved"; exit 1; }
wait_for kept "second words" || { echo "FAIL: the text of the first span was not kept"; exit 1; }

# The title menu on the title bar; the second item above its last (Cancel, and
# "Remind me..." right above it) opens the dialog, whose list holds the
# versions newest first and takes the arrow keys.
xdotool mousemove $((X + 380)) $((Y + 110)) click 3
sleep 1
keys Up Up Up Return
sleep 2
import -window root "$artifacts/earlier-versions.png"
keys Down Return
wait_for saved "first words" || { echo "FAIL: the first text was not restored"; exit 1; }
kept "third words" || { echo "FAIL: the text restored over was not kept first"; exit 1; }
[ "$(versions)" -ge 3 ] || { echo "FAIL: expected three versions, found $(versions)"; exit 1; }
grep -q '"left": 300' "$data/notes/$guid/note.json" || { echo "FAIL: the restore moved the sticky"; exit 1; }
close_program
sleep 1
saved "first words" || { echo "FAIL: closing wrote another text over the restored one"; exit 1; }
echo "end-to-end: typing, versions per span, restore by keyboard; screenshot in $artifacts"
