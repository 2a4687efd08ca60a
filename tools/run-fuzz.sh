#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each.
# Usage: run-fuzz.sh BUILD_DIR SECONDS
set -eu
build=$1
seconds=${2:-30}
status=0
for target in "$build"/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/$name-" "$corpus" >"$build/$name.log" 2>&1; then
        tail -n 40 "$build/$name.log"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$build/$name.log" | tail -n 2
    fi
done
exit $status
