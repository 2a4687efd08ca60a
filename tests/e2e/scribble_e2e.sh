#!/usr/bin/env bash
# End to end: a sticky stored in scribble mode. A stroke dragged over it is
# saved as a figure; the body's context menu switches it back to text, after
# which typing reaches the text; the figure survives the exit.
# Usage: scribble_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-scribble-e2e
. "$(dirname "$0")/desktop.sh"
guid=1e2e1e2e-0000-4000-8000-000000000010
mkdir -p "$data/notes/$guid"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 2}, "language": "English"}' >"$data/settings.json"
# A stored red rectangle shows once the drawing layer is up to take the stroke.
printf '\xef\xbb\xbf{"title": "Drawn on", "mode": "scribble", "window": {"position": {"left": 120, "top": 100, "width": 260, "height": 220}}, "scribble": {"figure": [{"tool": "rectangle", "eraser": false, "strokeWidth": 1, "strokeColor": "#ff0000", "strokeOpacity": 1, "fillColor": "#ff0000", "fillOpacity": 1, "rect": {"left": 10, "top": 10, "right": 60, "bottom": 40}}]}}' \
    >"$data/notes/$guid/note.json"
json="$data/notes/$guid/note.json"
rtf="$data/notes/$guid/text.rtf"

start_program TackaroonScribbleE2E
for _ in $(seq 1 150); do
    [ "$(pixel 157 150)" = "#FF0000" ] && break
    sleep 0.2
done
[ "$(pixel 157 150)" = "#FF0000" ] || { echo "FAIL: the stored figure did not show"; exit 1; }
sleep 1

# A stroke across the body.
xdotool mousemove $((X + 160)) $((Y + 180)) mousedown 1
for step in $(seq 1 10); do
    xdotool mousemove $((X + 160 + step * 8)) $((Y + 180 + step * 4))
    sleep 0.05
done
xdotool mouseup 1
for _ in $(seq 1 100); do
    grep -q '"points"' "$json" 2>/dev/null && break
    sleep 0.2
done
grep -q '"points": "' "$json" || { echo "FAIL: the stroke was not saved as a figure"; exit 1; }

# The drawing menu from a right click; its third item from the end switches to text.
xdotool mousemove $((X + 200)) $((Y + 250)) click 3
sleep 1
import -window root "$artifacts/scribble-menu-e2e.png"
xdotool key Up Up Up Return
sleep 0.5
xdotool type --delay 40 "Typed after drawing"
for _ in $(seq 1 100); do
    grep -q "Typed after drawing" "$rtf" 2>/dev/null && break
    sleep 0.2
done
import -window root "$artifacts/scribble-e2e.png"
grep -q '"mode": "text"' "$json" || { echo "FAIL: the menu did not switch to text mode"; exit 1; }
grep -q "Typed after drawing" "$rtf" || { echo "FAIL: typing did not reach the text"; exit 1; }

close_program || { echo "FAIL: the program did not close"; exit 1; }
grep -q '"points": "' "$json" || { echo "FAIL: the figure was lost at exit"; exit 1; }
echo "end-to-end: stroke saved, menu switched to text, typing saved; screenshots in $artifacts"
