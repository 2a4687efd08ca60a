#!/usr/bin/env bash
# End to end on dense screens, in a Wine prefix of its own (the one the test
# runner gives, or wineprefix-dpi) so that every other test keeps 96 DPI: the HighDpi tests at 96, 144 and 192 DPI; then at 144 DPI,
# in English and Japanese, a sticky, its title menu opened with Shift+F10 (its
# first item, "New sticky", chosen with the keyboard) and the group manager,
# each kept as a screenshot.
# Usage: dpi_e2e.sh APP_DIR CLOSE_TOOL SHOW_DIALOG_TOOL TESTS_EXE ARTIFACT_DIR
set -euo pipefail
app_dir=$1
close_tool=$2
show_tool=$3
tests_exe=$4
artifacts=$5
prefix=tackaroon-dpi
export TACKAROON_WINEPREFIX=${TACKAROON_WINEPREFIX:-$(cd "$app_dir/.." && pwd)/wineprefix-dpi}
. "$(dirname "$0")/desktop.sh"
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}
for dpi in 96 144 192; do
    set_dpi "$dpi"
    log="$artifacts/dpi-$dpi.log"
    wine "$tests_exe" --gtest_filter='HighDpi.*' --gtest_brief=1 >"$log" 2>&1 ||
        { cat "$log"; echo "FAIL: HighDpi tests at $dpi DPI"; exit 1; }
    grep '\[ dpi \]' "$log"
done

set_dpi 144
guid=5e2e5e2e-0000-4000-8000-000000000005
notes() { find "$data/notes" -mindepth 1 -maxdepth 1 -type d | wc -l; }
for language in English 日本語; do
    tag=$([ "$language" = English ] && echo en || echo ja)
    # The locale gives Wine its fonts for the language.
    export LANG=$([ "$tag" = en ] && echo en_US.UTF-8 || echo ja_JP.UTF-8) LC_ALL=
    rm -rf "${data:?}/notes" "$data/settings.json"
    mkdir -p "$data/notes/$guid"
    printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "%s"}' "$language" >"$data/settings.json"
    # Locked, so the keyboard stays with the sticky window and Shift+F10 means the title menu.
    printf '\xef\xbb\xbf{"title": "High DPI 高解像度", "window": {"lock": true, "border": true, "position": {"left": 60, "top": 60, "width": 420, "height": 300}}}' \
        >"$data/notes/$guid/note.json"
    printf '{\\rtf1 Text at 150 %%\\par}' >"$data/notes/$guid/text.rtf"
    start_program "Dpi$tag"
    sleep 4
    xdotool mousemove $((X + 200)) $((Y + 250)) click 1
    sleep 1
    import -window root -crop "900x600+$X+$Y" "$artifacts/dpi144-sticky-$tag.png"
    xdotool key shift+F10
    sleep 1
    import -window root -crop "900x600+$X+$Y" "$artifacts/dpi144-title-menu-$tag.png"
    xdotool key Down
    sleep 0.3
    xdotool key Return
    for _ in $(seq 1 50); do [ "$(notes)" -eq 2 ] && break; sleep 0.2; done
    [ "$(notes)" -eq 2 ] || { echo "FAIL: Shift+F10 did not open the title menu ($language)"; close_program; exit 1; }
    close_program
    sleep 2

    # A first start for the group manager, with the ready-made groups.
    rm -f "$data/settings.json"
    cp "$show_tool" "$data/show_dialog.exe"
    wine explorer /desktop="DpiGroups$tag",1280x800 "$(winepath -w "$data/show_dialog.exe")" 116 >/dev/null 2>&1 &
    shown=$!
    sleep 6
    window=$(xdotool search --name "DpiGroups$tag - Wine desktop" | head -n 1)
    import -window "$window" "$artifacts/dpi144-groups-$tag.png"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 640)) $((Y + 180)) click 1
    sleep 0.5
    xdotool key Escape
    for _ in $(seq 1 50); do kill -0 "$shown" 2>/dev/null || break; sleep 0.2; done
    # Only the screenshot is wanted: a dialog that kept the keyboard elsewhere goes with the prefix.
    kill -0 "$shown" 2>/dev/null && wineserver -k
done
echo "end-to-end: HighDpi tests at 96, 144 and 192 DPI; screenshots at 144 DPI in $artifacts"
