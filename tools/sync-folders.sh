#!/usr/bin/env bash
# Keeps two data folders in step the way a folder-sync client does. A file
# changed on one side since the last pass is copied to the other side and
# renamed into place; a file removed on one side is removed on the other; a
# file changed differently on both sides keeps the newer version in place and
# the other beside it as "<name> (conflicted copy).<ext>" on both sides. The
# program itself and half-written files are not synced.
# Usage: sync-folders.sh A B STATE [STOPFILE]
#   One pass; with STOPFILE, passes every 0.3 s until that file exists.
# Prints "conflict <path>" for each conflict.
set -u
a=$1 b=$2 state=$3 stop=${4:-}
mkdir -p "$state/base"
base=$state/base

list() { (cd "$1" && find . -type f ! -name '*.exe' ! -name '*.saving' ! -name '*.sync-tmp' 2>/dev/null); }
same() {
    if [ -e "$1" ] && [ -e "$2" ]; then cmp -s "$1" "$2"; else [ ! -e "$1" ] && [ ! -e "$2" ]; fi
}
# Copies $1 to $2 through a temporary beside it, renamed into place.
put() {
    mkdir -p "$(dirname "$2")"
    cp -p "$1" "$2.sync-tmp" 2>/dev/null && mv -f "$2.sync-tmp" "$2"
}
# Removes path $2 under $1 and the folders it leaves empty, up to $1.
drop() {
    rm -f "$1/$2"
    local d
    d=$(dirname "$2")
    while [ "$d" != . ] && rmdir "$1/$d" 2>/dev/null; do d=$(dirname "$d"); done
}
# Takes the version at $1 for both sides and the base of path $2.
spread() {
    local from=$1 f=$2
    for side in "$a" "$b" "$base"; do
        [ "$from" = "$side/$f" ] && continue
        if [ -e "$from" ]; then put "$from" "$side/$f"; else drop "$side" "$f"; fi
    done
}

pass() {
    { list "$a"; list "$b"; list "$base"; } | sort -u | while IFS= read -r f; do
        f=${f#./}
        A=$a/$f B=$b/$f S=$base/$f
        same "$A" "$S" && same "$B" "$S" && continue
        if same "$B" "$S"; then
            spread "$A" "$f"
        elif same "$A" "$S"; then
            spread "$B" "$f"
        elif same "$A" "$B"; then
            spread "$A" "$f"
        else
            # Changed on both sides: a removal loses against a change, the
            # older change is kept beside the newer one.
            keep=$A other=$B
            if [ ! -e "$A" ] || { [ -e "$B" ] && [ "$B" -nt "$A" ]; }; then keep=$B other=$A; fi
            if [ -e "$other" ]; then
                dir=$(dirname "$f") name=$(basename "$f")
                stem=${name%.*} ext=${name##*.}
                copy="$dir/$stem (conflicted copy).$ext"
                cp -p "$other" "$state/conflict.tmp"
                spread "$state/conflict.tmp" "$copy"
                rm -f "$state/conflict.tmp"
            fi
            echo "conflict $f"
            spread "$keep" "$f"
        fi
    done
}

pass
if [ -n "$stop" ]; then
    while [ ! -e "$stop" ]; do
        sleep 0.3
        pass
    done
fi
