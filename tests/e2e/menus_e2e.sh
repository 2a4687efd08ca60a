#!/usr/bin/env bash
# End to end: the menus of the real program in a Wine virtual desktop. Opens
# the system menu from the notification-area icon, creates a sticky from it,
# trashes a sticky with its close button and recovers it from the system menu,
# opens a title menu with its theme preview, and quits with "Close application"; screenshots of both
# menus are kept.
# Usage: menus_e2e.sh APP_DIR CLOSE_TOOL ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
artifacts=$3
prefix=tackaroon-menus
. "$(dirname "$0")/desktop.sh"
guid=3e2e3e2e-0000-4000-8000-000000000001
mkdir -p "$data/notes/$guid"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English", "group": [{"guid": "9e2e9e2e-0000-4000-8000-000000000009", "name": "Work"}]}' \
    >"$data/settings.json"
printf '\xef\xbb\xbf{"title": "Trash me", "group": {"guid": "9e2e9e2e-0000-4000-8000-000000000009"}, "window": {"position": {"left": 400, "top": 100, "width": 260, "height": 220}}}' \
    >"$data/notes/$guid/note.json"

two_notes() { [ "$(note_count)" -eq 2 ]; }
sticky_shown() { [ "$(pixel 530 250)" = "#F8B500" ]; }
# The notification-area icon sits at the right end of the desktop's task bar.
tray_menu() {
    xdotool mousemove $((X + WIDTH - 11)) $((Y + HEIGHT - 11)) click 3
    sleep 1
}

start_program TackaroonMenus
wait_for sticky_shown || { echo "FAIL: the sticky did not appear"; exit 1; }

# The system menu, opened from the icon; its first sub-menu creates a sticky
# in the first group.
tray_menu
import -window root "$artifacts/system-menu.png"
keys Down Right Return
wait_for two_notes || { echo "FAIL: no sticky was created from the system menu"; exit 1; }

# The title menu of the first sticky, opened on its title.
xdotool mousemove $((X + 480)) $((Y + 110)) click 3
sleep 1
import -window root "$artifacts/title-menu.png"
# Its theme colours (opening to the left, the right being too narrow): pointing
# at a swatch previews it on the sticky; closing
# the menu without a choice brings the sticky's own colour back.
xdotool mousemove $((X + 540)) $((Y + 317))
sleep 1
xdotool mousemove $((X + 440)) $((Y + 317))
sleep 0.5
xdotool mousemove $((X + 290)) $((Y + 363))
sleep 1
import -window root "$artifacts/title-menu-theme.png"
[ "$(pixel 430 250)" != "#F8B500" ] || { echo "FAIL: pointing at a theme colour did not preview it"; exit 1; }
keys Escape Escape
wait_for sticky_shown || { echo "FAIL: the sticky's own theme did not come back"; exit 1; }

# The close button moves the sticky to the trash.
xdotool mousemove $((X + 400 + 249)) $((Y + 100 + 11)) click 1
wait_for [ -f "$data/trash/$guid/delete-date.txt" ] || { echo "FAIL: the sticky did not reach the trash"; exit 1; }
[ -d "$data/notes/$guid" ] && { echo "FAIL: the trashed sticky's folder is still in notes"; exit 1; }
grep -q "Trash me" "$data/trash/$guid/title.txt" || { echo "FAIL: title.txt lacks the title"; exit 1; }

# Recovered from the system menu. The menu opens upwards from the icon at the
# desktop's bottom right, so its items sit at fixed places; sub-menus open to the left.
tray_menu
xdotool mousemove $((X + WIDTH - 160)) $((Y + HEIGHT - 159))
sleep 1
import -window root "$artifacts/system-menu-trash.png"
xdotool mousemove $((X + WIDTH - 270)) $((Y + HEIGHT - 159)) click 1
wait_for [ -f "$data/notes/$guid/note.json" ] || { echo "FAIL: the sticky was not recovered"; exit 1; }
wait_for sticky_shown || { echo "FAIL: the recovered sticky is not on screen"; exit 1; }
[ -e "$data/trash" ] && { echo "FAIL: the empty trash folder stayed"; exit 1; }
[ -e "$data/notes/$guid/delete-date.txt" ] && { echo "FAIL: the deletion stamp stayed"; exit 1; }

# "Close application", the last item.
tray_menu
xdotool mousemove $((X + WIDTH - 160)) $((Y + HEIGHT - 13)) click 1
for _ in $(seq 1 100); do
    xdotool search --name "Tackaroon notes" >/dev/null 2>&1 || break
    [ -z "$(pgrep -f 'Tackaroon notes.exe' || true)" ] && break
    sleep 0.2
done
sleep 1
pgrep -f "$data/Tackaroon notes.exe" >/dev/null && { echo "FAIL: the program did not close"; close_program || true; exit 1; }
grep -q '"Trash me"' "$data/notes/$guid/note.json" || { echo "FAIL: the recovered note.json lost its title"; exit 1; }
[ "$(note_count)" -eq 2 ] || { echo "FAIL: expected two stickies saved"; exit 1; }
grep -q '"Work"' "$data/settings.json" || { echo "FAIL: settings.json was not written back"; exit 1; }
echo "end-to-end: system menu, new sticky, trash and recovery, title menu, close; screenshots in $artifacts"
