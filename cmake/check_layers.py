#!/usr/bin/env python3
"""Fails when a source file includes from a folder above its own layer.

Each product folder lists the folders it may include from (besides itself).
Window libraries are peers: none of them includes another. Files under
tests/<folder> and bench/<folder> follow <folder>'s rule and may also use the
shared test helpers. gateway/ includes no Qt header; its Qt Designer control,
gateway/designer/, is a layer of its own above it. Usage: check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

BELOW = {
    "gateway": set(),
    "gateway/designer": {"gateway"},
    "store": set(),
    "core": {"store"},
    "contacts": {"store", "core"},
    "sending": {"store", "core", "contacts", "gateway"},
    "ui": {"store", "core"},
    "books": {"store", "core", "contacts", "ui"},
    "browser": {"store", "core", "contacts", "ui"},
    "messaging": {"store", "core", "contacts", "sending", "ui", "gateway", "gateway/designer"},
    "users": {"store", "core"},
    "access": {"store", "core", "ui", "users"},
    "transfer": {"store", "core", "contacts"},
    "cli": {"store", "core", "contacts", "sending", "gateway", "users", "transfer"},
    "app": {"store", "core", "contacts", "sending", "ui", "books", "browser", "messaging", "users", "access",
            "transfer", "gateway", "gateway/designer"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')
QT_FREE = {"gateway"}
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w+/.*|q\w+\.h)$")


def folder_of(include):
    head = include.split("/", 1)[0]
    if head in {"qwirl", "qwirl-gobject"}:
        return "gateway"
    if head == "qwirl-qt":
        return "gateway/designer"
    return head if "/" in include and head in BELOW else None


def main(root):
    root = pathlib.Path(root)
    faults = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in {".cpp", ".h", ".hpp", ".c"}:
            continue
        parts = path.relative_to(root).parts
        if parts[0].startswith("build") or parts[0].startswith("."):
            continue
        extra = set()
        if parts[0] in {"tests", "bench", "fuzz"} and len(parts) > 2:
            layer, inner = parts[1], parts[2:]
            extra = {"tests", "bench"}
        else:
            layer, inner = parts[0], parts[1:]
        if len(inner) > 1 and f"{layer}/{inner[0]}" in BELOW:
            layer = f"{layer}/{inner[0]}"
        if layer not in BELOW:
            continue
        allowed = BELOW[layer] | {layer}
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            head = target.split("/", 1)[0]
            if head in extra:
                continue
            if layer in QT_FREE and QT_HEADER.match(target) and not target.startswith("qwirl"):
                faults.append(f"{path.relative_to(root)}:{number}: {layer}/ includes Qt: {target}")
                continue
            used = folder_of(target)
            if used is not None and used not in allowed:
                faults.append(f"{path.relative_to(root)}:{number}: {layer}/ includes from {used}/: {target}")
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} include(s) out of place")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
