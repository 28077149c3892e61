"""The correction table of tkdesk through real windows: "Таблица" opens it on an empty data folder,
"Вычислить" fills it, "Экспорт..." writes it as an XML spreadsheet and as a CSV file through GTK's
save dialog, a write that fails says so and leaves no file, and the range and columns chosen are
kept through "Закрыть" and "Выход".

The list itself is drawn by wx (no cells on the accessibility bus): what it shows is read from the
two exported files, which are made from the list's cells, and checked against tkcalc's table.

    scripts/run-gui-test.sh tests/gui/test_tkdesk_table.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import functools
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import xml.etree.ElementTree as ET

import atspi
from atspi import (App, GuiTestError, click_at, is_checked, is_showing, press, role, run_tests, text_of,
                   type_keys, wait_for, walk)

# Absolute: tkdesk runs in a folder of its own.
TKDESK = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk")
TKCALC = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/cli/tkcalc")

MAIN_TABLE = 1028
MAIN_EXIT = 1102

TABLE_TITLE = "Таблица поправок"
STEP_50 = 1014
FIRST = 1114
LAST = 1100
TIME_COLUMN = 1103
FILL = "Вычислить"
EXPORT = 1140
CLOSE = 1074
EXPORT_XML = "Экспортировать в Excel xml"
EXPORT_CSV = "Экспортировать в cvs"

SAVE_TITLE = "Сохранить как"
DONE = "Готово"
WRITE_FAILED = "Возникла ошибка при записи в файл!"

SS = "{urn:schemas-microsoft-com:office:spreadsheet}"
DISTANCES = [f"{d}.0" for d in range(100, 900, 100)]
HEADERS = ["Дистанция, метры", "Скорость, м/с", "MOA, Верт. поправка", "MOA, Гор. поправка"]


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def within(seconds):
    """Ends the whole run when one test takes longer than `seconds` (run_tests only bounds them all)."""
    def wrap(test):
        @functools.wraps(test)
        def timed():
            def overtime():
                print(f"FAIL {test.__name__}: took longer than {seconds} s", flush=True)
                for app in list(atspi._running):
                    try:
                        os.killpg(app.proc.pid, signal.SIGKILL)
                    except Exception:
                        pass
                os._exit(124)
            timer = threading.Timer(seconds, overtime)
            timer.daemon = True
            timer.start()
            try:
                test()
            finally:
                timer.cancel()
        return timed
    return wrap


class Session:
    """An empty data folder (XDG_DATA_HOME), a working folder the save dialog opens in, and a folder
    for the exported files."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tkdesk-table-")
        self.data_home = os.path.join(self.root, "data")
        self.work = os.path.join(self.root, "work")
        self.out = os.path.join(self.root, "out")
        for folder in (self.data_home, self.work, self.out):
            os.makedirs(folder)
        self.data = os.path.join(self.data_home, "Trajekton")

    def start(self):
        app = App([TKDESK], env={"XDG_DATA_HOME": self.data_home}, cwd=self.work, name="tkdesk")
        main = app.window()
        app.focus_window(main.name)
        return app, main


SESSION = None


def labels(window):
    return [a.name for a in walk(window) if role(a) == "label" and is_showing(a)]


def open_table(app, main):
    click_at(app.control(MAIN_TABLE, window=main))
    return app.window(TABLE_TITLE)


def choose_export(app, table, item):
    """"Экспорт..." and an item of its menu; the menu offers both kinds."""
    click_at(app.control(EXPORT, window=table))
    chosen = app.control(name=item, role_name="menu item")
    for other in (EXPORT_XML, EXPORT_CSV):
        app.control(name=other, role_name="menu item")
    click_at(chosen)
    return app.window(SAVE_TITLE)


def completion_popup(app):
    """GTK's list of matching names under the name field, when it shows."""
    return next((w for w in app.windows() if role(w) == "window" and not w.name), None)


def save_as(app, chooser, path, attempts=6):
    """Types the full path into the save dialog's name field and confirms it with Enter, as a user
    does; the window the program shows next is left to the caller.

    GTK's completion list can be open under the field: Enter then may only close the list, or may
    confirm the dialog as well. So Enter is pressed again only when the dialog is still there a while
    later with nothing over it."""
    app.focus_window(SAVE_TITLE)
    name = app.control(role_name="text", window=chooser)
    wait_for("the keyboard in the name field", lambda: atspi.is_focused(name), timeout=5)
    for _ in range(attempts):
        press("ctrl+a", "BackSpace")
        if not wait_for_quietly(lambda: text_of(name) == "", 3):
            continue
        # A borrowed key for a Cyrillic letter can go astray on a busy machine: checked, typed again.
        type_keys(path)
        if wait_for_quietly(lambda: text_of(name) == path, 5):
            break
    else:
        raise GuiTestError(f"could not type {path!r}: the name field shows {text_of(name)!r}")

    for _ in range(3):
        # GTK completes a moment after the last key; an Enter before it is lost.
        settled(lambda: (completion_popup(app) is None, text_of(name)), 0.5, 5)
        if not is_showing(chooser):
            return  # an Enter before took a while
        press("Return")
        if wait_for_quietly(lambda: not is_showing(chooser), 5):
            return
        others = [w.name for w in app.windows() if w.name not in (SAVE_TITLE, TABLE_TITLE) and role(w) != "frame"
                  and not (role(w) == "window" and not w.name)]
        check(not others, f"windows {others} over the save dialog")
        check(text_of(name) == path, f"the name field changed to {text_of(name)!r}")
    raise GuiTestError("the save dialog stayed open after Enter")


def settled(state, quiet, timeout):
    """Waits until state() has not changed for `quiet` seconds (at most `timeout` seconds)."""
    def safe_state():
        try:
            return state()
        except Exception:  # a window going away under the probe
            return None
    deadline = time.monotonic() + timeout
    last, since = safe_state(), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.05)
        now = safe_state()
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return True
    return False


def wait_for_quietly(probe, timeout):
    try:
        return wait_for("", probe, timeout=timeout)
    except GuiTestError:
        return False


def close_message(app, text):
    """The message box saying exactly `text`, closed with its OK button."""
    box = app.message_box(text)
    shown = labels(box)
    check(shown == [text], f"the message box says {shown}, not {text!r}")
    app.press_button("OK", window=box)
    app.window_gone(box)


def export(app, table, item, path):
    chooser = choose_export(app, table, item)
    save_as(app, chooser, path)
    close_message(app, DONE)


def xml_table(path):
    """The table of the "Баллистика" worksheet: header texts and rows of (type, text) cells."""
    root = ET.parse(path).getroot()
    sheets = [s for s in root.iter(SS + "Worksheet") if s.get(SS + "Name") == "Баллистика"]
    check(len(sheets) == 1, f"worksheets {[s.get(SS + 'Name') for s in root.iter(SS + 'Worksheet')]}")
    rows = []
    for row in sheets[0].iter(SS + "Row"):
        rows.append([(d.get(SS + "Type"), d.text or "") for d in row.iter(SS + "Data")])
    heads = [i for i, r in enumerate(rows) if r and r[0] == ("String", HEADERS[0])]
    check(len(heads) == 1, "the table's header row is missing from the worksheet")
    body = []
    for r in rows[heads[0] + 1:]:
        if not r:
            break
        body.append(r)
    return [text for _, text in rows[heads[0]]], body


def csv_table(path):
    """The table of the CSV report: header fields and rows of cells, from bytes checked to be
    Windows-1251 with CR LF line ends."""
    data = open(path, "rb").read()
    check(data.endswith(b"\r\n"), "the CSV file does not end with CR LF")
    check(data.count(b"\n") == data.count(b"\r\n") == data.count(b"\r"), "a CSV line does not end with CR LF")
    try:
        text = data.decode("cp1251")
    except UnicodeDecodeError as e:
        raise GuiTestError(f"the CSV file is not Windows-1251: {e}")
    lines = text.split("\r\n")
    header = ";".join(f'"{h}"' for h in HEADERS)
    check(header in lines, f"no header line {header!r} in the CSV file")
    at = lines.index(header)
    body = []
    for line in lines[at + 1:]:
        if not line:
            break
        body.append(line.split(";"))
    return HEADERS, body


def tkcalc_table():
    """tkcalc's table for the first-run inputs and table settings (an empty data folder of its own)."""
    empty = tempfile.mkdtemp(prefix="tkcalc-table-")
    result = subprocess.run([TKCALC, "--data-dir", empty, "--table", "--json"],
                            capture_output=True, text=True, timeout=60)
    shutil.rmtree(empty, ignore_errors=True)
    check(result.returncode == 0, f"tkcalc failed: {result.stderr}")
    return json.loads(result.stdout)["rows"]


def check_against_tkcalc(cells):
    """Each row's cells (decimal points) against tkcalc's figures, to the digits the list shows (the
    velocity is rounded to hundredths before it is shown with one decimal)."""
    expected = tkcalc_table()
    check(len(expected) == len(cells), f"tkcalc has {len(expected)} rows, the list {len(cells)}")
    for row, want in zip(cells, expected):
        figures = [(want["distance"], 0.05), (want["row"]["velocity"], 0.0551),
                   (want["shown"]["vertical"]["moa"], 0.0051), (want["shown"]["horizontal"]["moa"], 0.0051)]
        for text, (value, tolerance) in zip(row, figures):
            check(abs(float(text) - value) <= tolerance, f"row {row}: {text} where tkcalc has {value}")


@within(55)
def test_table_fills_and_exports_then_keeps_its_settings():
    global SESSION
    SESSION = Session()
    app, main = SESSION.start()
    with app:
        table = open_table(app, main)
        app.press_button(FILL, window=table)

        xml_path = os.path.join(SESSION.out, "таблица.xml")
        export(app, table, EXPORT_XML, xml_path)
        check(os.path.isfile(xml_path), f"{xml_path} was not written")
        headers, rows = xml_table(xml_path)
        check(headers == HEADERS, f"XML headers {headers}")
        check([r[0] for r in rows] == [("Number", d) for d in DISTANCES], f"XML distances {[r[0] for r in rows]}")
        for r in rows:
            check(len(r) == len(HEADERS) and all(t == "Number" for t, _ in r), f"XML row {r}")
        xml_cells = [[text for _, text in r] for r in rows]
        check_against_tkcalc(xml_cells)

        csv_path = os.path.join(SESSION.out, "table.csv")
        export(app, table, EXPORT_CSV, csv_path)
        check(os.path.isfile(csv_path), f"{csv_path} was not written")
        _, csv_rows = csv_table(csv_path)
        check([r[0] for r in csv_rows] == [d.replace(".", ",") for d in DISTANCES],
              f"CSV distances {[r[0] for r in csv_rows]}")
        # The same list in both files, with decimal commas in this one.
        check(csv_rows == [[c.replace(".", ",") for c in r] for r in xml_cells],
              f"the CSV rows {csv_rows} differ from the XML rows {xml_cells}")

        # Another range, step and column: what "Закрыть" keeps and "Выход" writes.
        click_at(app.control(STEP_50, window=table), dx=8)
        wait_for("the 50 m step chosen", lambda: is_checked(app.control(STEP_50, window=table)), timeout=5)
        app.type_text(app.control(LAST, window=table), "600")
        click_at(app.control(TIME_COLUMN, window=table), dx=8)
        wait_for("the time column on", lambda: is_checked(app.control(TIME_COLUMN, window=table)), timeout=5)
        app.press_button("Закрыть", window=table)
        app.window_gone(table)

        click_at(app.control(MAIN_EXIT, window=main))
        check(app.wait_exit() == 0, f"tkdesk ended with {app.proc.returncode}: {app.stderr_text()}")
        # The export menu's items (ids 32775 and 32776) reach wx without a complaint.
        check("wx check failed" not in app.stderr_text(), f"wx complained: {app.stderr_text()}")

    path = os.path.join(SESSION.data, "table_settings.dat")
    check(os.path.isfile(path), "table_settings.dat was not written")
    data = open(path, "rb").read()
    check(len(data) == 72, f"table_settings.dat has {len(data)} bytes")
    last, first, step = struct.unpack_from("<3d", data, 0)
    check((first, last, step) == (100.0, 600.0, 50.0), f"saved range {first}..{last} step {step}")
    flags = [struct.unpack_from("<i", data, offset)[0] for offset in (24, 32, 40, 44, 48, 52, 56, 60, 64, 68)]
    check(flags == [1, 1, 0, 1, 0, 0, 0, 1, 0, 0], f"saved columns {flags}")


@within(55)
def test_export_into_a_vanished_folder_fails_and_leaves_nothing():
    check(SESSION is not None and os.path.isfile(os.path.join(SESSION.data, "table_settings.dat")),
          "nothing was saved by the first run")
    app, main = SESSION.start()
    with app:
        table = open_table(app, main)
        # The settings kept from the last run.
        wait_for("the saved range", lambda: (text_of(app.control(FIRST, window=table)),
                                               text_of(app.control(LAST, window=table))) == ("100", "600"),
                 timeout=5)
        check(is_checked(app.control(STEP_50, window=table)), "the saved step is not chosen")
        check(is_checked(app.control(TIME_COLUMN, window=table)), "the saved time column is off")
        app.press_button(FILL, window=table)

        # GTK's dialog accepts no folder that is not there, so the folder goes while the program asks
        # whether to replace the file the default extension names.
        folder = os.path.join(SESSION.root, "gone")
        os.makedirs(folder)
        with open(os.path.join(folder, "report.csv"), "wb") as f:
            f.write(b"old")
        before = sorted(os.listdir(SESSION.root))
        chooser = choose_export(app, table, EXPORT_CSV)
        save_as(app, chooser, os.path.join(folder, "report"))
        question = app.message_box("report.csv уже существует")
        shutil.rmtree(folder)
        app.press_button("Да", window=question)
        close_message(app, WRITE_FAILED)
        check(not os.path.exists(folder), "the vanished folder came back")
        check(sorted(os.listdir(SESSION.root)) == [n for n in before if n != "gone"],
              f"files left by the failed export: {sorted(os.listdir(SESSION.root))}")
        check(os.listdir(SESSION.work) == [], f"files in the working folder: {os.listdir(SESSION.work)}")

        app.press_button("Закрыть", window=table)
        app.window_gone(table)
        click_at(app.control(MAIN_EXIT, window=main))
        check(app.wait_exit() == 0, f"tkdesk ended with {app.proc.returncode}: {app.stderr_text()}")
    shutil.rmtree(SESSION.root, ignore_errors=True)


if __name__ == "__main__":
    run_tests([
        test_table_fills_and_exports_then_keeps_its_settings,
        test_export_into_a_vanished_folder_fails_and_leaves_nothing,
    ], overall_timeout=110)
