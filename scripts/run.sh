#!/usr/bin/env bash
# Sets the machine up, builds, and starts the workbench in the build folder, beside the shipped
# strings.db, with a copy of the example project ready to pick (build/examples/Demo.dpr).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

# Translate rewrites a project in place: work on a copy, never on the sources of the repository.
if [ ! -d "$root/build/examples" ]; then
    cp -r "$root/examples" "$root/build/examples"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display to show the window on (set DISPLAY, or run it under xvfb-run)" >&2
    exit 1
fi
# The program opens ./strings.db; its file dialog starts in this folder, where examples/ lies.
cd "$root/build"
exec ./wordloom
