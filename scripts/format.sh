#!/usr/bin/env bash
# Formats every C++ file of the project in place.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
git ls-files '*.cpp' '*.h' '*.hpp' | xargs -r clang-format -i
