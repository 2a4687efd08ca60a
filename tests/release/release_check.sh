#!/usr/bin/env bash
# Checks the release: the zip's entries and checksum, the DLLs the executable
# imports (only ones that ship with Windows), and that the executable linked a
# second time from the same objects and packed a second time, at another time
# and with another umask, gives the same zip.
# Usage: release_check.sh <Windows build folder> <version>
set -eu
build=$(cd "$1" && pwd) version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
exe="$build/app/Tackaroon notes.exe"
zip=Tackaroon-notes-$version-win64.zip
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$root/tools/make-dist.sh" "$exe" "$version" "$work/first" >/dev/null
entries=$(unzip -Z1 "$work/first/$zip")
expected=$(printf '%s\n' "First steps.txt" LICENSE.txt THIRD-PARTY-NOTICES.txt "Tackaroon notes.exe" help.html)
[ "$entries" = "$expected" ] || fail "the zip holds: $entries"
unzip -p "$work/first/$zip" "Tackaroon notes.exe" | cmp -s - "$exe" || fail "the zip's executable is not the one built"
unzip -p "$work/first/$zip" LICENSE.txt | grep -q "^MIT License" || fail "no MIT licence in LICENSE.txt"
(cd "$work/first" && sha256sum --quiet -c "$zip.sha256") || fail "the .sha256 does not match the zip"

# DLLs of Windows itself: the executable must run on a bare system.
system="advapi32 comctl32 comdlg32 d2d1 d3d11 dwmapi dwrite dxgi gdi32 gdiplus imm32 kernel32 msvcrt ole32
        oleacc oleaut32 rpcrt4 shcore shell32 shlwapi user32 uxtheme version windowscodecs winmm"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no imports read from the executable"
for dll in $imports; do
    case " $(echo $system) " in
    *" ${dll%.dll} "*) ;;
    *) fail "the executable imports $dll, which Windows does not ship" ;;
    esac
done

# The link command of the executable, as the build runs it, writing elsewhere.
link=$(ninja -C "$build" -t commands -s "app/Tackaroon notes.exe" | sed 's/^: && //; s/ && .*//')
case $link in *'-o "app/Tackaroon notes.exe"'*) ;; *) fail "no link command found: $link" ;; esac
mkdir -p "$work/second"
link=${link/-o \"app\/Tackaroon notes.exe\"/-o \"$work/second/Tackaroon notes.exe\"}
link=${link/--out-implib,\"libTackaroon notes.dll.a\"/--out-implib,\"$work/second/lib.dll.a\"}
(cd "$build" && eval "$link") || fail "the second link failed"
cmp -s "$exe" "$work/second/Tackaroon notes.exe" || fail "a second link gives another executable"
touch -d @1000000000 "$work/second/Tackaroon notes.exe"
(umask 077 && "$root/tools/make-dist.sh" "$work/second/Tackaroon notes.exe" "$version" \
    "$work/second/dist" >/dev/null)
cmp "$work/first/$zip" "$work/second/dist/$zip" || fail "a second zip differs from the first"

[ "$failures" -eq 0 ] && echo "release: $zip, $(echo $imports | wc -w) system DLLs imported, made twice the same"
[ "$failures" -eq 0 ]
