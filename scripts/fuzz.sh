#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for N seconds (default 60) on a copy of
# its seed corpus. Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
# The Paradox reader leaves pxlib's document of a failed open on purpose (scripts/lsan.supp).
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}"
"$root/scripts/setup.sh"
CC=clang CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DWORDLOOM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
shopt -s nullglob
for seeds in "$root"/fuzz/seeds/*/; do
    name=$(basename "$seeds")
    exe="$root/build-fuzz/fuzz/$name"
    [ -x "$exe" ] || { echo "fuzz: no target $name"; exit 1; }
    work=$(mktemp -d)
    cp -r "$seeds". "$work/"
    # The readers of translation files and the quality checks are small: 20 s each at most.
    time=$seconds
    if [[ ($name == exchange_* || $name == qa_*) && $time -gt 20 ]]; then time=20; fi
    echo "fuzz: $name for ${time}s"
    "$exe" -max_total_time="$time" -rss_limit_mb=2048 -print_final_stats=1 "$work" 2>&1 | tail -n 12
    rm -rf "$work"
done
