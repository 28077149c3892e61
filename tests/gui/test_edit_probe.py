"""The drag function editors through real windows: the edit probe (tk_edit_probe) on the sample
function, driven with the mouse and keyboard; the probe prints the points it was handed on OK.

    scripts/run-gui-test.sh tests/gui/test_edit_probe.py PATH/TO/tk_edit_probe
"""

import os
import subprocess
import sys
import time

from atspi import App, GuiTestError, click_at, extents, mouse_click, press, role, run_tests, type_keys, walk

PROBE = sys.argv[1] if len(sys.argv) > 1 else "build/tests/tk_edit_probe"
SHOTS = os.environ.get("EDIT_PROBE_SHOTS")  # a folder for pictures of what the test saw


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def picture(name):
    if SHOTS:
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name)], timeout=20, check=False)


def test_curve_editor_moves_the_right_side_and_hands_the_points_back():
    with App([PROBE, "--curve"], name="tk_edit_probe") as app:
        title = "Редактирование по графику"
        app.window(title)
        app.focus_window(title)
        app.type_text(app.control("1092"), "0.02")
        click_at(app.control("1098"))  # "Опустить правую сторону"
        time.sleep(0.5)
        picture("curve-after-press.png")
        app.press_button("Сохранить")
        # The sample's peak is 0.447 at Mach 1.1; its last point, 0.32 at 2.5, goes down by the step.
        app.expect(r"^point 1\.1 0\.447$")
        app.expect(r"^point 2\.5 0\.3$")
        app.expect(r"^result 1$")
        app.expect(r"^step 0\.02$")


def test_table_editor_edits_a_cell_refuses_a_row_without_mach_and_saves():
    with App([PROBE], name="tk_edit_probe") as app:
        title = "Редактирование"
        app.window(title)
        app.focus_window(title)
        table = app.control("1000")
        lx, ly, lw, lh = extents(table)
        rows_top = max(extents(a)[1] for a in walk(table) if role(a) == "panel")
        cd_x, row0_y = lx + 150 + 75, rows_top + 6
        # The first click selects the row, the second (not a double click) opens the cell's text box.
        mouse_click(cd_x, row0_y)
        time.sleep(0.6)
        app.click_for_control(cd_x, row0_y, "32101")
        press("ctrl+a")
        type_keys("0.15a")  # the letter is refused
        press("Return")

        # "Вставить строку" of the table's menu puts an "xxx" row before the one clicked; a Cd in it
        # without a Mach is refused.
        mouse_click(cd_x, row0_y, button=3)
        time.sleep(0.5)
        picture("editor-menu.png")
        press("Down", "Return")
        time.sleep(0.3)
        app.click_for_control(cd_x, row0_y, "32101")
        press("ctrl+a")
        type_keys("0.5")
        press("Return")
        picture("editor-xxx-row.png")
        app.press_button("Сохранить")
        box = app.message_box("Строка 1")
        picture("editor-row-refused.png")
        press("Return")
        app.window_gone(box)
        # The refused row is selected and the table has the keyboard: Delete drops it.
        app.focus_window(title)
        press("Delete")
        time.sleep(0.3)
        app.press_button("Сохранить")
        app.expect(r"^point 0 0\.15$")
        app.expect(r"^point 0\.8 0\.14$")
        app.expect(r"^result 1$")


if __name__ == "__main__":
    run_tests([test_curve_editor_moves_the_right_side_and_hands_the_points_back,
               test_table_editor_edits_a_cell_refuses_a_row_without_mach_and_saves])
