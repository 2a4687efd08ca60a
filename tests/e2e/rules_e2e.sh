#!/usr/bin/env bash
# End to end: the real program in a Wine virtual desktop reacts to keyboard input
# from xdotool. Two stickies of a group whose "input" rule fades and folds them
# at once and whose second rule brings them back two seconds after the last input.
# Screenshots before, during and after are kept as artifacts.
# Usage: rules_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-rules-e2e
. "$(dirname "$0")/desktop.sh"
group=2e2e2e2e-0000-4000-8000-0000000000aa
printf '\xef\xbb\xbf{"language": "English", "group": [{"guid": "%s", "name": "fast", "rule": [
  {"action": "input", "delay": 0, "opacity": 0.2, "fold": true, "except": ["mouse-hover"]},
  {"action": "input", "delay": 2000, "reset": true, "opacity": 1, "fold": false, "except": ["mouse-hover"]}]}]}' \
    "$group" >"$data/settings.json"
for n in 1 2; do
    guid=2e2e2e2e-0000-4000-8000-00000000000$n
    mkdir -p "$data/notes/$guid"
    printf '\xef\xbb\xbf{"title": "Rule %s", "group": {"guid": "%s"}, "window": {"position": {"left": %d, "top": 100, "width": 240, "height": 260}}}' \
        "$n" "$group" $((80 + (n - 1) * 320)) >"$data/notes/$guid/note.json"
done

start_program TackaroonRulesE2E
body="#F8B500"
# Waits up to $1 tenths of a second until both stickies do (or do not) show their body colour.
wait_for() {
    local tenths=$1 want=$2
    for _ in $(seq 1 "$tenths"); do
        local shown=0
        for left in 150 470; do [ "$(pixel $left 250)" = "$body" ] && shown=$((shown + 1)); done
        { [ "$want" = shown ] && [ $shown -eq 2 ]; } && return 0
        { [ "$want" = hidden ] && [ $shown -eq 0 ]; } && return 0
        sleep 0.1
    done
    return 1
}

status=0
wait_for 600 shown || { echo "FAIL: the stickies did not show"; status=1; }
# Keyboard focus to the virtual desktop, with a click away from the stickies. The
# click is input too and must not leave a button counted as held when the
# delayed rule fires: let its restore delay pass.
xdotool mousemove $((X + 850)) $((Y + 550)) click 1
xdotool windowfocus "$desktop_window" 2>/dev/null || true
sleep 2.5
wait_for 200 shown || { echo "FAIL: the stickies did not settle"; status=1; }
import -window root "$artifacts/rules-before.png"
xdotool key shift
if wait_for 100 hidden; then
    import -window root "$artifacts/rules-during.png"
else
    echo "FAIL: the key press did not fade and fold the stickies"
    status=1
fi
if wait_for 200 shown; then
    import -window root "$artifacts/rules-after.png"
else
    echo "FAIL: the stickies did not come back after the delay"
    status=1
fi

close_program || true
sleep 1
[ $status -eq 0 ] && echo "end-to-end rules: faded and folded on a key press, back after the delay; screenshots in $artifacts"
exit $status
