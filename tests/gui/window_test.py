#!/usr/bin/python3
"""The real Linux program under Xvfb, bare and under openbox: start-up place and size, the
layout after resizes, and the keyboard.

Usage: tests/gui/window_test.py build/linux/quorvane [unittest options]
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from xsession import SCREEN, Program, ProgramTests, expected_layout, wait_until  # noqa: E402

class WindowTests(ProgramTests):

    def assert_laid_out_for(self, width, height):
        outer = lambda: self.display.outer_rect(self.program.window)[2:]  # noqa: E731
        self.assertEqual(wait_until(lambda: outer() == (width, height)) and outer(), (width, height))
        expected = expected_layout(width, height)
        self.assertEqual(wait_until(lambda: self.program.layout() == expected) and self.program.layout(), expected)

    def assert_focus(self, where, message=None):
        wait_until(lambda: self.program.focused() == where)
        self.assertEqual(self.program.focused(), where, message)

    def test_opens_centred_at_its_design_size_and_laid_out(self):
        self.assert_laid_out_for(592, 446)
        self.assertEqual(self.display.outer_rect(self.program.window)[:2],
                         ((SCREEN[0] - 592) // 2, (SCREEN[1] - 446) // 2))

    def test_layout_follows_resizes(self):
        for width, height in ((700, 500), (100, 40), (592, 446)):
            with self.subTest(size=(width, height)):
                self.display.resize_outer(self.program.window, width, height)
                self.assert_laid_out_for(width, height)

    def test_tab_moves_between_input_box_and_button_only(self):
        self.assert_focus("input")
        for key, where in (("Tab", "button"), ("Tab", "input"), ("shift+Tab", "button"), ("shift+Tab", "input")):
            self.display.key(key)
            self.assert_focus(where, key)

    def test_focus_comes_back_to_the_control_that_had_it(self):
        other = Program(self.display, ProgramTests.program_path)
        self.addCleanup(other.close)
        self.display.run("xdotool", "windowfocus", "--sync", str(self.program.window))
        self.assert_focus("input")
        self.display.key("Tab")
        self.assert_focus("button")
        self.display.run("xdotool", "windowfocus", "--sync", str(other.window))
        self.assert_focus(None, "still focused")
        self.display.run("xdotool", "windowfocus", "--sync", str(self.program.window))
        self.assert_focus("button")

    def test_enter_breaks_the_line_in_the_input_box_and_never_presses_the_button(self):
        input_box, output_box, _ = self.program.controls()
        self.display.key("a", "b", "Return", "c")
        self.assertEqual(wait_until(lambda: self.program.text(input_box) == "ab\nc") and self.program.text(input_box),
                         "ab\nc")
        self.display.key("ctrl+a", "Delete", "Tab", "Return", "KP_Enter", "F1")
        # With the input box empty, a press would raise the notice.
        self.assertIsNone(wait_until(lambda: self.display.window_named("友情提醒"), timeout=1.0))
        self.assertEqual(self.program.focused(), "button")
        self.assertEqual(self.program.text(output_box), "")

    def test_empty_input_raises_the_notice_which_closes_itself(self):
        input_box, output_box, button = self.program.controls()
        self.program.click(button)
        notice = wait_until(lambda: self.display.window_named("友情提醒", self.program.process.pid))
        self.assertTrue(notice, "no notice")
        shown = time.monotonic()
        self.assertEqual(self.program.notice(), ("友情提醒", ["请输入翻译内容！！！"], ["OK"]))
        owner = self.display.run("xprop", "-id", str(notice), "WM_TRANSIENT_FOR").split()[-1]
        self.assertEqual(int(owner, 16), self.program.window)
        # Modal: a click on the main window reaches no control.
        self.program.click(input_box)
        self.assertFalse(wait_until(lambda: self.program.focused() == "input", timeout=1))
        wait_until(lambda: time.monotonic() - shown > 3.5, timeout=4)
        self.assertIsNotNone(self.program.notice(), "gone well before 5 s")
        self.assertTrue(wait_until(lambda: self.program.notice() is None, timeout=3.5), "still up 7 s after")
        self.assertEqual((self.program.text(input_box), self.program.text(output_box)), ("", ""))
        self.assertIsNone(self.program.process.poll())

    def test_notice_closes_at_once_on_ok(self):
        _, _, button = self.program.controls()
        self.program.click(button)
        self.assertTrue(wait_until(lambda: self.program.notice()), "no notice")
        self.display.key("Return")
        self.assertTrue(wait_until(lambda: self.program.notice() is None, timeout=1.5))

    def test_escape_ends_the_program(self):
        input_box, _, _ = self.program.controls()
        self.display.key("h", "i")
        wait_until(lambda: self.program.text(input_box) == "hi")
        self.display.key("Escape")
        self.assertEqual(wait_until(lambda: self.program.process.poll() is not None), True)


class BareX(WindowTests, unittest.TestCase):
    window_manager = False


class UnderOpenbox(WindowTests, unittest.TestCase):
    window_manager = True


if __name__ == "__main__":
    xsession.in_dbus_session()
    ProgramTests.program_path = os.path.abspath(sys.argv.pop(1))
    unittest.main()
