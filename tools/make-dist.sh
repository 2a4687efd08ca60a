#!/usr/bin/env bash
# Packs a release of the program: <out>/Tackaroon-notes-<version>-win64.zip with
# the executable, help.html, the licence, the notices and the first steps, and
# the zip's SHA-256 beside it.
# The same executable and texts give the same bytes at any time and on any
# machine: entries in one fixed order, each with the same date and mode and no
# extra fields (owners, time stamps). The date is SOURCE_DATE_EPOCH, by default
# the time of the last commit.
# Usage: tools/make-dist.sh <executable> <version> <out folder>
set -eu
[ $# -eq 3 ] || { echo "usage: $0 <executable> <version> <out folder>" >&2; exit 2; }
exe=$1 version=$2 out=$3
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
# A zip holds dates from 1980 on.
[ "$SOURCE_DATE_EPOCH" -ge 315532800 ] || SOURCE_DATE_EPOCH=315532800

name=Tackaroon-notes-$version-win64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Tackaroon notes.exe"
cp "$root/src/resources/help.html" "$stage/help.html"
# Texts in Windows line ends, for any editor there.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$stage/$2"; }
crlf "$root/LICENSE" LICENSE.txt
crlf "$root/THIRD-PARTY-NOTICES.txt" THIRD-PARTY-NOTICES.txt
crlf "$root/release/first-steps.txt" "First steps.txt"
chmod 0644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

mkdir -p "$out"
zip=$(cd "$out" && pwd)/$name.zip
rm -f "$zip" "$zip.sha256"
# -X: no owners or extra time stamps; -D: no folder entries. Dates are stored
# as local time, so the time zone is fixed too.
(cd "$stage" && ls | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$zip" -@)
(cd "$out" && sha256sum "$name.zip" >"$name.zip.sha256")
echo "$zip"
