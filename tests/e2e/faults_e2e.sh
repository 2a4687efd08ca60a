#!/usr/bin/env bash
# Hard kills at random moments (see fault_injection.cpp): a data folder with
# 20 stickies, each with a text.rtf, and the real program killed KILLS times.
# Prints kills, files checked and failures; fails when any check failed.
# Usage: faults_e2e.sh APP_DIR FAULT_TOOL KILLS [SEED]
set -euo pipefail
app_dir=$1
tool=$2
kills=$3
seed=${4:-$RANDOM}
export WINEPREFIX=${TACKAROON_WINEPREFIX:-$(cd "$app_dir/.." && pwd)/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
[ -n "${DISPLAY:-}" ] || { echo "needs a display"; exit 1; }
"$(dirname "$0")/../../tools/wine-prefix.sh"

data=$(mktemp -d /tmp/tackaroon-faults.XXXXXX)
# A program slow to end may still write here: that is no failure of the test.
trap 'rm -rf "$data" 2>/dev/null || true' EXIT
cp "$app_dir/Tackaroon notes.exe" "$data/"
printf '\xef\xbb\xbf{"autoSave": {"elapse": 1}, "language": "English"}' >"$data/settings.json"
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
    "$(winepath -w "$data/Tackaroon notes.exe")" "$kills" "$seed" >"$data/result.txt" 2>&1 || true
cat "$data/result.txt"
grep -q '^kills: .*, failures: 0' "$data/result.txt"
