"""1,000 sends through the introspected control, as a Python host makes them.

Usage: gobject_send_loop.py RUNS   (QWIRL_SEND_HOST names the gateway; login and password "bench")
Prints the seconds of each run's loop, one line each; exit status 1 if a send failed.
"""
import sys
import time

import gi

gi.require_version("Qwirl", "1.6")
from gi.repository import Qwirl  # noqa: E402

CALLS = 1000
messages = [("+39333" + str(1000000 + i), f"Messaggio di prova n. {i}: è tutto a posto, ci vediamo alle 8!")
            for i in range(CALLS)]
control = Qwirl.Control()
control.props.login, control.props.password, control.props.Sender = "bench", "bench-pw", "Parlix"
failures = 0
for _ in range(int(sys.argv[1])):
    start = time.perf_counter()
    for number, text in messages:
        failures += control.send(number, text) != 0
    print(f"{time.perf_counter() - start:.6f}", flush=True)
sys.exit(1 if failures else 0)
