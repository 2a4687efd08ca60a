#!/usr/bin/env bash
# Runs every benchmark of a native build and prints its figures.
set -eu
build=$1
for bench in "$build"/bench_*; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" --benchmark_min_time=0.2
done
