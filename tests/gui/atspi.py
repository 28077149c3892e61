"""Driving a program's windows as a user would, for the GUI tests.

Runs under scripts/run-gui-test.sh: a private X server (Xvfb) and D-Bus session with the
accessibility bus. Controls are found through AT-SPI by their accessible name (a label's or a
button's caption) or description (the dialog's control id, which the wx backend puts there); the
mouse and keyboard are X's own (xdotool), so the program sees real input events.

Every wait polls with a deadline; nothing here waits without one.
"""

import os
import re
import signal
import subprocess
import sys
import threading
import time
import traceback

import pyatspi

DEFAULT_TIMEOUT = 15.0

_running = []  # the programs started and not stopped yet


class GuiTestError(AssertionError):
    pass


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT, interval=0.05):
    """Calls probe() until it returns something true; returns that, or fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception as e:  # the accessible tree changes under our feet while windows come and go
            last_error = e
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise GuiTestError(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def xdotool(*args, timeout=10):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=timeout)
    if result.returncode != 0:
        raise GuiTestError(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
    return result.stdout.strip()


def desktop():
    return pyatspi.Registry.getDesktop(0)


def start_accessibility():
    """Brings the accessibility registry up before any program starts (a program starting while the
    bus itself is being started can fail to connect to the display)."""
    wait_for("the accessibility registry", lambda: desktop() is not None, timeout=30)
    time.sleep(0.3)


# ---------------------------------------------------------------- the accessible tree

def children(acc):
    try:
        return [c for c in acc if c is not None]
    except Exception:
        return []


def walk(acc):
    """acc and everything below it, depth first."""
    stack = [acc]
    while stack:
        a = stack.pop()
        yield a
        stack.extend(reversed(children(a)))


def role(acc):
    return acc.getRoleName()


def states(acc):
    return acc.getState()


def is_showing(acc):
    try:
        return states(acc).contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def matches(acc, name=None, description=None, role_name=None):
    try:
        if name is not None and acc.name != name:
            return False
        if description is not None and acc.description != str(description):
            return False
        if role_name is not None and role(acc) != role_name:
            return False
        return True
    except Exception:
        return False


def find_in(root, name=None, description=None, role_name=None, showing=True):
    for a in walk(root):
        if matches(a, name, description, role_name) and (not showing or is_showing(a)):
            return a
    return None


def toplevel(acc):
    """The window (frame or dialog) a control is in."""
    while True:
        parent = acc.parent
        if parent is None or role(parent) == "application":
            return acc
        acc = parent


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def center(acc):
    x, y, w, h = extents(acc)
    return x + w // 2, y + h // 2


def text_of(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def is_checked(acc):
    return states(acc).contains(pyatspi.STATE_CHECKED)


def is_enabled(acc):
    return states(acc).contains(pyatspi.STATE_ENABLED)


def is_focused(acc):
    return states(acc).contains(pyatspi.STATE_FOCUSED)


def do_action(acc, names=("click", "press", "activate", "toggle")):
    action = acc.queryAction()
    available = [action.getName(i) for i in range(action.nActions)]
    for wanted in names:
        if wanted in available:
            action.doAction(available.index(wanted))
            return
    raise GuiTestError(f"{role(acc)} {acc.name!r} has none of the actions {names}: {available}")


# ---------------------------------------------------------------- mouse and keyboard

def mouse_position():
    out = xdotool("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"])


def mouse_move(x, y):
    # --sync waits for the pointer to arrive, forever when it is there already.
    if mouse_position() != (x, y):
        xdotool("mousemove", "--sync", x, y)


def mouse_click(x, y, button=1, repeat=1):
    mouse_move(x, y)
    xdotool("click", "--repeat", repeat, "--delay", 80, button)


def click_at(acc, dx=None, dy=None, button=1, repeat=1):
    """A real mouse click on the control: at (dx, dy) from its top left, or its middle."""
    x, y, w, h = extents(acc)
    mouse_click(x + (w // 2 if dx is None else dx), y + (h // 2 if dy is None else dy), button, repeat)


def press(*keys):
    """Keys as xdotool names them: "Return", "Escape", "ctrl+v", "Tab"."""
    for k in keys:
        xdotool("key", "--clearmodifiers", k)


def pixel(x, y):
    """The colour (r, g, b) of a screen pixel."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, timeout=20).stdout
    m = re.search(r"#([0-9A-Fa-f]{6})", out)
    if not m:
        raise GuiTestError(f"no pixel read at {x},{y}: {out!r}")
    v = int(m.group(1), 16)
    return (v >> 16) & 255, (v >> 8) & 255, v & 255


def type_keys(text):
    """Types text with real key presses into the focused control."""
    xdotool("type", "--delay", 40, "--", text)


# ---------------------------------------------------------------- a program under test

class App:
    """A program started under test: its standard output collected line by line, its windows found
    through AT-SPI."""

    def __init__(self, argv, env=None, cwd=None, name=None):
        self.argv = [str(a) for a in argv]
        self.name = name or os.path.basename(self.argv[0])
        self.lines = []
        self.cursor = 0
        self._lock = threading.Lock()
        full_env = dict(os.environ)
        full_env.update(env or {})
        self.proc = subprocess.Popen(self.argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=full_env,
                                     cwd=cwd, text=True, bufsize=1, start_new_session=True)
        self.stderr_lines = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self.lines), daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.stderr_lines), daemon=True).start()
        _running.append(self)
        self.app = wait_for(f"{self.name} on the accessibility bus", self._find_app, timeout=30)

    def _read(self, stream, into):
        for line in stream:
            with self._lock:
                into.append(line.rstrip("\n"))

    def _find_app(self):
        if self.proc.poll() is not None:
            raise GuiTestError(f"{self.name} ended with {self.proc.returncode} before showing a window; "
                               f"stderr: {self.stderr_text()}")
        for a in children(desktop()):
            try:
                if a.get_process_id() == self.proc.pid:
                    return a
            except Exception:
                pass
        return None

    def stderr_text(self):
        with self._lock:
            return "\n".join(self.stderr_lines)

    def output(self):
        with self._lock:
            return list(self.lines)

    # --- standard output

    def expect(self, pattern, timeout=DEFAULT_TIMEOUT):
        """Waits for a line matching the regular expression, after the last one expected; returns the
        match. Lines before it are passed over."""
        rx = re.compile(pattern)

        def probe():
            with self._lock:
                for i in range(self.cursor, len(self.lines)):
                    m = rx.search(self.lines[i])
                    if m:
                        self.cursor = i + 1
                        return m
            if self.proc.poll() is not None:
                time.sleep(0.2)  # the last lines may still be on their way
                with self._lock:
                    for i in range(self.cursor, len(self.lines)):
                        m = rx.search(self.lines[i])
                        if m:
                            self.cursor = i + 1
                            return m
                raise GuiTestError(f"{self.name} ended ({self.proc.returncode}) without printing /{pattern}/")
            return None

        try:
            return wait_for(f"/{pattern}/ from {self.name}", probe, timeout)
        except GuiTestError as e:
            raise GuiTestError(f"{e}\nlines since the last match:\n  " +
                               "\n  ".join(self.output()[self.cursor:]) + f"\nstderr: {self.stderr_text()}")

    def skip_output(self):
        """Forgets what was printed so far: the next expect looks at new lines only."""
        with self._lock:
            self.cursor = len(self.lines)

    def printed(self, pattern):
        """Every line printed so far (since the last expect) that matches."""
        rx = re.compile(pattern)
        with self._lock:
            return [l for l in self.lines[self.cursor:] if rx.search(l)]

    # --- windows and controls

    def windows(self):
        return [w for w in children(self.app) if is_showing(w)]

    def window(self, title=None, timeout=DEFAULT_TIMEOUT):
        """A shown top-level window of the program (the newest with that title)."""
        def probe():
            found = [w for w in self.windows() if title is None or w.name == title]
            return found[-1] if found else None
        return wait_for(f"window {title!r} of {self.name}", probe, timeout)

    def control(self, description=None, name=None, role_name=None, window=None, timeout=DEFAULT_TIMEOUT):
        """A shown control found by description (the control id), name or role."""
        def probe():
            roots = [window] if window is not None else self.windows()
            for root in roots:
                found = find_in(root, name, description, role_name)
                if found is not None:
                    return found
            return None
        what = " ".join(f"{k}={v!r}" for k, v in (("id", description), ("name", name), ("role", role_name)) if v)
        return wait_for(f"control {what}", probe, timeout)

    def click_for_control(self, x, y, description, window=None, attempts=4):
        """A click at (x, y) that should show the control (an in-place text box): clicked again when
        it does not come, as a busy machine may deliver two clicks so close that they make a double
        click, or the first click may only select."""
        for _ in range(attempts - 1):
            mouse_click(x, y)
            try:
                return self.control(description, window=window, timeout=4)
            except GuiTestError:
                time.sleep(0.7)
        mouse_click(x, y)
        return self.control(description, window=window)

    def message_box(self, text, timeout=DEFAULT_TIMEOUT):
        """The shown window that has a text containing `text` (a message box)."""
        def probe():
            for w in self.windows():
                for a in walk(w):
                    try:
                        if role(a) == "label" and text in a.name and is_showing(a):
                            return w
                    except Exception:
                        pass
            return None
        return wait_for(f"a message box saying {text!r}", probe, timeout)

    def window_gone(self, window, timeout=DEFAULT_TIMEOUT):
        try:
            title = window.name
        except Exception:
            return  # gone already
        def probe():
            try:
                return not is_showing(window) or window not in self.windows()
            except Exception:
                return True
        wait_for(f"window {title!r} to close", probe, timeout)

    def press_button(self, name, window=None):
        """Clicks a button with the mouse. (An AT-SPI action would run the button's handler inside the
        accessibility call: a modal dialog opened there would leave the bus waiting until it closed.)"""
        click_at(self.control(name=name, role_name="push button", window=window))

    def x_window(self, title, timeout=DEFAULT_TIMEOUT):
        """The X window id of a shown top-level window of the program."""
        def probe():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid), "--name",
                                  f"^{re.escape(title)}$"], capture_output=True, text=True, timeout=10).stdout.split()
            return out[-1] if out else None
        return wait_for(f"X window {title!r}", probe, timeout)

    def focus_window(self, title):
        """Gives the window the keyboard (there is no window manager to do it), and makes sure it
        keeps it: a window that closed a moment ago can still hand the keyboard to its parent."""
        wid = self.x_window(title)

        def settled():
            xdotool("windowfocus", "--sync", wid)
            time.sleep(0.15)
            return xdotool("getwindowfocus") == wid
        wait_for(f"the keyboard on {title!r}", settled, timeout=10)
        return wid

    def focus_control(self, acc):
        """Keyboard focus to a control: its window gets the keyboard, the control a click."""
        self.focus_window(toplevel(acc).name)
        click_at(acc)
        wait_for(f"focus on {role(acc)} {acc.description!r}", lambda: is_focused(acc), timeout=5)

    def type_text(self, acc, text, attempts=3):
        """Replaces the text of an edit as a user would: Ctrl+A, Backspace, then the characters one at
        a time, each checked on the screen; a run that went astray is typed again.

        Two things can go astray on a busy machine. X has no key for a Cyrillic letter: xdotool lends
        it one for the moment, and a program that reads the key after it was taken back sees another
        letter or none. And the window closed last can take the keyboard back a little late."""
        for _ in range(attempts):
            self.focus_control(acc)
            press("ctrl+a", "BackSpace")
            try:
                wait_for("an empty field", lambda: text_of(acc) == "", timeout=3)
            except GuiTestError:
                continue
            typed = True
            for i, ch in enumerate(text):
                xdotool("type", "--", ch)
                want = text[:i + 1]
                try:
                    wait_for(f"{want!r} in the field", lambda: text_of(acc) == want, timeout=3)
                except GuiTestError:
                    typed = False
                    break
            if typed:
                return
        raise GuiTestError(f"could not type {text!r}: the field shows {text_of(acc)!r}")

    # --- the end

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        def probe():
            return self.proc.poll() is not None
        wait_for(f"{self.name} to end", probe, timeout)
        return self.proc.returncode

    def stop(self):
        if self in _running:
            _running.remove(self)
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
                self.proc.wait(timeout=5)
            except Exception:
                try:
                    os.killpg(self.proc.pid, signal.SIGKILL)
                except Exception:
                    pass
                self.proc.wait(timeout=5)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


# ---------------------------------------------------------------- running the tests

def run_tests(tests, overall_timeout=55):
    """Runs test functions in order, each reported; exits 0 when all pass. A watchdog ends the run
    (and its programs) when it takes longer than overall_timeout seconds."""
    def watchdog():
        print(f"FAIL: the GUI test took longer than {overall_timeout} s", flush=True)
        for app in list(_running):
            try:
                os.killpg(app.proc.pid, signal.SIGKILL)
            except Exception:
                pass
        os._exit(124)
    timer = threading.Timer(overall_timeout, watchdog)
    timer.daemon = True
    timer.start()
    start_accessibility()
    failed = 0
    for test in tests:
        began = time.monotonic()
        try:
            test()
            print(f"ok   {test.__name__} ({time.monotonic() - began:.1f} s)", flush=True)
        except Exception as e:
            failed += 1
            print(f"FAIL {test.__name__}: {e}", flush=True)
            traceback.print_exc(limit=4)
        finally:
            for app in list(_running):
                app.stop()
    timer.cancel()
    print(f"{len(tests) - failed} of {len(tests)} passed", flush=True)
    sys.exit(1 if failed else 0)
