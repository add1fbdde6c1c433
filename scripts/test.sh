#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
# A throwaway PostgreSQL server for the team-table tests, stopped whatever happens; without one
# those tests skip and say so.
pg_dir=$(mktemp -d /tmp/wordloom-pg.XXXXXX)
trap '"$root/scripts/pg-cluster.sh" stop "$pg_dir" || true; rm -rf "$pg_dir"' EXIT
if address=$("$root/scripts/pg-cluster.sh" start "$pg_dir"); then
    export WORDLOOM_TEST_PG="$address"
else
    echo "test: no PostgreSQL server could be started; its tests skip" >&2
fi
cd "$root/build"
ctest --output-on-failure -j"$(nproc)"
