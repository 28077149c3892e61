"""The wind clock of tkdesk through real windows: "Азимут ветра, град." opens "Направление ветра" with a
real mouse click, a click straight above the clock's centre turns the arrow to 12 o'clock, "Так точно!"
puts 0 in the azimuth field and the corrections are computed again: the cross wind of the first run
is gone, so the horizontal correction changes to what tkcalc gives for a head wind.

    scripts/run-gui-test.sh tests/gui/test_tkdesk_wind.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

from atspi import App, GuiTestError, click_at, extents, run_tests, text_of, wait_for

TKDESK = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk")
TKCALC = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc")

MAIN_TITLE = "Бал.калькулятор Trajekton v.1.37"
WIND_TITLE = "Направление ветра"
WIND_AZIMUTH = 1060
WIND_BUTTON = 1136
HORIZONTAL_CM = 1014
COMPUTE = 1000
EXIT = 1102
CLOCK = 1137
OK = "Так точно!"


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def tkcalc_horizontal_cm(azimuth, data):
    result = subprocess.run([TKCALC, "--data-dir", data, "--set", f"wind-azimuth={azimuth}", "--json"],
                            capture_output=True, text=True, timeout=60)
    check(result.returncode == 0, f"tkcalc failed: {result.stderr}")
    return json.loads(result.stdout)["shown"]["horizontal"]["cm"]


def number(text):
    return float(text.replace(",", "."))


def test_a_click_above_the_centre_sets_a_head_wind():
    root = tempfile.mkdtemp(prefix="tkdesk-wind-")
    empty = tempfile.mkdtemp(prefix="tkcalc-wind-")
    try:
        app = App([TKDESK], env={"XDG_DATA_HOME": root}, name="tkdesk")
        with app:
            main = app.window(MAIN_TITLE)
            app.focus_window(MAIN_TITLE)
            click_at(app.control(COMPUTE, window=main))
            field = app.control(WIND_AZIMUTH, window=main)
            horizontal = app.control(HORIZONTAL_CM, window=main)
            cross = tkcalc_horizontal_cm(90, empty)
            wait_for("the first-run corrections", lambda: text_of(horizontal) != "", timeout=10)
            check(text_of(field) == "90", f"the azimuth field reads {text_of(field)!r}")
            check(abs(number(text_of(horizontal)) - cross) < 0.006,
                  f"the horizontal correction reads {text_of(horizontal)!r}, tkcalc gives {cross}")

            click_at(app.control(WIND_BUTTON, window=main))
            picker = app.window(WIND_TITLE)
            # The clock fills the canvas: its centre is the canvas's; 12 o'clock is straight above it.
            x, y, w, h = extents(app.control(CLOCK, window=picker))
            click_at(app.control(CLOCK, window=picker), dx=w // 2, dy=h // 8)
            app.press_button(OK, window=picker)
            app.window_gone(picker)

            wait_for("the azimuth field at 0", lambda: text_of(field) == "0", timeout=10)
            head = tkcalc_horizontal_cm(0, empty)
            wait_for("the head-wind correction",
                     lambda: abs(number(text_of(horizontal)) - head) < 0.006, timeout=10)
            check(abs(head - cross) > 1, f"a head wind moves the bullet sideways as the cross wind: {head}, {cross}")

            click_at(app.control(EXIT, window=main))
            check(app.wait_exit() == 0, f"tkdesk ended with {app.proc.returncode}: {app.stderr_text()}")
    finally:
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(empty, ignore_errors=True)


if __name__ == "__main__":
    run_tests([test_a_click_above_the_centre_sets_a_head_wind], overall_timeout=80)
