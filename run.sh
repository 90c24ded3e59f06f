#!/usr/bin/env bash
# Builds Parlix and starts it on a demo data folder of its own (.demo/ in this
# checkout, never your real one), talking to a local sandbox gateway when one
# has been built.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: nessun display grafico (DISPLAY o WAYLAND_DISPLAY non impostati): Parlix ha bisogno di una sessione desktop." >&2
    exit 1
fi

./test.sh --build-only
exec build/app/parlix --home "$PWD/.demo"
