#!/usr/bin/env bash
# Draws the program's icons (a sticky note with a folded corner) with ImageMagick.
# The .ico files are committed; run this only to change them.
set -eu
out=${1:-src/resources}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
draw() { # size
    local s=$1
    local m=$((s / 16)) f=$((s * 5 / 16))
    local r=$((s - m - 1)) b=$((s - m - 1))
    local args=(-size "${s}x${s}" xc:none
        -fill "#f8b500" -stroke "#a87800" -strokewidth $((s >= 48 ? 2 : 1))
        -draw "polygon $m,$m $r,$m $r,$((b - f)) $((r - f)),$b $m,$b"
        -fill "#c98f00" -draw "polygon $r,$((b - f)) $((r - f)),$((b - f)) $((r - f)),$b"
        -stroke none -fill "#e09f00" -draw "rectangle $((m + 1)),$((m + 1)) $((r - 1)),$((m + s / 7))")
    if [ "$s" -ge 32 ]; then
        local lw=$((s / 24 > 1 ? s / 24 : 1)) lines=""
        for i in 1 2 3; do
            local y=$((m + s * (3 + 3 * i) / 20)) end=$((r - s / 8))
            [ "$i" -eq 3 ] && end=$((r - f - s / 16))
            lines="$lines line $((m + s / 8)),$y $end,$y"
        done
        args+=(-stroke "#7a5a00" -strokewidth "$lw" -draw "$lines")
    fi
    /usr/bin/convert "${args[@]}" "$tmp/$s.png"
}
for s in 16 20 24 32 48 64 256; do draw "$s"; done
/usr/bin/convert "$tmp"/{16,20,24,32,48,64,256}.png "$out/app.ico"
/usr/bin/convert "$tmp"/{16,20,24,32}.png "$out/small.ico"
/usr/bin/convert "$tmp/256.png" /tmp/tackaroon-icon-preview.png
