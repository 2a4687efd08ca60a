#!/bin/sh
# Fails when an include under src/ runs back up the layers. A folder may
# include its own headers and those of any folder at a lower layer:
#   app -> note, scribble, dialogs (one layer) -> groups -> storage -> base
# Within that layer the sticky sits over its drawing: note may include
# scribble, never the reverse.
# Usage: tools/check-layers.sh [source folder, default src]
src=${1:-src}
[ -d "$src" ] || { echo "check-layers: no folder $src" >&2; exit 2; }

layer() {
    case $1 in
    base) echo 0 ;;
    storage) echo 1 ;;
    groups) echo 2 ;;
    note | scribble | dialogs) echo 3 ;;
    app) echo 4 ;;
    *) echo -1 ;;
    esac
}

status=0
for dir in "$src"/*/; do
    from=$(basename "$dir")
    [ "$from" = resources ] && continue
    fromLayer=$(layer "$from")
    if [ "$fromLayer" -lt 0 ]; then
        echo "check-layers: $src/$from has no layer; add it to tools/check-layers.sh"
        status=1
        continue
    fi
    # Every quoted include naming a folder of src/: file:line:folder.
    hits=$(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z_]+/' "$dir" |
        sed -E 's/^([^:]*:[0-9]+):.*"([A-Za-z_]+)\/$/\1:\2/')
    for hit in $hits; do
        to=${hit##*:}
        toLayer=$(layer "$to")
        if [ "$toLayer" -lt 0 ] || [ "$toLayer" -gt "$fromLayer" ] ||
            { [ "$from" = scribble ] && [ "$to" = note ]; }; then
            echo "${hit%:*}: $from includes $to/"
            status=1
        fi
    done
done
[ $status -eq 0 ] && echo "== layers: every include under $src points down"
exit $status
