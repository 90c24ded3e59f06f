"""The generated manual pages and completions of qwirl, qwirl-sandbox and parlix-cli against their own grammars.

    manual_test.py DOCS_DIR QWIRL QWIRL_SANDBOX PARLIX_CLI
"""

import gzip
import json
import re
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

DOCS, PROGRAMS = sys.argv[1], sys.argv[2:5]
GENERATOR = pathlib.Path(__file__).resolve().parents[2] / "packaging" / "gen_docs.py"
del sys.argv[1:5]


def grammar(program):
    return json.loads(subprocess.run([program, "--dump-grammar"], check=True, capture_output=True).stdout)


def page(name, language):
    with gzip.open("%s/%s/%s/%s.1.gz" % (DOCS, name, language, name), "rt", encoding="utf-8") as f:
        return f.read().replace("\\-", "-").replace("\\e", "\\")


def section(text, title):
    """The lines of one .SH section."""
    match = re.search(r'^\.SH "?%s"?\n(.*?)(?=^\.SH |\Z)' % re.escape(title), text, re.M | re.S)
    return match.group(1) if match else ""


class GeneratedManual(unittest.TestCase):
    def test_the_italian_page_names_every_command_option_and_exit_status(self):
        for program in PROGRAMS:
            g = grammar(program)
            text = page(g["program"], "it")
            with self.subTest(program=g["program"]):
                options = set(re.findall(r"\\fB(-[-\w]+)\\fR", section(text, "OPZIONI")))
                self.assertEqual(options, {n for o in g["options"] for n in o["names"]})
                commands = re.findall(r"^\\fB(\w[-\w]*)\\fR", section(text, "COMANDI"), re.M)
                self.assertEqual(commands, [c["name"] for c in g["commands"]])
                statuses = re.findall(r"^\.B (\d+)$", section(text, "STATO DI USCITA"), re.M)
                self.assertEqual([int(s) for s in statuses], [s["code"] for s in g["exit_statuses"]])
                self.assertEqual(len(statuses), len(set(statuses)))
                for note in g["environment"]:
                    self.assertIn(note["name"], section(text, "AMBIENTE"))
                self.assertIn(g["summary"]["it"], section(text, "NOME"))
                # The English page points at it and lists the same options.
                english = page(g["program"], "en")
                self.assertIn("man -L it " + g["program"], english)
                for option in g["options"]:
                    self.assertIn(option["names"][0], english)

    def test_the_qwirl_page_has_every_exit_status_the_program_documents_in_its_help(self):
        help_text = subprocess.run([PROGRAMS[0], "--help"], check=True, capture_output=True, text=True).stdout
        codes = re.findall(r"^  (\d+) ", help_text.split("Stato di uscita:")[1], re.M)
        self.assertEqual(codes, ["0", "1", "2", "3", "4", "5", "6"])


class GeneratedCompletion(unittest.TestCase):
    def complete(self, name, words):
        script = 'source "$0"; COMP_WORDS=(%s); COMP_CWORD=%d; _%s; printf "%%s\\n" "${COMPREPLY[@]}"' % (
            " ".join("'%s'" % w for w in words), len(words) - 1, name.replace("-", "_"))
        result = subprocess.run(["bash", "-c", script, "%s/%s/%s.bash" % (DOCS, name, name)],
                                check=True, capture_output=True, text=True, cwd=DOCS)
        return result.stdout.split()

    def test_bash_offers_commands_options_and_files_where_they_fit(self):
        rows = [  # program, words up to the cursor, expected offers
            ("qwirl", ["qwirl", "--login", "x", "se"], ["send"]),
            ("qwirl", ["qwirl", ""], ["send", "notify", "credits"]),
            ("qwirl", ["qwirl", "send", "--proxy-"], ["--proxy-login", "--proxy-password"]),
            ("qwirl", ["qwirl", "--login", ""], []),
            ("qwirl-sandbox", ["qwirl-sandbox", "--tls-"], ["--tls-cert", "--tls-key"]),
            ("qwirl-sandbox", ["qwirl-sandbox", "--log", "qwirl-s"], ["qwirl-sandbox"]),
            ("parlix-cli", ["parlix-cli", "--home", "x", "import-"], ["import-csv", "import-vcard", "import-ericsoft"]),
            ("parlix-cli", ["parlix-cli", "send", "--s"], ["--split"]),
            ("parlix-cli", ["parlix-cli", "books", "--j"], ["--json"]),
        ]
        for name, words, expected in rows:
            with self.subTest(words=words):
                self.assertEqual(self.complete(name, words), expected)

    @unittest.skipUnless(shutil.which("zsh"), "zsh is not installed")
    def test_zsh_reads_the_completion_functions(self):
        for name in ("qwirl", "qwirl-sandbox", "parlix-cli"):
            with self.subTest(name=name):
                subprocess.run(["zsh", "-n", "%s/%s/_%s" % (DOCS, name, name)], check=True)


class OptionsOfOneCommand(unittest.TestCase):
    """A grammar whose commands have options of their own, as parlix-cli's will."""

    def test_the_page_and_completion_carry_them(self):
        option = {"names": ["--book"], "value": "RUBRICA", "help": "la rubrica", "repeatable": False,
                  "complete": ""}
        home = {"names": ["--home"], "value": "CARTELLA", "help": "la cartella", "repeatable": False,
                "complete": "directory"}
        grammar = {"format": 1, "program": "demo", "version": "1", "summary": {"it": "prova", "en": "test"},
                   "description": [], "options": [home], "exit_statuses": [{"code": 0, "meaning": "ok"}],
                   "commands": [{"name": "import-csv", "operands": ["FILE"], "help": "importa",
                                 "options": [option]}, {"name": "books", "operands": [], "help": "elenca"}],
                   "environment": [], "files": [], "examples": []}
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder)
            (path / "demo.json").write_text(json.dumps(grammar))
            subprocess.run([sys.executable, GENERATOR, path / "demo.json", path], check=True)
            text = (path / "it" / "demo.1").read_text().replace("\\-", "-")
            self.assertIn("--book", section(text, "COMANDI"))
            (path / "sub").mkdir()
            rows = [(["demo", "import-csv", "--b"], ["--book"]), (["demo", "books", "--b"], []),
                    (["demo", "--home", str(path / "s")], [str(path / "sub")])]
            for words, expected in rows:
                script = 'source "$0"; COMP_WORDS=(%s); COMP_CWORD=%d; _demo; printf "%%s\\n" "${COMPREPLY[@]}"' % (
                    " ".join("'%s'" % w for w in words), len(words) - 1)
                result = subprocess.run(["bash", "-c", script, path / "demo.bash"], check=True,
                                        capture_output=True, text=True)
                self.assertEqual(result.stdout.split(), expected, words)


if __name__ == "__main__":
    unittest.main()
