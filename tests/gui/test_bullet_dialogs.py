"""The drag-from-shape calculator and its bullet database through real windows: "Вычислить
драг-функцию" shows the BC of the starting bullet, "Сохранить в базу" says "Сохранено" and the
record is in the file tkcalc reads, "Взять из базы" opens the browser with a real mouse click and a
row picked there fills the fields, "Сохранить в драг-функцию и закрыть" ends with OK and keeps the
current bullet.

    scripts/run-gui-test.sh tests/gui/test_bullet_dialogs.py PATH/TO/tk_bullet_dialogs_show PATH/TO/tkcalc
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

from atspi import App, GuiTestError, click_at, run_tests, text_of, wait_for

SHOW = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/tests/tk_bullet_dialogs_show")
TKCALC = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc")

CALC_TITLE = "Калькулятор драг-функции по форме пули"
BROWSER_TITLE = "База размеров пуль"
NAME = 1001
TWIST = 1003
BC = 1017
STABILITY = 1020
LIST = 1001


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def tkcalc_json(*args):
    result = subprocess.run([TKCALC, *args, "--json"], capture_output=True, text=True, timeout=60)
    check(result.returncode == 0, f"tkcalc {' '.join(args)} failed: {result.stderr}")
    return json.loads(result.stdout)


def test_estimate_save_to_and_take_from_the_database():
    data = tempfile.mkdtemp(prefix="tk-bullets-")
    try:
        app = App([SHOW, "estimate", data], name="tk_bullet_dialogs_show")
        with app:
            calc = app.window(CALC_TITLE)
            app.focus_window(CALC_TITLE)
            app.press_button("Вычислить драг-функцию", window=calc)
            bc = app.control(BC, window=calc)
            # The starting current bullet, at its twist of 11 in.
            wait_for("the BC", lambda: text_of(bc) == "0.446", timeout=10)
            check(text_of(app.control(STABILITY, window=calc)) == "1.63",
                  f"the stability factor reads {text_of(app.control(STABILITY, window=calc))!r}")

            app.type_text(app.control(NAME, window=calc), "My bullet")
            app.press_button("Сохранить в базу", window=calc)
            box = app.message_box("Сохранено")
            app.press_button("OK", window=box)
            app.window_gone(box)
            stored = tkcalc_json("bullets", "--data-dir", data)
            check(stored["source"] == "file", f"the database was not written: {stored['source']}")
            names = [f"{b['name']}#{b['uniqueNumber']}" for b in stored["bullets"]]
            check(names[-1] == "My bullet#12" and len(names) == 12, f"the database holds {names}")

            app.press_button("Взять из базы", window=calc)
            browser = app.window(BROWSER_TITLE)
            # wx lists put no rows on the bus: the first row lies just under the header.
            click_at(app.control(LIST, window=browser), dx=40, dy=32)
            app.press_button("Выбрать и закрыть", window=browser)
            app.window_gone(browser)
            name = app.control(NAME, window=calc)
            wait_for("the chosen bullet's name", lambda: text_of(name) == ".308Win, Lapua Scenar, 167gr", timeout=10)
            check(text_of(app.control(TWIST, window=calc)) == "10", "the chosen bullet's twist is not 10")

            app.press_button("Сохранить в драг-функцию и закрыть", window=calc)
            app.expect(r"^result 1$")
            check(app.wait_exit() == 0, f"the calculator ended with {app.proc.returncode}: {app.stderr_text()}")

        # The current bullet was kept: tkcalc's estimate starts from it.
        estimate = tkcalc_json("estimate", "--data-dir", data)
        check(estimate["bullet"] == ".308Win, Lapua Scenar, 167gr", f"the current bullet is {estimate['bullet']!r}")
        check(estimate["stabilityFactor"] == 1.97, f"its stability factor is {estimate['stabilityFactor']}")
    finally:
        shutil.rmtree(data, ignore_errors=True)


if __name__ == "__main__":
    run_tests([test_estimate_save_to_and_take_from_the_database], overall_timeout=90)
