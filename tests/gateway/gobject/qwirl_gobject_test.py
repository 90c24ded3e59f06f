"""The Qwirl 1.6 type library as a Python host sees it through PyGObject.

Needs GI_TYPELIB_PATH and LD_LIBRARY_PATH pointing at the built library, QWIRL_SANDBOX_PATH naming
qwirl-sandbox and QWIRL_GIR naming the generated Qwirl-1.6.gir.
"""
import json
import os
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

import gi

gi.require_version("Qwirl", "1.6")
from gi.repository import GLib, GObject, Qwirl  # noqa: E402

STRINGS = ["password", "login", "Sender", "ProxyAddress", "ProxyLogin", "ProxyPassword"]


class Sandbox:
    """qwirl-sandbox on a free port of 127.0.0.1, with its log of accepted SMS."""

    def __init__(self, *arguments):
        self.folder = tempfile.TemporaryDirectory()
        self.log = os.path.join(self.folder.name, "log")
        self.process = subprocess.Popen(
            [os.environ["QWIRL_SANDBOX_PATH"], "--port", "0", "--log", self.log, *arguments],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("listening on "):
            raise RuntimeError("the sandbox did not start: " + line)
        self.host = line.split()[-1]

    def log_lines(self):
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def close(self):
        self.process.terminate()
        self.process.wait(10)
        self.process.stdout.close()
        self.folder.cleanup()


def control_on(sandbox):
    """A control created while QWIRL_SEND_HOST and QWIRL_NOTIFY_HOST point at the sandbox."""
    os.environ["QWIRL_SEND_HOST"] = sandbox.host
    os.environ["QWIRL_NOTIFY_HOST"] = sandbox.host
    try:
        return Qwirl.Control()
    finally:
        del os.environ["QWIRL_SEND_HOST"], os.environ["QWIRL_NOTIFY_HOST"]


def string_value(text):
    value = GObject.Value(GObject.TYPE_STRING)
    value.set_string(text)
    return value


class Properties(unittest.TestCase):
    def test_a_fresh_control_has_the_defaults(self):
        control = Qwirl.Control()
        expected = {"Quality": 2, "Flash": False, **{name: "" for name in STRINGS}}
        self.assertEqual({name: control.get_property(name) for name in expected}, expected)

    def test_values_are_stored_as_given(self):
        rows = [  # property, value set, value read back
            ("Flash", 5, True), ("Flash", True, True), ("Flash", 0, False),
            ("Quality", 0, 0), ("Quality", 4, 4), ("Quality", -7, -7),
            ("Sender", "Parlix Demo Sender", "Parlix Demo Sender"), ("login", "maria rossi", "maria rossi"),
            ("password", None, ""), ("ProxyAddress", "proxy:3128", "proxy:3128"), ("ProxyLogin", "è", "è"),
        ]
        for name, given, read in rows:
            with self.subTest(name=name, given=given):
                control = Qwirl.Control()
                control.set_property(name, given)
                self.assertEqual(control.get_property(name), read)

    def test_reset_closes_the_internet_objects_and_keeps_the_properties(self):
        control = Qwirl.Control()
        control.props.login, control.props.Quality, control.props.Flash = "demo", 3, True
        control.reset()
        control.close_internet()
        self.assertEqual((control.props.login, control.props.Quality, control.props.Flash), ("demo", 3, True))


class Methods(unittest.TestCase):
    def setUp(self):
        self.sandbox = Sandbox("--credit", "40")
        self.control = control_on(self.sandbox)

    def tearDown(self):
        self.sandbox.close()

    def test_sender_is_cut_to_eleven_characters_only_once_a_send_passes_its_checks(self):
        self.control.props.Sender = "Parlix Demo 14"
        self.assertEqual(self.control.send("+393331234567", "Ciao"), 5)  # no login yet
        self.assertEqual(self.control.props.Sender, "Parlix Demo 14")
        self.control.props.login, self.control.props.password = "demo", "demo"
        self.assertEqual(self.control.send("+393331234567", "Ciao"), 0)
        self.assertEqual(self.control.props.Sender, "Parlix Demo")

    def test_send_notify_and_check_credits_reach_the_gateway(self):
        self.control.props.login, self.control.props.password = "demo", "demo"
        self.control.props.Flash = 7
        self.assertEqual(self.control.check_credits(), 40)
        self.assertEqual(self.control.send("+393331234567", "Perché no?"), 0)
        self.assertEqual(self.control.send_notify("+393331234568", "Avviso", "123456"), 0)
        self.assertEqual(self.control.check_credits(), 38)
        log = self.sandbox.log_lines()
        self.assertEqual([(e["recipient"], e["type"], e["text"]) for e in log],
                         [("+393331234567", "FLASH", "Perché no?"), ("+393331234568", "FLASH", "Avviso")])
        self.assertEqual(log[1]["message_id"], "123456")

    def test_absent_strings_are_told_from_empty_ones(self):
        self.control.props.login, self.control.props.password = "demo", "demo"
        rows = [  # number, text, message id, result of send, result of send_notify
            (None, "x", "1", 3, 3), ("", "x", "1", 3, 3), ("+39333", None, "1", 4, 4),
            ("+39333", "x", None, 0, 14), ("+39333", "x", "", 0, 14), ("+39333", "", "12", 0, 0),
        ]
        for number, text, message_id, sent, notified in rows:
            with self.subTest(number=number, text=text, message_id=message_id):
                self.assertEqual(self.control.send(number, text), sent)
                self.assertEqual(self.control.send_notify(number, text, message_id), notified)


class Dispatch(unittest.TestCase):
    def test_dispatch_ids_match_names_without_regard_to_case(self):
        rows = [("Flash", 1), ("password", 2), ("Password", 2), ("LOGIN", 3), ("sender", 4), ("Send", 5),
                ("proxyaddress", 6), ("ProxyLogin", 7), ("PROXYPASSWORD", 8), ("checkcredits", 9),
                ("SENDNOTIFY", 10), ("Quality", 11), ("Sendx", -1), ("", -1), ("send_notify", -1)]
        for name, dispid in rows:
            with self.subTest(name=name):
                self.assertEqual(Qwirl.dispatch_id(name), dispid)

    def test_invoke_reads_and_writes_properties(self):
        control = Qwirl.Control()
        self.assertIsNone(control.invoke(Qwirl.dispatch_id("Flash"), [5]))
        self.assertIsNone(control.invoke(Qwirl.dispatch_id("Sender"), ["Studio Bianchi"]))
        self.assertIsNone(control.invoke(Qwirl.dispatch_id("Quality"), [3]))
        self.assertIsNone(control.invoke(Qwirl.dispatch_id("Login"), [string_value(None)]))
        rows = [("Flash", True), ("Sender", "Studio Bianchi"), ("Quality", 3), ("Login", ""), ("ProxyLogin", "")]
        for name, value in rows:
            with self.subTest(name=name):
                self.assertEqual(control.invoke(Qwirl.dispatch_id(name), []), value)
        self.assertEqual((control.props.Flash, control.props.Sender, control.props.Quality),
                         (True, "Studio Bianchi", 3))

    def test_invoke_calls_the_methods(self):
        sandbox = Sandbox()
        try:
            control = control_on(sandbox)
            control.invoke(Qwirl.Dispid.LOGIN, ["demo"])
            control.invoke(Qwirl.Dispid.PASSWORD, ["demo"])
            self.assertEqual(control.invoke(Qwirl.Dispid.SEND, ["+393331234567", "Ciao"]), 0)
            self.assertEqual(control.invoke(Qwirl.Dispid.SEND_NOTIFY, ["+393331234567", "Ciao", "12"]), 0)
            self.assertEqual(control.invoke(Qwirl.Dispid.CHECK_CREDITS, []), 98)
            self.assertEqual(control.invoke(Qwirl.Dispid.SEND, ["+393331234567", string_value(None)]), 4)
        finally:
            sandbox.close()

    def test_invoke_refuses_what_does_not_fit_with_an_error(self):
        rows = [  # member, arguments, error code
            (0, [], Qwirl.InvokeError.UNKNOWN_MEMBER), (12, [], Qwirl.InvokeError.UNKNOWN_MEMBER),
            (Qwirl.Dispid.SEND, ["+39333"], Qwirl.InvokeError.ARGUMENT_COUNT),
            (Qwirl.Dispid.SEND, ["+39333", "a", "b"], Qwirl.InvokeError.ARGUMENT_COUNT),
            (Qwirl.Dispid.CHECK_CREDITS, ["x"], Qwirl.InvokeError.ARGUMENT_COUNT),
            (Qwirl.Dispid.SEND_NOTIFY, ["+39333", "a", 12], Qwirl.InvokeError.ARGUMENT_TYPE),
            (Qwirl.Dispid.QUALITY, [1, 2], Qwirl.InvokeError.ARGUMENT_COUNT),
            (Qwirl.Dispid.QUALITY, ["2"], Qwirl.InvokeError.ARGUMENT_TYPE),
            (Qwirl.Dispid.QUALITY, [40000], Qwirl.InvokeError.OVERFLOW),
            (Qwirl.Dispid.FLASH, ["yes"], Qwirl.InvokeError.ARGUMENT_TYPE),
            (Qwirl.Dispid.SENDER, [11], Qwirl.InvokeError.ARGUMENT_TYPE),
        ]
        control = Qwirl.Control()
        for dispid, arguments, code in rows:
            with self.subTest(dispid=dispid, arguments=arguments):
                with self.assertRaises(GLib.Error) as raised:
                    control.invoke(dispid, arguments)
                self.assertTrue(raised.exception.matches(Qwirl.invoke_error_quark(), code))
                self.assertEqual(raised.exception.domain, "qwirl-invoke-error-quark")
        self.assertEqual((control.props.Quality, control.props.Flash, control.props.Sender), (2, False, ""))


class TypeLibrary(unittest.TestCase):
    def test_identifiers_and_version(self):
        self.assertEqual((Qwirl.MAJOR_VERSION, Qwirl.MINOR_VERSION), (1, 6))
        self.assertEqual(
            [Qwirl.LIBRARY_ID, Qwirl.DISPATCH_ID, Qwirl.EVENTS_ID, Qwirl.CONTROL_CLASS_ID,
             Qwirl.PROPERTY_PAGE_CLASS_ID, Qwirl.CONTROL_PROGID, Qwirl.PROPERTY_PAGE_PROGID],
            ["{3A869223-B8CA-11D5-9ACF-004005495FCD}", "{3A869224-B8CA-11D5-9ACF-004005495FCD}",
             "{3A869225-B8CA-11D5-9ACF-004005495FCD}", "{3A869226-B8CA-11D5-9ACF-004005495FCD}",
             "{3A869227-B8CA-11D5-9ACF-004005495FCD}", "QWIRL.QWIRLCtrl.1", "QWIRL.QWIRLPropPage.1"])

    def test_the_type_library_carries_the_help_strings(self):
        core = "{http://www.gtk.org/introspection/core/1.0}"
        root = ElementTree.parse(os.environ["QWIRL_GIR"]).getroot()
        namespace = root.find(core + "namespace")
        self.assertEqual((namespace.get("name"), namespace.get("version")), ("Qwirl", "1.6"))

        def doc(kind, name):
            element = namespace.find(f"{core}{kind}[@name='{name}']")
            return element.find(core + "doc").text

        self.assertIn("QWIRL Control", doc("class", "Control"))
        self.assertIn("Dispatch interface for QWIRL Control", doc("enumeration", "Dispid"))
        helps = {name: namespace.find(f"{core}constant[@name='{name}']").get("value")
                 for name in ["LIBRARY_HELP", "DISPATCH_HELP", "EVENTS_HELP", "CONTROL_HELP"]}
        self.assertEqual(helps, {"LIBRARY_HELP": "QWIRL ActiveX Control module",
                                 "DISPATCH_HELP": "Dispatch interface for QWIRL Control",
                                 "EVENTS_HELP": "Event interface for QWIRL Control",
                                 "CONTROL_HELP": "QWIRL Control"})


if __name__ == "__main__":
    unittest.main()
