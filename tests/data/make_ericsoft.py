#!/usr/bin/python3
"""Writes the Ericsoft customer registers used by the import tests.

The tables are made by python3-dbf (Debian package python3-dbf), a DBF writer
that owes nothing to our reader, so the tests read files as other programs
write them. Run it from anywhere; it rewrites the files under ericsoft/:

  vfp/ANAGRAFICHE.DBF      Visual FoxPro, code page 1252, null-capable fields,
                           a deleted record
  dbase3/anagrafiche.dbf   dBase III, code page 850 (language driver 0x02),
                           a deleted record
  nocodepage/Anagrafiche.Dbf
                           dBase III whose header names no code page, text
                           written as Windows-1252
  nofield/anagrafiche.dbf  a table without the field telefono_3
  badcodes/anagrafiche.dbf market codes that can name no book
"""
import os
import shutil

import dbf

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ericsoft")


def make(path, fields, dbf_type, codepage, rows, deleted=()):
    folder = os.path.dirname(path)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    table = dbf.Table(path, fields, dbf_type=dbf_type, codepage=codepage)
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    for index in deleted:
        dbf.delete(table[index])
    table.close()


def rename(folder, name):
    """python3-dbf names files in lower case; tables from Windows come in any case."""
    for entry in os.listdir(folder):
        if entry.lower() == name.lower():
            os.rename(os.path.join(folder, entry), os.path.join(folder, name))


def clear_language_driver(path):
    """A header whose language driver byte (offset 29) is 0 names no code page."""
    with open(path, "r+b") as table:
        table.seek(29)
        table.write(b"\x00")


# The edge cases of the import, in register order. Principale holds
# "3334445555" and "+393336667777" before the import (the tests put them there).
VFP_ROWS = [
    ("7", "Rossi", "Mario", "mario@rossi.it", "+39 333/123.4567"),  # -> Mercato-7, 393331234567
    ("", "  Bianchi  ", "", "", "347 111 2222"),  # -> Principale; blanks; Mercato- made
    ("7", "Verdi", "Anna", "", "tel. n/d"),  # no digit: skipped
    ("12", "Cancellato", "Record", "", "3209998888"),  # deleted record: skipped
    ("12", "Niccolò", "Perù", "", None),  # null number: skipped, Mercato-12 made all the same
    ("7", "Rossi bis", "", "", "393331234567"),  # twice in the register: added once
    ("3", "Già", "Presente", "", "333-444-5555"),  # already in Principale: skipped
    ("3", "Più", "Zoë", "città@€uro.it", "39 333 666 7777"),  # Principale holds it with "+": added
]

make(os.path.join(HERE, "vfp", "anagrafiche.dbf"),
     "RN_MER C(5) NULL; COGNOME C(30) NULL; NOME C(30) NULL; POSTA C(40) NULL; TELEFONO_3 C(20) NULL",
     "vfp", "cp1252", VFP_ROWS, deleted=(3,))
rename(os.path.join(HERE, "vfp"), "ANAGRAFICHE.DBF")

make(os.path.join(HERE, "dbase3", "anagrafiche.dbf"),
     "rn_mer C(5); cognome C(30); nome C(30); posta C(40); telefono_3 C(20)",
     "db3", "cp850",
     [("1", "Cantù", "Niño", "", "0039 340 1234567"),
      ("1", "Rimosso", "", "", "3400000000"),
      ("", "Forlì", "Ærø", "a@b.it", "3479876543")],
     deleted=(1,))

make(os.path.join(HERE, "nocodepage", "anagrafiche.dbf"),
     "RN_MER C(5); COGNOME C(30); NOME C(30); POSTA C(40); TELEFONO_3 C(20)",
     "db3", "cp1252",
     [("", "Perù", "José", "", "3311234567")])
rename(os.path.join(HERE, "nocodepage"), "Anagrafiche.Dbf")
clear_language_driver(os.path.join(HERE, "nocodepage", "Anagrafiche.Dbf"))

make(os.path.join(HERE, "nofield", "anagrafiche.dbf"),
     "RN_MER C(5); COGNOME C(30); NOME C(30); POSTA C(40)",
     "db3", "cp1252",
     [("1", "Rossi", "Mario", "")])

make(os.path.join(HERE, "badcodes", "anagrafiche.dbf"),
     "rn_mer C(254); cognome C(30); nome C(30); posta C(40); telefono_3 C(20)",
     "db3", "cp1252",
     [("../x", "Uno", "Ugo", "", "3401111111"),
      ("a/b", "Due", "", "", "3402222222"),
      ("x" * 250, "Tre", "", "", "3403333333"),
      ("5", "Quattro", "", "", "3404444444")])
