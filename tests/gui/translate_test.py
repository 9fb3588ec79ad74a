#!/usr/bin/python3
"""The Translate button end to end, as a person uses it: the real Linux program under openbox on
Xvfb, talking to the stand-in service, which answers for api.fanyi.baidu.com inside a network
namespace of its own (made by tools/standin-ns; needs root).

Usage: tests/gui/translate_test.py build/linux/quorvane [unittest options]
"""
import os
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import xsession  # noqa: E402
from xsession import ProgramTests, wait_until  # noqa: E402

STANDIN_LOG = None


def in_standin_namespace():
    """Re-runs this script inside a network namespace with the stand-in, unless it already is."""
    if os.environ.get("QUORVANE_GUI_STANDIN"):
        return os.path.join(os.environ["QUORVANE_GUI_STANDIN"], "standin.log")
    namespace = f"quorvane-gui-{os.getpid()}"
    standin_ns = os.path.join(ROOT, "tools", "standin-ns")
    with tempfile.TemporaryDirectory(prefix="quorvane-standin-") as work:
        subprocess.run([standin_ns, "up", namespace, work], check=True)
        try:
            status = subprocess.call(["ip", "netns", "exec", namespace, sys.executable, *sys.argv],
                                     env=dict(os.environ, QUORVANE_GUI_STANDIN=work))
        finally:
            subprocess.run([standin_ns, "down", namespace, work])
    sys.exit(status)


def requests_sent():
    """The texts the stand-in has been asked to translate so far."""
    with open(STANDIN_LOG, encoding="utf-8", errors="replace") as log:
        queries = [line[len("query: "):].strip() for line in log if line.startswith("query: ")]
    return [urllib.parse.parse_qs(q).get("q", [""])[0] for q in queries]


class TranslateTests(ProgramTests, unittest.TestCase):
    window_manager = True

    def setUp(self):
        super().setUp()
        self.input, self.output, self.button = self.program.controls()

    def boxes(self):
        return self.program.text(self.input), self.program.text(self.output)

    def translate(self, typed=None, pasted=None):
        """Types or pastes into the input box, clicks 翻译 and waits for the output box to change."""
        before = self.program.text(self.output)
        if typed:
            self.display.run("xdotool", "type", "--delay", "20", typed)
        if pasted:
            self.program.paste(pasted)
        self.program.click(self.button)
        wait_until(lambda: self.program.text(self.output) != before, timeout=10)

    def test_typed_text_comes_back_with_its_translation(self):
        self.translate(typed="hello world")
        self.assertEqual(self.boxes(), ("", "hello world\n你好，世界"))
        # A second translation replaces the first.
        self.translate(pasted="你好世界")
        self.assertEqual(self.boxes(), ("", "你好世界\nHello World"))

    def test_several_lines_are_sent_and_shown_as_typed(self):
        self.display.key("h", "e", "l", "l", "o", "Return", "w", "o", "r", "l", "d")
        self.translate()
        self.assertEqual(requests_sent()[-1], "hello\r\nworld")
        self.assertEqual(self.boxes(), ("", "hello\nworld\n你好\n世界"))

    def test_failure_names_the_reason_and_keeps_both_boxes(self):
        self.translate(typed="hello")
        self.display.run("xdotool", "type", "--delay", "20", "fault:500 again")
        self.program.click(self.button)
        notice = wait_until(self.program.notice, timeout=10)
        self.assertTrue(notice, "no notice")
        caption, texts, buttons = notice
        self.assertEqual((caption, buttons), ("友情提醒", ["OK"]))
        self.assertTrue(texts and texts[0].startswith("翻译失败：") and len(texts[0]) > len("翻译失败："), texts)
        self.display.key("Return")
        self.assertTrue(wait_until(lambda: self.program.notice() is None))
        self.assertEqual(self.boxes(), ("fault:500 again", "hello\n你好"))

    def test_while_in_flight_the_button_is_off_and_typing_is_kept(self):
        self.display.run("xdotool", "type", "--delay", "20", "fault:slow=2000 hello")
        asked = len(requests_sent())
        self.program.click(self.button)
        self.assertTrue(wait_until(lambda: not self.program.enabled(self.button)), "button still on")
        self.program.click(self.button)  # ignored
        self.program.click(self.input)
        self.display.key("ctrl+End", "exclam")
        self.assertTrue(wait_until(lambda: self.program.text(self.output), timeout=10), "no result")
        self.assertEqual(self.boxes(), ("fault:slow=2000 hello!", "fault:slow=2000 hello\n你好"))
        self.assertEqual(requests_sent()[asked:], ["fault:slow=2000 hello"])
        self.assertTrue(wait_until(lambda: self.program.enabled(self.button)))

    def test_closing_while_in_flight_ends_the_program_cleanly(self):
        self.display.run("xdotool", "type", "--delay", "20", "fault:slow=2000 hello")
        self.program.click(self.button)
        self.assertTrue(wait_until(lambda: not self.program.enabled(self.button)), "button still on")
        self.display.key("Escape")
        self.assertTrue(wait_until(lambda: self.program.process.poll() is not None, timeout=10), "still running")
        self.assertEqual(self.program.process.returncode, 0)


if __name__ == "__main__":
    STANDIN_LOG = in_standin_namespace()
    xsession.in_dbus_session()
    ProgramTests.program_path = os.path.abspath(sys.argv.pop(1))
    unittest.main()
