#!/usr/bin/env bash
# Two Syncthing instances on this machine keeping two folders in step, as two
# machines would: they listen and talk on 127.0.0.1 only, with discovery,
# relays, NAT traversal, usage reporting, crash reports, upgrades and the
# browser off. The folder keeps conflict copies and is watched for changes
# (rescanned every 10 s besides). The program and its temporaries are not synced.
# Sourced: st_start WORK DIR_A DIR_B, then st_pause / st_resume / st_idle /
# st_converged / st_stop. st_start waits until both are connected.

st_api() { # instance (a|b), method, path
    local port key
    port=$(cat "$st_work/$1.gui") key=$(cat "$st_work/$1.key")
    curl -fsS -m 10 -X "$2" -H "X-API-Key: $key" "http://127.0.0.1:$port$3"
}

# Writes instance $1's config for folder $2 shared with the other device.
st_configure() {
    python3 - "$st_work/$1/config.xml" "$2" "$st_work" "$1" <<'EOF'
import sys, xml.etree.ElementTree as ET
path, folder, work, me = sys.argv[1:]
other = 'b' if me == 'a' else 'a'
read = lambda name: open(f'{work}/{name}').read().strip()
tree = ET.parse(path)
root = tree.getroot()
for old in root.findall('folder'):
    root.remove(old)
# The defaults' folder, filled in: every element present (a missing maxConflicts reads as 0).
f = ET.fromstring(ET.tostring(root.find('defaults/folder')))
f.set('id', 'tackaroon'); f.set('label', 'Tackaroon'); f.set('path', folder)
f.set('rescanIntervalS', '10'); f.set('fsWatcherEnabled', 'true'); f.set('fsWatcherDelayS', '1')
f.set('ignorePerms', 'true')
f.find('maxConflicts').text = '10'
for d in f.findall('device'):
    f.remove(d)
for name in (me, other):
    ET.SubElement(f, 'device', id=read(f'{name}.id'), introducedBy='')
root.insert(0, f)
for d in root.findall('device'):
    root.remove(d)
for name in (me, other):
    d = ET.SubElement(root, 'device', id=read(f'{name}.id'), name=name.upper(), compression='metadata',
                      introducer='false', skipIntroductionRemovals='false', introducedBy='')
    ET.SubElement(d, 'address').text = 'tcp://127.0.0.1:' + read(f'{name}.port')
gui = root.find('gui')
gui.find('address').text = '127.0.0.1:' + read(f'{me}.gui')
gui.find('apikey').text = read(f'{me}.key')
o = root.find('options')
for name, value in {'listenAddress': 'tcp://127.0.0.1:' + read(f'{me}.port'), 'globalAnnounceEnabled': 'false',
                    'localAnnounceEnabled': 'false', 'relaysEnabled': 'false', 'natEnabled': 'false',
                    'startBrowser': 'false', 'urAccepted': '-1', 'autoUpgradeIntervalH': '0',
                    'crashReportingEnabled': 'false', 'reconnectionIntervalS': '1',
                    'setLowPriority': 'false'}.items():
    o.find(name).text = value
for extra in o.findall('globalAnnounceServer'):
    extra.text = ''
tree.write(path)
EOF
}

st_start() {
    st_work=$1 st_a=$2 st_b=$3
    local side dir port
    port=$((20000 + RANDOM % 20000))
    for side in a b; do
        syncthing generate --home="$st_work/$side" --no-default-folder --skip-port-probing >"$st_work/$side.gen" 2>&1
        sed -n 's/.*Device ID: *//p' "$st_work/$side.gen" | head -n 1 >"$st_work/$side.id"
        echo "$port" >"$st_work/$side.port"
        echo $((port + 1)) >"$st_work/$side.gui"
        port=$((port + 2))
        tr -dc 'a-zA-Z0-9' </dev/urandom | head -c 32 >"$st_work/$side.key" || true
    done
    for side in a b; do
        [ "$side" = a ] && dir=$2 || dir=$3
        mkdir -p "$dir/.stfolder"
        printf 'Tackaroon notes.exe\n*.saving\n' >"$dir/.stignore"
        st_configure "$side" "$dir"
        STNOUPGRADE=1 syncthing serve --home="$st_work/$side" --no-browser --no-restart --no-upgrade \
            --logfile="$st_work/$side.log" >/dev/null 2>&1 &
        echo $! >"$st_work/$side.pid"
    done
    for _ in $(seq 1 300); do
        if st_api a GET /rest/system/connections 2>/dev/null | grep -q '"connected": *true' &&
            st_api b GET /rest/system/connections 2>/dev/null | grep -q '"connected": *true'; then
            return 0
        fi
        sleep 0.2
    done
    echo "syncthing: the two instances did not connect" >&2
    return 1
}

# Stops both from passing changes (each keeps scanning its own folder).
st_pause() { st_api a POST /rest/system/pause >/dev/null && st_api b POST /rest/system/pause >/dev/null; }
st_resume() { st_api a POST /rest/system/resume >/dev/null && st_api b POST /rest/system/resume >/dev/null; }

# Waits until the notes and the trash are the same on both sides and both
# instances have nothing left to pass (a change is noticed a second or two
# after it is made).
st_converged() {
    local same=0
    for _ in $(seq 1 ${1:-150}); do
        if [ "$(cd "$st_a" && find notes trash -type f ! -name '.syncthing.*' -exec md5sum {} + 2>/dev/null | sort)" = \
            "$(cd "$st_b" && find notes trash -type f ! -name '.syncthing.*' -exec md5sum {} + 2>/dev/null | sort)" ] &&
            st_idle 1; then
            same=$((same + 1))
            [ "$same" -ge 5 ] && return 0
        else
            same=0
        fi
        sleep 0.4
    done
    return 1
}

# Waits until both instances hold the same folder and have nothing left to pass.
st_idle() {
    local side
    for _ in $(seq 1 ${1:-150}); do
        local done=0
        for side in a b; do
            st_api $side GET "/rest/db/completion?folder=tackaroon" 2>/dev/null | grep -q '"completion": *100' &&
                st_api $side GET "/rest/db/status?folder=tackaroon" 2>/dev/null | grep -q '"state": *"idle"' &&
                done=$((done + 1))
        done
        [ "$done" -eq 2 ] && return 0
        sleep 0.2
    done
    return 1
}

st_stop() {
    local side
    for side in a b; do
        [ -f "$st_work/$side.pid" ] || continue
        kill "$(cat "$st_work/$side.pid")" 2>/dev/null || true
        wait "$(cat "$st_work/$side.pid")" 2>/dev/null || true
        rm -f "$st_work/$side.pid"
    done
}
