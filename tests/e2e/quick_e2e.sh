#!/usr/bin/env bash
# End to end: a configured global hotkey pressed with xdotool makes a new
# sticky; a reminder set by keyboard through a folded sticky's title menu and
# its dialog, its date moved into the past, fires at once and unfolds the
# sticky in front; a click on it ends that and leaves it open for reading.
# Usage: quick_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-quick
. "$(dirname "$0")/desktop.sh"
guid=4e2e4e2e-0000-4000-8000-000000000001
mkdir -p "$data/notes/$guid"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English", "hotkey": {"newSticky": "Ctrl+Shift+F7"}}' \
    >"$data/settings.json"
printf '\xef\xbb\xbf{"title": "Remind me", "theme": {"base": "#2ca9e1"}, "window": {"fold": true, "position": {"left": 100, "top": 100, "width": 260, "height": 220}}}' \
    >"$data/notes/$guid/note.json"

two_notes() { [ "$(note_count)" -eq 2 ]; }
key_delay=0.4
title_shown() { [ "$(pixel 230 108)" != "$(pixel 880 580)" ]; }
body_shown() { [ "$(pixel 230 250)" = "#2CA9E1" ]; }
body_hidden() { ! body_shown; }
fail() {
    echo "FAIL: $1"
    import -window root "$artifacts/quick-e2e-failed.png" || true
    exit 1
}

start_program TackaroonQuick
wait_for title_shown || fail "the folded sticky did not appear"
body_hidden || fail "the sticky is not folded"

# The configured hotkey, with the keyboard on the virtual desktop.
xdotool mousemove $((X + 600)) $((Y + 300)) click 1
xdotool windowfocus "$desktop_window" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+shift+F7
wait_for two_notes || fail "the hotkey made no sticky"

# The folded sticky's title menu from the keyboard: its last item but Cancel
# is "Remind me...". The dialog opens on its date; a step back in its first
# field (the month here, the day on Windows) puts the reminder in the past.
xdotool mousemove $((X + 230)) $((Y + 108)) click 1
sleep 0.5
keys shift+F10 Up Up Return
sleep 1
import -window root "$artifacts/reminder-dialog.png"
keys Right Down Return
wait_for body_shown || fail "the reminder did not bring the sticky forward unfolded"
import -window root "$artifacts/reminder-fired.png"
xdotool mousemove $((X + 230)) $((Y + 250)) click 1
sleep 1
body_shown || fail "the sticky clicked after its reminder did not stay open"

close_program || fail "the program did not close"
grep -q '"reminder"' "$data/notes/$guid/note.json" && fail "the one-time reminder stayed in note.json"
grep -q '"fold": false' "$data/notes/$guid/note.json" || fail "the clicked sticky was stored folded"
grep -q '"Ctrl+Shift+F7"' "$data/settings.json" || fail "settings.json lost the hotkey"
echo "end-to-end: hotkey made a sticky; a reminder set by keyboard fired and a click ended it; screenshots in $artifacts"
