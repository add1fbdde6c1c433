#!/usr/bin/env bash
# Configures and builds one build folder. Usage: scripts/build.sh BUILD_DIR [cmake options...]
# The options are applied to an existing folder too. A new folder is RelWithDebInfo unless the
# options say otherwise. Under CI=true, warnings are errors (-DWORDLOOM_WERROR=ON, which the
# options given can still override).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build"}
shift || true
options=("$@")
if [ "${CI:-}" = true ]; then
    options=(-DWORDLOOM_WERROR=ON "${options[@]}")
fi
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
elif [ ${#options[@]} -gt 0 ]; then
    cmake -S "$root" -B "$dir" "${options[@]}" >/dev/null
fi
cmake --build "$dir" -- -j"$(nproc)"
