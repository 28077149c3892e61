"""tkdesk as a user runs it the first time: it computes what tkcalc computes from the same first-run
inputs, recomputes on Enter after a new distance, writes its settings on "Выход" and shows them again
on the next start.

    scripts/run-gui-test.sh tests/gui/test_tkdesk.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

from atspi import App, GuiTestError, click_at, press, run_tests, text_of, type_keys, wait_for

TKDESK = sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk"
TKCALC = sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc"

# The correction fields (id: where tkcalc has the value) and the sight line's angle.
CORRECTIONS = {
    1013: ("vertical", "moa"),
    1100: ("vertical", "mil"),
    1015: ("vertical", "cm"),
    1067: ("vertical", "clicks"),
    1021: ("horizontal", "moa"),
    1101: ("horizontal", "mil"),
    1014: ("horizontal", "cm"),
    1068: ("horizontal", "clicks"),
}
SIGHT_ANGLE = 1010
DISTANCE = 1026
COMPUTE = "Вычислить"
EXIT = 1102


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


class Session:
    """An empty data folder (XDG_DATA_HOME) and a program folder with its own copy of tkdesk, whose
    folder setting (dir_setting.dat) is written next to it."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tkdesk-gui-")
        self.program = os.path.join(self.root, "program")
        self.data_home = os.path.join(self.root, "data")
        os.makedirs(self.program)
        os.makedirs(self.data_home)
        shutil.copy2(TKDESK, self.program)
        self.exe = os.path.join(self.program, os.path.basename(TKDESK))
        self.data = os.path.join(self.data_home, "Trajekton")

    def start(self):
        app = App([self.exe], env={"XDG_DATA_HOME": self.data_home}, name="tkdesk")
        window = app.window()
        app.focus_window(window.name)
        return app, window


SESSION = None


def tkcalc(*args):
    """tkcalc's results for the first-run inputs (an empty data folder of its own), changed by args."""
    empty = tempfile.mkdtemp(prefix="tkcalc-gui-")
    result = subprocess.run([TKCALC, "--data-dir", empty, "--json", *args],
                            capture_output=True, text=True, timeout=60)
    shutil.rmtree(empty, ignore_errors=True)
    check(result.returncode == 0, f"tkcalc failed: {result.stderr}")
    return json.loads(result.stdout)


def number(app, control_id):
    text = text_of(app.control(control_id))
    try:
        return float(text.replace(",", "."))
    except ValueError:
        raise GuiTestError(f"field {control_id} shows {text!r}, not a number")


def shows(app, expected):
    """What is wrong between the fields and tkcalc's figures (rounded as the fields are); empty when
    they agree."""
    wrong = []
    for control_id, (axis, unit) in CORRECTIONS.items():
        want = expected[axis][unit]
        got = number(app, control_id)
        if want is None or abs(got - round(want, 2)) > 1e-9:
            wrong.append(f"{control_id} ({axis} {unit}): shows {got}, tkcalc {want}")
    angle = number(app, SIGHT_ANGLE)
    if abs(angle - round(expected["zeroAngleMoa"], 3)) > 1e-9:
        wrong.append(f"{SIGHT_ANGLE} (sight line angle): shows {angle}, tkcalc {expected['zeroAngleMoa']}")
    return wrong


def wait_until_shown(app, expected, what):
    last = []

    def agree():
        last[:] = shows(app, expected)
        return not last
    try:
        wait_for(what, agree, timeout=15)
    except GuiTestError as e:
        raise GuiTestError(f"{e}: " + "; ".join(last))


def test_first_run_computes_as_tkcalc_and_saves_on_exit():
    global SESSION
    SESSION = Session()
    app, window = SESSION.start()
    with app:
        check(text_of(app.control(DISTANCE)) == "685", f"first-run distance {text_of(app.control(DISTANCE))!r}")
        app.press_button(COMPUTE)
        wait_until_shown(app, tkcalc(), "the corrections of the first-run inputs")

        # A new distance and Enter: the dialog computes again and stays open.
        click_at(app.control(DISTANCE))
        press("ctrl+a")
        type_keys("800")
        press("Return")
        wait_until_shown(app, tkcalc("--distance", "800"), "the corrections at 800 m")
        check(app.proc.poll() is None and app.window(window.name), "Enter closed the dialog")

        click_at(app.control(EXIT))
        check(app.wait_exit() == 0, f"tkdesk ended with {app.proc.returncode}: {app.stderr_text()}")

    sizes = {"settings.dat": 304, "table_settings.dat": 72}
    for name, size in sizes.items():
        path = os.path.join(SESSION.data, name)
        check(os.path.isfile(path), f"{path} was not written")
        check(os.path.getsize(path) == size, f"{name} has {os.path.getsize(path)} bytes, not {size}")
    library = os.path.join(SESSION.data, "bc_cdm3.dat")
    check(os.path.isfile(library) and os.path.getsize(library) > 0, "the drag function library was not written")
    # The folder setting lives next to the program (this copy's folder is writable).
    folder_setting = os.path.join(SESSION.program, "dir_setting.dat")
    check(os.path.isfile(folder_setting) and os.path.getsize(folder_setting) == 304,
          "dir_setting.dat was not written next to the program")


def test_restart_shows_the_saved_distance():
    check(SESSION is not None and os.path.isfile(os.path.join(SESSION.data, "settings.dat")),
          "nothing was saved by the first run")
    app, _ = SESSION.start()
    with app:
        wait_for("the saved distance", lambda: text_of(app.control(DISTANCE)) == "800", timeout=10)
        click_at(app.control(EXIT))
        check(app.wait_exit() == 0, "tkdesk ended with an error")
    shutil.rmtree(SESSION.root, ignore_errors=True)


if __name__ == "__main__":
    run_tests([
        test_first_run_computes_as_tkcalc_and_saves_on_exit,
        test_restart_shows_the_saved_distance,
    ], overall_timeout=90)
