"""The target-angle picker of tkdesk through real windows: ">>" beside the target angle opens
"Угол места цели" with a real click, the target is dragged up the hill with the real mouse (button
held, moved, let go), the picture follows, and "Так точно!" puts the angle into the calculator's
field and computes again.

The picture is not on the accessibility bus: the angle expected is the one of the line from the
shooter (the control's left edge, half way down) to where the button was let go, rounded to a whole
degree, as the control writes it; the red line of sight is looked for on the screen.

    scripts/run-gui-test.sh tests/gui/test_tkdesk_slope.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import math
import os
import shutil
import sys
import tempfile
import time

from atspi import (App, GuiTestError, click_at, extents, mouse_move, pixel, run_tests, text_of, wait_for,
                   xdotool)

TKDESK = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk")

MAIN_TITLE = "Бал.калькулятор Trajekton v.1.37"
PICKER_TITLE = "Угол места цели"
TARGET_ANGLE = 1020
SLOPE_BUTTON = 1138
VERTICAL_MOA = 1013
SLOPE_DRAW = 1140
COMPUTE = "Вычислить"
FIRST_RUN_MOA = "26.18"


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def reddish(rgb):
    r, g, b = rgb
    return r > 150 and g < 110 and b < 110


def test_dragging_the_target_up_and_taking_it():
    root = tempfile.mkdtemp(prefix="tkdesk-slope-")
    app = App([TKDESK], env={"XDG_DATA_HOME": root}, name="tkdesk")
    with app:
        main = app.window(MAIN_TITLE)
        app.focus_window(MAIN_TITLE)
        app.press_button(COMPUTE, window=main)
        wait_for("the first-run corrections", lambda: text_of(app.control(VERTICAL_MOA)) == FIRST_RUN_MOA, timeout=15)
        check(text_of(app.control(TARGET_ANGLE)) == "0", "the target angle is not 0 at first run")

        click_at(app.control(SLOPE_BUTTON, window=main))
        picker = app.window(PICKER_TITLE)
        app.focus_window(PICKER_TITLE)
        x, y, w, h = extents(app.control(SLOPE_DRAW, window=picker))
        check(w > 200 and h > 100, f"the picture measures {w} x {h}")
        horizon = y + h // 2
        time.sleep(0.5)
        # Level at first: the line of sight runs along the horizon.
        check(reddish(pixel(x + w // 3, horizon)), f"no red line on the horizon: {pixel(x + w // 3, horizon)}")

        # Pressed on the horizon, moved up the hill in steps with the button held, let go up there.
        start = (x + w // 2, horizon)
        end = (x + w * 3 // 5, y + h // 6)
        mouse_move(*start)
        xdotool("mousedown", 1)
        for k in range(1, 11):
            mouse_move(start[0] + (end[0] - start[0]) * k // 10, start[1] + (end[1] - start[1]) * k // 10)
            time.sleep(0.03)
        xdotool("mouseup", 1)
        dx, dy = end[0] - x, horizon - end[1]
        expected = math.floor(math.degrees(math.atan(dy / dx)) + 0.5)
        check(10 < expected < 60, f"the drag gives {expected} degrees")
        time.sleep(0.5)
        # The picture followed: the line of sight now leaves the horizon for the target.
        mid = (x + dx // 2, horizon - dy // 2)
        check(reddish(pixel(*mid)), f"no red line half way to the target: {pixel(*mid)}")
        check(not reddish(pixel(x + w // 3 * 2, horizon)), "the line of sight still lies on the horizon")

        app.press_button("Так точно!", window=picker)
        app.window_gone(picker)
        wait_for(f"the angle field showing {expected}", lambda: text_of(app.control(TARGET_ANGLE)) == str(expected),
                 timeout=10)
        # Computed again at once: uphill, the vertical correction is smaller than on the level.
        moa = text_of(app.control(VERTICAL_MOA))
        check(moa != FIRST_RUN_MOA and float(moa) < float(FIRST_RUN_MOA),
              f"the vertical correction reads {moa} after taking {expected} degrees")
        check(app.proc.poll() is None, "tkdesk ended")
    shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    run_tests([test_dragging_the_target_up_and_taking_it], overall_timeout=100)
