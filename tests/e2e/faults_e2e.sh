#!/usr/bin/env bash
# Hard kills at random moments (see fault_injection.cpp): a data folder with
# 20 stickies, each with a text.rtf, three trash entries inside their 365-day
# deadline, and the real program killed KILLS times. Prints kills, files
# checked and failures; fails when any check failed. The last start is shown
# in a screenshot (ARTIFACT_DIR/faults-e2e.png): plain words plain, "bold" bold.
# Usage: faults_e2e.sh APP_DIR FAULT_TOOL KILLS [SEED [ARTIFACT_DIR]]
set -euo pipefail
app_dir=$1
tool=$2
kills=$3
seed=${4:-$RANDOM}
artifacts=${5:-$(mktemp -d /tmp/tackaroon-faults-artifacts.XXXXXX)}
mkdir -p "$artifacts"
export WINEPREFIX=${TACKAROON_WINEPREFIX:-$(cd "$app_dir/.." && pwd)/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
[ -n "${DISPLAY:-}" ] || { echo "needs a display"; exit 1; }
"$(dirname "$0")/../../tools/wine-prefix.sh"

data=$(mktemp -d /tmp/tackaroon-faults.XXXXXX)
# A program slow to end may still write here: that is no failure of the test.
trap 'rm -rf "$data" 2>/dev/null || true' EXIT
cp "$app_dir/Tackaroon notes.exe" "$data/"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English", "trash": {"deadline": 365}}' \
    >"$data/settings.json"
# Deleted 40, 200 and 364 days ago: no start, first or second, may purge them.
for age in 40 200 364; do
    entry="$data/trash/$(printf 'fb000000-0000-4000-8000-%012d' "$age")"
    mkdir -p "$entry"
    printf '\xef\xbb\xbf{"title": "Deleted %d days ago"}' "$age" >"$entry/note.json"
    printf '{\\rtf1 deleted}' >"$entry/text.rtf"
    date -d "-$age days" '+%Y,%-m,%-d,%-H,%-M,%-S' >"$entry/delete-date.txt"
done
for i in $(seq 1 20); do
    guid=$(printf 'fa000000-0000-4000-8000-%012d' "$i")
    mkdir -p "$data/notes/$guid"
    printf '\xef\xbb\xbf{"title": "Sticky %d", "window": {"position": {"left": %d, "top": %d, "width": 200, "height": 160}}}' \
        "$i" $((20 + (i % 5) * 150)) $((20 + (i / 5) * 120)) >"$data/notes/$guid/note.json"
    printf '{\\rtf1\\ansi Sticky %d with {\\b bold} text\\par}' "$i" >"$data/notes/$guid/text.rtf"
done
echo "fault injection: $kills kills, seed $seed"
# In a virtual desktop of its own, as the program runs for a user.
wine explorer /desktop=TackaroonFaults,1000x700 "$(winepath -w "$tool")" \
    "$(winepath -w "$data/Tackaroon notes.exe")" "$kills" "$seed" >"$data/result.txt" 2>&1 &
tool_pid=$!
# The tool says when the last start shows every sticky.
while kill -0 "$tool_pid" 2>/dev/null && [ ! -f "$data/shown.txt" ]; do sleep 0.2; done
[ -f "$data/shown.txt" ] && sleep 1 && import -window root "$artifacts/faults-e2e.png"
wait "$tool_pid" || true
cat "$data/result.txt"
echo "screenshot of the last start: $artifacts/faults-e2e.png"
# What the runs wrote: no start, first or second, purged a trash entry inside
# its deadline; a body the program wrote kept its plain and bold words and ends
# with the document, and a body it had no reason to write is the one stored.
[ "$(ls "$data/trash" | wc -l)" = 3 ] || { echo "FAIL: a trash entry went before its time"; exit 1; }
written=0
for rtf in "$data"/notes/*/text.rtf; do
    if grep -q 'with {\\b bold} text' "$rtf"; then continue; fi
    grep -q 'with \\b bold\\b0' "$rtf" || { echo "FAIL: $rtf lost its formatting:"; cat "$rtf"; exit 1; }
    written=$((written + 1))
    [ "$(tail -c 1 "$rtf" | od -An -tx1)" != " 00" ] || { echo "FAIL: $rtf ends in a NUL byte"; exit 1; }
done
[ "$written" -gt 0 ] || { echo "FAIL: no body was written, so none was checked"; exit 1; }
grep -q '^kills: .*, failures: 0' "$data/result.txt"
