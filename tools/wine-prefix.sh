#!/usr/bin/env bash
# Makes the Wine prefix in WINEPREFIX ready unless it is: a copy of the prefix
# in TACKAROON_WINEPREFIX_SEED when that one is ready (a second or two), else a
# new one set up by wineboot (about 20 s).
set -eu
[ -f "$WINEPREFIX/system.reg" ] && exit 0
seed=${TACKAROON_WINEPREFIX_SEED:-}
if [ -n "$seed" ] && [ -f "$seed/system.reg" ]; then
    copy=$WINEPREFIX.copy
    rm -rf "$WINEPREFIX" "$copy"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # The DLL stores (630 MB) are shared with the seed through hard links: Wine
    # only reads them once the prefix is set up. Every other file (registry,
    # profile, ini files) is a copy of its own, as Wine may write it in place.
    cp -al "$seed" "$copy"
    find "$copy" -type f ! -path "$copy/drive_c/windows/system32/*" ! -path "$copy/drive_c/windows/syswow64/*" \
        ! -path "$copy/drive_c/windows/winsxs/*" \
        -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' sh {} +
    # Renamed when complete: a copy cut short is never taken for a ready prefix.
    mv "$copy" "$WINEPREFIX"
    exit 0
fi
mkdir -p "$WINEPREFIX"
WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=} wine wineboot -i >/dev/null 2>&1
# The new prefix goes on setting itself up in the background; let it finish.
wineserver -w
