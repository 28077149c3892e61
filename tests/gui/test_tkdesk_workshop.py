"""The drag function workshop of tkdesk through real windows: "Драг-функция >>" opens the manager,
G7 is copied through the list's context menu, a Cd cell of the copy is edited in the table editor and
saved, its curve shown, "Выбрать" hands it to the calculator and "Выход" saves; tkcalc then lists the
copy with the new Cd.

wx lists put no cells on the accessibility bus: rows are picked by position (the first row by the
mouse, the others with the arrow keys), and what the windows did is read from fields and files.

    scripts/run-gui-test.sh tests/gui/test_tkdesk_workshop.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

from atspi import (App, GuiTestError, click_at, extents, mouse_click, press, role, run_tests, text_of, type_keys,
                   wait_for, walk)

TKDESK = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk")
TKCALC = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc")

MAIN_DRAG_BUTTON = 1022
MAIN_DRAG_NAME = 1012
MAIN_VERTICAL_MOA = 1013
MAIN_EXIT = 1102

MANAGER = "Драг-функции"
MANAGER_LIST = 1001
PLOT = "График драг-функции"
EDITOR = "Редактирование"
EDITOR_TABLE = 1000
EDITOR_SECTIONAL_DENSITY = 1034
CELL_EDITOR = 32101
NEW_CD = "0.15"


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def click_first_row(app, window, list_id):
    """A click on the first row of a list: just below its header (the lowest panel of the list)."""
    lst = app.control(list_id, window=window)
    lx, ly, lw, lh = extents(lst)
    rows_top = max(extents(a)[1] for a in walk(lst) if role(a) == "panel")
    mouse_click(lx + 30, rows_top + 6)


def tkcalc_list(data):
    result = subprocess.run([TKCALC, "list", "--json", "--data-dir", data], capture_output=True, text=True, timeout=60)
    check(result.returncode == 0, f"tkcalc list failed: {result.stderr}")
    return json.loads(result.stdout)


def test_copy_edit_show_choose_and_exit():
    root = tempfile.mkdtemp(prefix="tkdesk-workshop-")
    data_home = os.path.join(root, "data")
    os.makedirs(data_home)
    data = os.path.join(data_home, "Trajekton")
    try:
        with App([TKDESK], env={"XDG_DATA_HOME": data_home}, name="tkdesk") as app:
            main = app.window()
            app.focus_window(main.name)
            click_at(app.control(MAIN_DRAG_BUTTON, window=main))
            manager = app.window(MANAGER)
            app.focus_window(MANAGER)

            # G7 is the second row.
            click_first_row(app, manager, MANAGER_LIST)
            press("Down")
            # The list's context menu, from the menu key at the selected row: "Копировать".
            press("Menu")
            click_at(app.control(name="Копировать", role_name="menu item"))
            # Saved at once, the copy selected.
            copies = wait_for("the copy saved", lambda: [f for f in tkcalc_list(data) if f["name"] == "G7_copy"])
            check(len(copies) == 1 and copies[0]["kind"] == "StandardCopy", f"copies in the library: {copies}")
            number = copies[0]["uniqueNumber"]

            edited_cd = edit_first_cd(app, manager)

            # Its curve: the plain plot window (a copy is no standard function).
            app.focus_window(MANAGER)
            app.press_button("Показать", window=manager)
            plot = app.window(PLOT)
            app.press_button("Закрыть", window=plot)
            app.window_gone(plot)

            app.focus_window(MANAGER)
            app.press_button("Выбрать", window=manager)
            app.window_gone(manager)
            name = app.control(MAIN_DRAG_NAME, window=main)
            check(text_of(name) == "G7_copy", f"the calculator shows {text_of(name)!r}")
            check(text_of(app.control(MAIN_VERTICAL_MOA, window=main)) not in ("", "0"), "no compute ran")

            app.focus_window(main.name)
            click_at(app.control(MAIN_EXIT, window=main))
            check(app.wait_exit() == 0, "tkdesk did not end cleanly")

        copy = next(f for f in tkcalc_list(data) if f["uniqueNumber"] == number)
        check(copy["name"] == "G7_copy", f"the copy is {copy['name']!r}")
        check(abs(copy["points"][0][1] - edited_cd) < 1e-9, f"the copy's first point is {copy['points'][0]}")
        check(copy["sectionalDensity"] == 0.25, f"the copy's sectional density is {copy['sectionalDensity']}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


def edit_first_cd(app, manager):
    """"Редактировать" on the selected copy: the first row's Cd typed over in the table, a sectional
    density given (a copy of a standard function has none, and the editor needs one), "Сохранить"."""
    app.focus_window(MANAGER)
    app.press_button("Редактировать", window=manager)
    editor = app.window(EDITOR)
    app.focus_window(EDITOR)
    table = app.control(EDITOR_TABLE, window=editor)
    lx, ly, lw, lh = extents(table)
    rows_top = max(extents(a)[1] for a in walk(table) if role(a) == "panel")
    cd_x, row0_y = lx + 150 + 75, rows_top + 6
    # The first click selects the row, the second (not a double click) opens the cell's text box.
    mouse_click(cd_x, row0_y)
    time.sleep(0.6)
    app.click_for_control(cd_x, row0_y, CELL_EDITOR, window=editor)
    press("ctrl+a")
    type_keys(NEW_CD)
    press("Return")
    app.type_text(app.control(EDITOR_SECTIONAL_DENSITY, window=editor), "0.25")
    app.press_button("Сохранить", window=editor)
    app.window_gone(editor)
    return float(NEW_CD)


if __name__ == "__main__":
    sys.exit(run_tests([test_copy_edit_show_choose_and_exit], overall_timeout=120))
