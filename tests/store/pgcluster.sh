#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the store's tests.
#   pgcluster.sh start FILE   makes a cluster in a fresh temporary folder, listening only on a Unix
#                             socket in that folder, and writes its libpq connection string to FILE
#   pgcluster.sh stop FILE    stops that cluster and removes its folder and FILE
#   pgcluster.sh restart FILE stops that cluster (ending every session) and starts it again
# Run as root, the server runs as the "postgres" system user. Every run gets its own folder and port,
# so clusters of other checkouts on the same machine never meet it.
set -euo pipefail
command=$1
pointer=$2

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "pgcluster: PostgreSQL server not installed" >&2; exit 1; }

as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$command" in
start)
    if [ -f "$pointer" ]; then "$0" stop "$pointer" || true; fi
    dir=$(mktemp -d /tmp/parlix-pg.XXXXXX)
    chmod 755 "$dir"
    [ "$(id -u)" -ne 0 ] || chown postgres: "$dir"
    port=$((20000 + RANDOM % 40000))
    as_server "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off -c max_connections=200" \
        start >/dev/null
    echo "host=$dir port=$port user=postgres" >"$pointer"
    ;;
stop)
    [ -f "$pointer" ] || exit 0
    dir=$(sed -n 's/^host=\([^ ]*\) .*/\1/p' "$pointer")
    if [ -n "$dir" ] && [ -d "$dir/data" ]; then
        as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    fi
    case "$dir" in /tmp/parlix-pg.*) rm -rf "$dir" ;; esac
    rm -f "$pointer"
    ;;
restart)
    dir=$(sed -n 's/^host=\([^ ]*\) .*/\1/p' "$pointer")
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -t 60 restart >/dev/null
    ;;
*)
    echo "usage: pgcluster.sh start|stop|restart FILE" >&2
    exit 1
    ;;
esac
