#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and benchmarks: its data folder, socket and log all in
# DIR, reachable only through that socket, no password (trust for the local socket only).
#   scripts/pg-cluster.sh start DIR   prints the connection string of the database wordloom_test
#   scripts/pg-cluster.sh stop DIR    stops the server (DIR itself is left to the caller)
# The server refuses to run as root: run as root, the script runs it as the postgres user (or
# nobody), which then owns DIR.
set -euo pipefail

action=${1:-}
dir=${2:-}
if [ -z "$action" ] || [ -z "$dir" ]; then
    echo "usage: $0 start|stop DIR" >&2
    exit 2
fi
bin=${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
if [ -z "$bin" ] || [ ! -x "$bin/pg_ctl" ]; then
    echo "pg-cluster: no PostgreSQL server installed (postgresql-15)" >&2
    exit 1
fi

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$owner" -- "$@"
    else
        "$@"
    fi
}

owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    owner=nobody
    id postgres >/dev/null 2>&1 && owner=postgres
fi

case "$action" in
start)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    # Unix sockets have a short path limit; the data folder may be anywhere.
    if [ ${#dir} -gt 90 ]; then
        echo "pg-cluster: the folder path is too long for a socket: $dir" >&2
        exit 1
    fi
    [ "$(id -u)" -eq 0 ] && chown "$owner" "$dir"
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        as_owner "$bin/initdb" -D "$dir/data" -U wordloom --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
            {
                cat "$dir/initdb.log" >&2
                exit 1
            }
    fi
    # No TCP port: nothing outside the machine (or another test run's cluster) can reach or clash.
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c full_page_writes=off -c synchronous_commit=off -c max_connections=60" \
        start >/dev/null || {
        cat "$dir/server.log" >&2
        exit 1
    }
    if ! as_owner "$bin/psql" -h "$dir" -U wordloom -d postgres -Atqc \
        "SELECT 1 FROM pg_database WHERE datname = 'wordloom_test'" | grep -q 1; then
        as_owner "$bin/createdb" -h "$dir" -U wordloom wordloom_test
    fi
    echo "postgresql://wordloom@/wordloom_test?host=$dir"
    ;;
stop)
    dir=$(cd "$dir" && pwd)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
