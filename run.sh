#!/usr/bin/env bash
# Builds Parlix and starts it on a demo data folder of its own (.demo/ in this
# checkout, never your real one), talking to the local sandbox gateway
# qwirl-sandbox with a demo account (credit 100). The sandbox stops when Parlix
# exits; the SMS it accepted are in .demo/sandbox.log.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: nessun display grafico (DISPLAY o WAYLAND_DISPLAY non impostati): Parlix ha bisogno di una sessione desktop." >&2
    exit 1
fi

./test.sh --build-only

demo="$PWD/.demo"
mkdir -p "$demo"
fresh=0
[ -f "$demo/elenco.mdb" ] || fresh=1
build/app/parlix --home "$demo" --init
# A new demo folder gets two sample books, a few contacts and a saved message.
[ "$fresh" -eq 0 ] || build/cli/parlix-cli --home "$demo" demo >/dev/null
if [ ! -f "$demo/account" ]; then
    # The sandbox's demo account, quality class 2.
    (umask 077 && printf 'demo\r\ndemo\r\n2\r\n' >"$demo/account")
fi

out="$demo/sandbox.out"
: >"$out"
# The sandbox starts again from the credit the demo had left last time.
credit=100
if [ -f "$demo/residui.txt" ]; then
    last=$(head -n 1 "$demo/residui.txt" | tr -d '\r')
    case "$last" in '' | *[!0-9]*) ;; *) credit=$last ;; esac
fi
build/gateway/qwirl-sandbox --port 0 --login demo --password demo --credit "$credit" --log "$demo/sandbox.log" >"$out" &
sandbox=$!
trap 'kill "$sandbox" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    grep -q '^listening on ' "$out" && break
    sleep 0.1
done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$out" | head -n 1)
if [ -z "$port" ]; then
    echo "run.sh: il gateway di prova non è partito (vedi $out)" >&2
    exit 1
fi
echo "Gateway di prova su 127.0.0.1:$port (messaggi accettati in $demo/sandbox.log)"

export QWIRL_SEND_HOST="127.0.0.1:$port" QWIRL_NOTIFY_HOST="127.0.0.1:$port"
if [ "$fresh" -eq 1 ]; then
    # A first SMS to the sample customers, through the sandbox: it shows among the sent messages and
    # leaves the account's real credit in residui.txt.
    build/cli/parlix-cli --home "$demo" send --book Clienti \
        --text "Gentile {Nome}, il suo ordine è pronto: passi pure in negozio." >/dev/null 2>&1 ||
        echo "run.sh: l'SMS di esempio non è partito (il credito mostrato può essere quello iniziale)" >&2
fi
build/app/parlix --home "$demo"
