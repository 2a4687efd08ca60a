#!/usr/bin/env bash
# End to end, with pixels: stored figures show inside their sticky where they
# belong, a stroke dragged in scribble mode shows (already while it is drawn),
# an eraser stroke clears what it crosses, and a sticky that started folded
# shows its erased drawing whole once unfolded. Screenshots are kept among the artifacts.
# Usage: drawing_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-drawing-e2e
. "$(dirname "$0")/desktop.sh"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 2}, "language": "English", "titlebar": {"height": {"default": 20, "fold": 20}}}' \
    >"$data/settings.json"
store_note() { # guid left mode extra-window-members scribble-object
    mkdir -p "$data/notes/$1"
    printf '\xef\xbb\xbf{"title": "Drawing %s", "mode": "%s", "window": {%s"position": {"left": %d, "top": 40, "width": 260, "height": 220}}, "scribble": %s}' \
        "$1" "$3" "$4" "$2" "$5" >"$data/notes/$1/note.json"
}
figure() { # tool colour eraser width rect-or-points
    printf '{"tool": "%s", "eraser": %s, "strokeWidth": %s, "strokeColor": "%s", "strokeOpacity": 1, "fillColor": "%s", "fillOpacity": 1, %s}' \
        "$1" "$3" "$4" "$2" "$2" "$5"
}
rect() { printf '"rect": {"left": %d, "top": %d, "right": %d, "bottom": %d}' "$@"; }
shown=1e2e1e2e-0000-4000-8000-000000000020
folded=1e2e1e2e-0000-4000-8000-000000000021
erasing=1e2e1e2e-0000-4000-8000-000000000022
store_note $shown 20 scribble "" "{\"strokeColor\": \"#ff00ff\", \"strokeWidth\": 8, \"figure\": [
    $(figure rectangle '#ff0000' false 1 "$(rect 20 20 100 70)"),
    $(figure ellipse '#0000ff' false 1 "$(rect 130 20 230 80)"),
    $(figure freeline '#00ff00' false 6 '"points": "20,110,60,110,100,110,140,110"')]}"
band="$(figure freeline '#000000' true 12 '"points": "0,70,240,70"')"
store_note $folded 300 text '"fold": true, ' "{\"figure\": [$(figure rectangle '#ff0000' false 1 "$(rect 20 20 200 120)"), $band]}"
store_note $erasing 580 scribble "" "{\"eraser\": true, \"strokeWidth\": 14, \"figure\": [
    $(figure rectangle '#ff0000' false 1 "$(rect 20 20 200 120)")]}"

# Each body's content starts 2 pixels right of its sticky's left and 22 below
# its top (border and 20-pixel title bar); $1 is the sticky's left.
at_body() { echo $(($1 + 2 + $2)) $((40 + 22 + $3)); }
body_pixel() { pixel $(at_body "$@"); }
failures=0
expect() { # what colour sticky-left x y
    local seen
    seen=$(body_pixel "$3" "$4" "$5")
    case $2 in
    not-*) [ "$seen" != "${2#not-}" ] ;;
    *) [ "$seen" = "$2" ] ;;
    esac || {
        echo "FAIL: $1: at body ($4, $5) of the sticky at $3 the colour is $seen, expected $2"
        failures=$((failures + 1))
    }
}
drag() { # sticky-left x0 y0 x1 y1, in steps of ten
    local x y
    read -r x y <<<"$(at_body "$1" "$2" "$3")"
    xdotool mousemove $((X + x)) $((Y + y)) mousedown 1
    for step in $(seq 1 10); do
        xdotool mousemove $((X + x + ($4 - $2) * step / 10)) $((Y + y + ($5 - $3) * step / 10))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 1
}

shot() { import -window root "$artifacts/drawing-$1-e2e.png"; }
# Waits until a body pixel turns red, then keeps the screenshot $1.
shot_once_red() { # name sticky-left x y
    for _ in $(seq 1 150); do
        [ "$(body_pixel "$2" "$3" "$4")" = "#FF0000" ] && break
        sleep 0.2
    done
    sleep 1
    shot "$1"
}

start_program TackaroonDrawingE2E
shot_once_red stored 20 60 45
expect "stored red rectangle" "#FF0000" 20 60 45
expect "stored blue ellipse" "#0000FF" 20 180 50
expect "stored green free line" "#00FF00" 20 80 110
expect "nothing drawn between them" "not-#FF0000" 20 115 45
expect "the folded sticky shows no body" "not-#FF0000" 300 100 45

# The stroke shows while the button is still down, moves after moves.
read -r x y <<<"$(at_body 20 20 160)"
xdotool mousemove $((X + x)) $((Y + y)) mousedown 1
for step in $(seq 1 10); do
    xdotool mousemove $((X + x + 18 * step)) $((Y + y))
    sleep 0.05
    if [ "$step" = 5 ]; then
        sleep 0.5
        shot midstroke
        expect "the stroke shown while it is drawn" "#FF00FF" 20 60 160
    fi
done
xdotool mouseup 1
sleep 1
shot stroke
expect "the stroke drawn in scribble mode" "#FF00FF" 20 110 160

expect "red before the eraser stroke" "#FF0000" 580 100 70
drag 580 12 70 240 70
shot eraser
expect "the eraser stroke cleared its band" "not-#FF0000" 580 100 70
expect "above the erased band" "#FF0000" 580 100 45
expect "below the erased band" "#FF0000" 580 100 100

# A double click on the folded title unfolds the sticky.
xdotool mousemove $((X + 300 + 130)) $((Y + 40 + 10)) click --repeat 2 --delay 80 1
shot_once_red unfolded 300 100 45
expect "unfolded: above the stored eraser" "#FF0000" 300 100 45
expect "unfolded: the stored eraser's band" "not-#FF0000" 300 100 70
expect "unfolded: below the stored eraser" "#FF0000" 300 100 100

# Text typed under the drawing repaints the body; the drawing is laid over it again.
xdotool mousemove $((X + 300 + 2 + 150)) $((Y + 40 + 22 + 190)) click 1
for word in one two three four; do
    xdotool type --delay 30 "$word line"
    xdotool key Return
done
sleep 1
shot typed
expect "typed under: the rectangle" "#FF0000" 300 100 45
expect "typed under: the erased band" "not-#FF0000" 300 100 70

close_program || { echo "FAIL: the program did not close"; exit 1; }
[ "$failures" = 0 ] || exit 1
echo "end-to-end: stored figures, a drawn stroke, an eraser stroke and an unfolded erased drawing shown; screenshots in $artifacts"
