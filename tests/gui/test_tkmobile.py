"""tkmobile as a user runs it the first time: on an empty data folder it computes what tkcalc computes
from the same first-run inputs, and writes its three files on "Выход"; started again, a distance
stepped with "+" survives the end of the session (SIGTERM); a function sent by `tkcalc send` into
its folder is imported through "Импорт .dat", saved in its library, and the sent file is gone.

    scripts/run-gui-test.sh tests/gui/test_tkmobile.py PATH/TO/tkmobile PATH/TO/tkcalc
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile

from atspi import App, GuiTestError, click_at, run_tests, text_of, wait_for

TKMOBILE = sys.argv[1] if len(sys.argv) > 1 else "build/handheld/tkmobile"
TKCALC = sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc"

DISTANCE = 1001
DISTANCE_PLUS = 1012
VERTICAL = 1022
HORIZONTAL = 1024
MENU = 1034
CARTRIDGE_OPEN = 1012

DATA = None


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def tkcalc():
    empty = tempfile.mkdtemp(prefix="tkcalc-gui-")
    result = subprocess.run([TKCALC, "--data-dir", empty, "--json"], capture_output=True, text=True, timeout=60)
    shutil.rmtree(empty, ignore_errors=True)
    check(result.returncode == 0, f"tkcalc failed: {result.stderr}")
    return json.loads(result.stdout)


def start():
    app = App([TKMOBILE, "--data-dir", DATA], name="tkmobile")
    window = app.window()
    app.focus_window(window.name)
    return app


def test_first_run_computes_as_tkcalc_and_writes_its_files_on_exit():
    global DATA
    DATA = os.path.join(tempfile.mkdtemp(prefix="tkmobile-gui-"), "Trajekton-mobile")
    expected = tkcalc()
    app = start()
    with app:
        check(text_of(app.control(DISTANCE)) == "685", f"first-run distance {text_of(app.control(DISTANCE))!r}")
        app.press_button("Вычислить")
        want = (f"{round(expected['vertical']['moa'], 2):g}", f"{round(expected['horizontal']['moa'], 2):g}")
        wait_for(f"the corrections {want}",
                 lambda: (text_of(app.control(VERTICAL)), text_of(app.control(HORIZONTAL))) == want, timeout=15)

        click_at(app.control(MENU))
        click_at(app.control(name="Выход", role_name="menu item"))
        check(app.wait_exit() == 0, f"tkmobile ended with {app.proc.returncode}: {app.stderr_text()}")

    for name, size in {"settings.dat": 360, "table_settings.dat": 72}.items():
        path = os.path.join(DATA, name)
        check(os.path.isfile(path), f"{path} was not written")
        check(os.path.getsize(path) == size, f"{name} has {os.path.getsize(path)} bytes, not {size}")
    library = os.path.join(DATA, "bc_cdm3.dat")
    check(os.path.isfile(library) and os.path.getsize(library) > 0, "the drag function library was not written")


def test_the_end_of_the_session_keeps_a_stepped_distance():
    check(DATA is not None and os.path.isfile(os.path.join(DATA, "settings.dat")), "nothing was saved by the first run")
    app = start()
    with app:
        click_at(app.control(DISTANCE_PLUS))
        wait_for("690 in the distance", lambda: text_of(app.control(DISTANCE)) == "690", timeout=10)
        os.kill(app.proc.pid, signal.SIGTERM)
        check(app.wait_exit() == 0, f"tkmobile ended with {app.proc.returncode} on SIGTERM")
    app = start()
    with app:
        wait_for("the saved distance", lambda: text_of(app.control(DISTANCE)) == "690", timeout=10)
        os.kill(app.proc.pid, signal.SIGTERM)
        app.wait_exit()


def test_a_function_sent_by_tkcalc_is_imported():
    desktop = tempfile.mkdtemp(prefix="tkmobile-desktop-")
    name = "Sierra MatchKing, 168gr_copy"
    for args in (["copy", "--data-dir", desktop, "Sierra MatchKing, 168gr"],
                 ["send", "--data-dir", desktop, name, "--device", DATA]):
        result = subprocess.run([TKCALC, *args], capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, f"tkcalc {args[0]} failed: {result.stderr}")
    sent = os.path.join(DATA, "drag_function.dat")
    check(os.path.isfile(sent), "tkcalc send left no drag_function.dat on the device")
    app = start()
    with app:
        app.press_button("Ввод остальных  параметров")
        click_at(app.control(CARTRIDGE_OPEN, window=app.window("Ввод данных")))
        app.press_button("Выбрать драг-функцию")
        app.press_button("Импорт .dat")
        box = app.message_box("Импортировано из файла drag_function.dat")
        app.press_button("OK", window=box)
        app.window_gone(box)
        os.kill(app.proc.pid, signal.SIGTERM)
        app.wait_exit()
    check(not os.path.exists(sent), "drag_function.dat is still there after its import")
    listed = subprocess.run([TKCALC, "list", "--json", "--data-dir", DATA], capture_output=True, text=True, timeout=60)
    check(listed.returncode == 0 and name in listed.stdout, f"the library has no {name!r}: {listed.stdout[:300]}")
    shutil.rmtree(desktop, ignore_errors=True)
    shutil.rmtree(os.path.dirname(DATA), ignore_errors=True)


if __name__ == "__main__":
    run_tests([
        test_first_run_computes_as_tkcalc_and_writes_its_files_on_exit,
        test_the_end_of_the_session_keeps_a_stepped_distance,
        test_a_function_sent_by_tkcalc_is_imported,
    ], overall_timeout=150)
