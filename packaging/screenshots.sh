#!/usr/bin/env bash
# Screenshots of Parlix as a new user sees it, under Xvfb with a window manager, at the windows' default
# sizes: the disclaimer, the main window on a book with a long name, its menus, and the dialogs.
#   packaging/screenshots.sh [DIR]      PNG files into DIR (default build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-build/screenshots}")

if [ -z "${PARLIX_SHOTS_INSIDE:-}" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    for p in xvfb xauth imagemagick xdotool openbox; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p"
    done
    cmake --build build --target parlix
    mkdir -p "$out"
    exec xvfb-run -a -s "-screen 0 1280x800x24" env PARLIX_SHOTS_INSIDE=1 "$0" "$out"
fi

home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
openbox >/dev/null 2>&1 &
sleep 1
parlix="$root/build/app/parlix"
"$parlix" --home "$home" --init

# A book with a long name first in the list, with contacts and sent messages.
python3 - "$home" <<'PY'
import shutil, sqlite3, sys
home = sys.argv[1]
long = "Clienti dello studio dentistico Rossi e Bianchi di Milano"
db = sqlite3.connect(f"{home}/elenco.mdb")
db.execute("DELETE FROM elenco")
db.executemany("INSERT INTO elenco (Rubrica) VALUES (?)", [(long,), ("Principale",)])
db.commit()
shutil.copy(f"{home}/rubrica_base.mdb", f"{home}/rubriche/{long}")
book = sqlite3.connect(f"{home}/rubriche/{long}")
book.executemany("INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?,?,?,?,?)", [
    ("Mario", "Rossi", "3331234567", "mario.rossi@example.it", "1"),
    ("Giulia", "Bianchi", "3479876543", "giulia.bianchi@example.it", "1"),
    ("Francesca", "Esposito-Lombardi", "3201122334", "f.esposito.lombardi@example.it", "1"),
])
book.executemany("INSERT INTO inviati (cognome, cellulare, Data, Testo) VALUES (?,?,?,?)", [
    ("Rossi", "3331234567", "07/12/2026 09:15:02", "Gentile cliente, le ricordiamo l'appuntamento di domani alle 10:30."),
    ("Bianchi", "3479876543", "06/12/2026 18:40:11", "Lo studio resterà chiuso il 24 dicembre."),
])
book.commit()
PY

shot() { sleep 1.5; import -window root "$out/$1.png"; echo "$out/$1.png"; }
wait_window() { xdotool search --sync --onlyvisible --name "$1" >/dev/null; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.7; }

# The disclaimer, shown on a first start.
"$parlix" --home "$home" &
pid=$!
wait_window "^Parlix$"
shot 01-disclaimer
kill "$pid"; wait "$pid" 2>/dev/null || true

printf '0\r\n' >"$home/mostra.txt"
"$parlix" --home "$home" &
pid=$!
wait_window "^Parlix$"
shot 02-main-window
key alt+r                      # the Rubrica menu through its mnemonic
shot 03-menu-rubrica
key Down Return                # Inserisci Contatto (the menu opens on its first entry)
shot 04-contact-editor
key Escape
key alt+r Down Down Return     # Cerca Contatto
shot 05-contact-search
key Escape
key alt+r Return               # Gestione Rubriche
shot 06-book-manager
key Escape
key alt+s Return               # Invia SMS Singoli
xdotool type --delay 50 "Ciao, a domani"
key Escape                     # typed text: asks first
shot 07-composer-esc-question
key alt+n                      # No: the text stays
shot 08-composer-kept
key Escape alt+s               # Yes this time: closed
key F1                         # the help page, with no browser to start
shot 09-help-without-browser
key Return
key F10 Left Down Down Return  # F10, then ? > Info
shot 10-about
key Escape
kill "$pid"; wait "$pid" 2>/dev/null || true
