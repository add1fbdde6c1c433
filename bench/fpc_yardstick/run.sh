#!/bin/sh
# The Free Pascal yardstick for form conversion: builds form_convert.pas with fpc into the build
# folder and prints its in-memory conversion figures for a form file in the given direction.
#   bench/fpc_yardstick/run.sh BUILD_DIR tobinary|totext FILE [RUNS]
# Without fpc (Debian package fp-compiler) it says so and exits 0: the yardstick is optional.
set -eu
if [ $# -lt 3 ]; then
    echo "usage: $0 BUILD_DIR tobinary|totext FILE [RUNS]" >&2
    exit 2
fi
build=$1
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v fpc >/dev/null 2>&1; then
    echo "fpc not installed (apt-get install fp-compiler): no yardstick figures" >&2
    exit 0
fi
out="$build/bench/fpc_yardstick"
mkdir -p "$out"
if [ ! -x "$out/form_convert" ] || [ "$here/form_convert.pas" -nt "$out/form_convert" ]; then
    fpc -O3 -v0 -FU"$out" -o"$out/form_convert" "$here/form_convert.pas" >/dev/null
fi
"$out/form_convert" "$2" "$3" "${4:-10}"
