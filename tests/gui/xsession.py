"""A private X display (Xvfb on :60-:69), an optional window manager, and the program on it,
watched from outside: X window geometry through xwininfo/xprop, the controls through AT-SPI.

Run the tests inside their own D-Bus session (see in_dbus_session), which AT-SPI needs.
"""
import os
import subprocess
import sys
import tempfile
import time

try:
    import gi
except ImportError:  # another python3 first on PATH: the system's has the GObject bindings
    if sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

SCREEN = (1920, 1080)


def in_dbus_session():
    """Re-runs this script inside a D-Bus session of its own unless it already is in one."""
    if os.environ.get("QUORVANE_GUI_BUS") == "1":
        return
    # A runtime folder of its own too: the accessibility bus puts its socket there, and two runs
    # side by side must not share it.
    with tempfile.TemporaryDirectory(prefix="quorvane-gui-") as runtime:
        env = dict(os.environ, QUORVANE_GUI_BUS="1", XDG_RUNTIME_DIR=runtime)
        status = subprocess.call(["dbus-run-session", "--", sys.executable, *sys.argv], env=env)
    sys.exit(status)


def wait_until(condition, timeout=5.0, step=0.05):
    """The condition's last value, once truthy or when the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(step)


def start_xvfb():
    """Xvfb on the first display of :60-:69 that it can take, and that display's name."""
    for n in range(60, 70):
        if os.path.exists(f"/tmp/.X{n}-lock"):
            continue
        xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                                 "-nolisten", "tcp", "-br", "-noreset"], stderr=subprocess.DEVNULL)
        # Another server may have taken the number meanwhile: then this one ends, and the next is tried.
        if wait_until(lambda: xvfb.poll() is not None or (lock_pid(n) == xvfb.pid
                                                          and os.path.exists(f"/tmp/.X11-unix/X{n}")), 10):
            if xvfb.poll() is None:
                return xvfb, f":{n}"
        else:
            xvfb.kill()
        xvfb.wait()
    raise RuntimeError("no X display free in :60-:69")


def lock_pid(n):
    try:
        with open(f"/tmp/.X{n}-lock") as lock:
            return int(lock.read().strip() or 0)
    except (OSError, ValueError):
        return None


class Display:
    """Xvfb on the first free display of :60-:69, with openbox when asked."""

    def __init__(self, window_manager=False):
        self.window_manager = window_manager
        self.processes = []

    def __enter__(self):
        xvfb, self.name = start_xvfb()
        self.processes.append(xvfb)
        self.env = dict(os.environ, DISPLAY=self.name)
        if self.window_manager:
            self.processes.append(subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                                   stderr=subprocess.DEVNULL))
            if not wait_until(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.run("xprop", "-root"), 10):
                raise RuntimeError("openbox did not start")
        return self

    def __exit__(self, *exc):
        for p in reversed(self.processes):
            p.terminate()
            p.wait()

    def run(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=20).stdout

    def key(self, *keys):
        """Keys through XTEST, to whatever window has the input focus."""
        self.run("xdotool", "key", "--delay", "50", *keys)

    def window_named(self, name, pid=None):
        """Id of a visible top-level window with this exact title, or None."""
        args = ["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"]
        if pid:
            args[2:2] = ["--all", "--pid", str(pid)]  # every criterion, not any
        ids = self.run(*args).split()
        return int(ids[0]) if ids else None

    def client_rect(self, window):
        """Left, top, width, height of a window's client area on the screen."""
        info = dict(line.strip().split(":", 1) for line in self.run("xwininfo", "-id", str(window)).splitlines()
                    if ":" in line and not line.startswith("xwininfo"))
        return tuple(int(info[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def frame_extents(self, window):
        """Left, right, top, bottom of the window manager's frame; zeros without one."""
        out = self.run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=")[1].split(","))

    def outer_rect(self, window):
        x, y, w, h = self.client_rect(window)
        left, right, top, bottom = self.frame_extents(window)
        return (x - left, y - top, w + left + right, h + top + bottom)

    def resize_outer(self, window, width, height):
        left, right, top, bottom = self.frame_extents(window)
        self.run("xdotool", "windowsize", str(window), str(width - left - right), str(height - top - bottom))


class Program:
    """The program on a display, with its window and its controls as AT-SPI sees them."""

    def __init__(self, display, path):
        self.display = display
        self.runtime_dir = tempfile.TemporaryDirectory()
        env = dict(display.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_RUNTIME_DIR=self.runtime_dir.name)
        Atspi.get_desktop(0)  # connect before the program registers
        self.process = subprocess.Popen([path], env=env)
        self.window = wait_until(lambda: display.window_named("Quorvane", self.process.pid), 10)
        if not self.window:
            self.close()
            raise RuntimeError("the main window did not appear")
        self.frame = wait_until(self._find_frame, 10)
        if not self.frame:
            self.close()
            raise RuntimeError("the program did not show up on the accessibility bus")

    def _top_levels(self):
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app and app.get_process_id() == self.process.pid:
                return [app.get_child_at_index(j) for j in range(app.get_child_count())]
        return []

    def _find_frame(self):
        return next((w for w in self._top_levels() if w.get_name() == "Quorvane"), None)

    def notice(self):
        """The program's message box as (caption, texts, buttons), or None when none is up."""
        try:
            for window in self._top_levels():
                if window and window.get_role() in (Atspi.Role.ALERT, Atspi.Role.DIALOG):
                    return window.get_name(), *self._texts_and_buttons(window)
        except GLib.Error:  # a box closing while it is read
            pass
        return None

    @staticmethod
    def _texts_and_buttons(window):
        texts, buttons = [], []
        # A child of a box that is closing may already be gone (None).
        for child in filter(None, (window.get_child_at_index(i) for i in range(window.get_child_count()))):
            if child.get_role() == Atspi.Role.LABEL and child.get_name():
                texts.append(child.get_name())
            for grandchild in filter(None, (child.get_child_at_index(j) for j in range(child.get_child_count()))):
                if grandchild.get_role() == Atspi.Role.PUSH_BUTTON:
                    buttons.append(grandchild.get_name())
        return texts, buttons

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.runtime_dir.cleanup()

    def controls(self):
        """The input box, the output box and the button, by what they are, not by their order."""
        found = {}
        for i in range(self.frame.get_child_count()):
            child = self.frame.get_child_at_index(i)
            role = child.get_role()
            if role == Atspi.Role.PUSH_BUTTON:
                found["button"] = child
            elif role == Atspi.Role.TEXT:
                editable = child.get_state_set().contains(Atspi.StateType.EDITABLE)
                found["input" if editable else "output"] = child
        return found["input"], found["output"], found["button"]

    def layout(self):
        """Each control's left, top, width, height in the window's client coordinates."""
        x0, y0, _, _ = self.display.client_rect(self.window)
        rects = []
        for control in self.controls():
            e = control.get_extents(Atspi.CoordType.SCREEN)
            rects.append((e.x - x0, e.y - y0, e.width, e.height))
        return tuple(rects)

    def focused(self):
        """Which control has the keyboard focus: 'input', 'output', 'button' or None."""
        for name, control in zip(("input", "output", "button"), self.controls()):
            if control.get_state_set().contains(Atspi.StateType.FOCUSED):
                return name
        return None

    def text(self, control):
        return Atspi.Text.get_text(control, 0, -1)

    def enabled(self, control):
        return control.get_state_set().contains(Atspi.StateType.ENABLED)

    def click(self, control):
        """A mouse click in the middle of the control, as a person would."""
        e = control.get_extents(Atspi.CoordType.SCREEN)
        self.display.run("xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2),
                         "click", "1")

    def paste(self, text):
        """Puts the text where the caret is through the clipboard (xdotool cannot type Chinese)."""
        clipboard = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"], env=self.display.env,
                                     stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clipboard.stdin.write(text.encode())
        clipboard.stdin.close()
        time.sleep(0.2)  # xclip owns the selection
        self.display.key("ctrl+v")
        time.sleep(0.2)
        clipboard.kill()
        clipboard.wait()


class ProgramTests:
    """Test-case mix-in: one display for the class, a fresh run of the program for each test.
    The script sets `program_path` to the program it was given."""

    program_path = None
    window_manager = False

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.window_manager).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.display.__exit__(None, None, None)

    def setUp(self):
        self.program = Program(self.display, ProgramTests.program_path)
        self.addCleanup(self.program.close)


def expected_layout(width, height):
    """Where the controls belong for an outer size, worked out independently of the program."""
    trunc = int  # toward zero
    clamp = lambda v: max(0, v)  # noqa: E731
    w1 = clamp(trunc(width / 2 - 60))
    h = clamp(trunc(height - 50))
    w2 = clamp(trunc(width - w1 - 120))
    return ((8, 8, w1, h), (trunc(w1 + 100), 8, w2, h), (trunc(w2 + 25), trunc(height / 2 - 30), 56, 48))
