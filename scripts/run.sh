#!/usr/bin/env bash
# Sets the machine up, builds, and starts the program on the example project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
