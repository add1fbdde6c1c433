#!/bin/sh
# End to end, `wordloom-cli form tobinary|totext` on one large generated form (some 6.7 MB of
# text): process start, read, conversion and the atomic write with its syncs, as CPU time
# (task-clock: user + system) of the whole process, over RUNS runs; beside it the Free Pascal
# yardstick's in-memory conversion of the same form (bench/fpc_yardstick/run.sh, its mean CPU
# time) and the ratio.
#   ninja -C build wordloom-cli make_large_form
#   bench/cli_form_bench.sh build [RUNS]
# Needs perf (Debian package linux-perf). Without fpc the yardstick columns stay empty.
set -eu
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [RUNS]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
runs=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/cli/wordloom-cli"
if ! command -v perf >/dev/null 2>&1; then
    echo "perf not installed (apt-get install linux-perf): no figures" >&2
    exit 1
fi
forms="$build/bench/forms"
mkdir -p "$forms"
if [ ! -f "$forms/large_text.dfm" ] || [ "$build/bench/make_large_form" -nt "$forms/large_text.dfm" ]; then
    "$build/bench/make_large_form" "$forms/large_text.dfm" "$forms/large_binary.dfm" >&2
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The mean task-clock in ms of RUNS runs of the command.
cpu_ms() {
    perf stat -x, -r "$runs" -e task-clock "$@" 2>&1 >/dev/null | awk -F, '$3 ~ /task-clock/ { printf "%.2f", $1 }'
}

printf '%-9s %10s %12s %9s %12s %10s %7s\n' direction "input MB" "CLI CPU ms" "CLI MB/s" "fpc CPU ms" "fpc MB/s" ratio
for direction in tobinary totext; do
    if [ "$direction" = tobinary ]; then input="$forms/large_text.dfm"; else input="$forms/large_binary.dfm"; fi
    "$cli" form "$direction" "$input" "$out/warm.dfm" # page cache and binary loaded
    ms=$(cpu_ms "$cli" form "$direction" "$input" "$out/out.dfm")
    bytes=$(stat -c %s "$input")
    fpc=$("$here/fpc_yardstick/run.sh" "$build" "$direction" "$input" "$runs" 2>/dev/null |
        sed -n 's/.*mean \([0-9.]*\) ms.*/\1/p')
    awk -v d="$direction" -v b="$bytes" -v ms="$ms" -v f="${fpc:-}" 'BEGIN {
        mb = b / 1e6
        if (f == "") printf "%-9s %10.2f %12.2f %9.1f %12s %10s %7s\n", d, mb, ms, mb / ms * 1e3, "-", "-", "-"
        else printf "%-9s %10.2f %12.2f %9.1f %12.2f %10.1f %6.1fx\n", d, mb, ms, mb / ms * 1e3, f, mb / f * 1e3, f / ms
    }'
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores" >&2
