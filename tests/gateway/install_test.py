"""Installing the gateway control registers it; removing what the manifest lists unregisters it.

Usage: install_test.py BUILD_DIR LIBDIR PLUGIN_DIR   (LIBDIR and PLUGIN_DIR relative to the prefix)

Installs the control's components (one a Debian package) into a temporary prefix, checks that a host finds the control there (Python
through the type library, pkg-config, the Designer plugin's libraries), then removes every file of the
install manifest and the folders left empty, and checks that nothing else is left.
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

BUILD, LIBDIR, PLUGIN_DIR = sys.argv[1:4]
del sys.argv[1:4]


def run(command, **environment):
    env = {**os.environ, **environment}
    return subprocess.run(command, env=env, check=True, capture_output=True, text=True).stdout


class InstallAsRegistration(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.prefix = pathlib.Path(self.folder.name) / "prefix"
        self.installed = []
        for component in ["qwirl_runtime", "qwirl_qt_runtime", "qwirl_gobject_runtime", "qwirl_typelib",
                          "qwirl_dev", "qwirl_designer"]:
            run(["cmake", "--install", BUILD, "--prefix", str(self.prefix), "--component", component])
            manifest = pathlib.Path(BUILD) / f"install_manifest_{component}.txt"
            self.installed += [pathlib.Path(line) for line in manifest.read_text().splitlines() if line]

    def tearDown(self):
        self.folder.cleanup()

    def test_files_go_to_the_standard_folders(self):
        relative = {str(p.relative_to(self.prefix)) for p in self.installed}
        expected = {
            f"{LIBDIR}/libqwirl-gobject.so.1", f"{LIBDIR}/libqwirl-qt.so.1", f"{LIBDIR}/libqwirl.so.2",
            f"{LIBDIR}/girepository-1.0/Qwirl-1.6.typelib", "share/gir-1.0/Qwirl-1.6.gir",
            f"{PLUGIN_DIR}/libqwirldesigner.so", f"{LIBDIR}/pkgconfig/qwirl-gobject-1.6.pc",
            "include/qwirl-gobject/qwirl-control.h", "include/qwirl-qt/qwirlcontrol.h", "include/qwirl/control.h",
        }
        self.assertEqual(expected - relative, set())
        self.assertTrue(all(p.is_relative_to(self.prefix) for p in self.installed))

    def test_a_host_finds_the_control_in_the_prefix(self):
        libdir = self.prefix / LIBDIR
        script = ("import gi; gi.require_version('Qwirl', '1.6'); from gi.repository import GIRepository, Qwirl;"
                  "c = Qwirl.Control(); print(c.props.Quality, Qwirl.dispatch_id('Send'),"
                  "gi.Repository.get_default().get_typelib_path('Qwirl'))")
        out = run(["/usr/bin/python3", "-c", script], GI_TYPELIB_PATH=str(libdir / "girepository-1.0"),
                  LD_LIBRARY_PATH=str(libdir)).split()
        self.assertEqual(out[:2], ["2", "5"])
        self.assertTrue(out[2].startswith(str(self.prefix)), out[2])

        # A C host built from the installed header and pkg-config file alone.
        host_source = pathlib.Path(self.folder.name) / "host.c"
        host_source.write_text(
            "#include <qwirl-gobject/qwirl-control.h>\n#include <stdio.h>\n"
            "int main(void) { QwirlControl *c = qwirl_control_new();\n"
            "  printf(\"%d %d\\n\", qwirl_control_get_quality(c), qwirl_dispatch_id(\"sendnotify\"));\n"
            "  g_object_unref(c); return 0; }\n")
        flags = run(["pkg-config", "--cflags", "--libs", "qwirl-gobject-1.6"],
                    PKG_CONFIG_PATH=str(libdir / "pkgconfig")).split()
        self.assertIn(str(self.prefix / "include"), [os.path.normpath(f[2:]) for f in flags if f.startswith("-I")])
        host = pathlib.Path(self.folder.name) / "host"
        run(["cc", str(host_source), "-o", str(host), *flags])
        self.assertEqual(run([str(host)], LD_LIBRARY_PATH=str(libdir)), "2 10\n")

        # The plugin and the libraries find each other in the prefix, with no search path given.
        for library in [self.prefix / PLUGIN_DIR / "libqwirldesigner.so", libdir / "libqwirl-gobject.so.1"]:
            lines = [line.split() for line in run(["ldd", str(library)], LD_LIBRARY_PATH="").splitlines()]
            resolved = {words[0]: words[2] for words in lines if len(words) >= 3 and words[1] == "=>"}
            self.assertNotIn("not", resolved.values())
            self.assertEqual(os.path.normpath(resolved["libqwirl.so.2"]), str(libdir / "libqwirl.so.2"))

    def test_removing_what_the_manifest_lists_leaves_nothing(self):
        for path in self.installed:
            path.unlink()
        for folder in sorted(self.prefix.rglob("*"), key=lambda p: len(p.parts), reverse=True):
            if folder.is_dir() and not any(folder.iterdir()):
                folder.rmdir()
        self.assertEqual(list(self.prefix.iterdir()), [])


if __name__ == "__main__":
    unittest.main()
