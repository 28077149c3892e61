"""Sending to the handheld from tkdesk's manager through real windows: "Послать функцию на PDA" opens
the send dialog, "Выбрать..." opens the system's folder chooser in tkmobile's folder on this computer,
its accept button takes it, the send puts drag_function.dat there byte for byte; "Синхронизировать с
PDA" then finds the folder kept and puts the library there.

    scripts/run-gui-test.sh tests/gui/test_tkdesk_transfer.py PATH/TO/tkdesk PATH/TO/tkcalc
"""

import os
import shutil
import sys
import tempfile

from atspi import App, GuiTestError, click_at, press, run_tests, text_of, wait_for

TKDESK = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/desktop/tkdesk")

MAIN_DRAG_BUTTON = 1022
MAIN_EXIT = 1102
MANAGER = "Драг-функции"
SEND = "Передача на устройство"
SYNC = "Синхронизация с PDA"
CHOOSER = "Папка данных tkmobile на устройстве"
DEVICE_FOLDER = 1130
FUNCTION_NAME = 1125


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def close_success(app, target):
    box = app.message_box("Операция завершена успешно")
    check(app.message_box(target) == box, f"the success does not name {target}")
    app.press_button("OK", window=box)
    app.window_gone(box)


def test_send_and_sync_from_the_manager():
    root = tempfile.mkdtemp(prefix="tkdesk-transfer-")
    data_home = os.path.join(root, "data")
    os.makedirs(data_home)
    data = os.path.join(data_home, "Trajekton")
    device = os.path.join(data_home, "Trajekton-mobile")
    try:
        with App([TKDESK], env={"XDG_DATA_HOME": data_home}, name="tkdesk") as app:
            main = app.window()
            app.focus_window(main.name)
            click_at(app.control(MAIN_DRAG_BUTTON, window=main))
            manager = app.window(MANAGER)
            app.focus_window(MANAGER)

            # The calculator's function (G1 at a first start) is the row selected.
            app.press_button("Послать функцию на PDA", window=manager)
            send = app.window(SEND)
            check(text_of(app.control(FUNCTION_NAME, window=send)) == "G1", "the send dialog names another function")
            check(text_of(app.control(DEVICE_FOLDER, window=send)) == "", "a device folder before any was chosen")
            app.focus_window(SEND)
            app.press_button("Выбрать...", window=send)
            chooser = app.window(CHOOSER)
            app.focus_window(CHOOSER)
            app.press_button("Выбрать", window=chooser)
            app.window_gone(chooser)
            wait_for("the folder shown", lambda: text_of(app.control(DEVICE_FOLDER, window=send)) == device)

            app.focus_window(SEND)
            app.press_button("Послать драг-функцию в PDA", window=send)
            target = os.path.join(device, "drag_function.dat")
            close_success(app, target)
            check(read(target) == read(os.path.join(data, "drag_function.dat")), "the device's file differs")
            app.focus_window(SEND)
            app.press_button("Закрыть", window=send)
            app.window_gone(send)

            app.focus_window(MANAGER)
            app.press_button("Синхронизировать с PDA", window=manager)
            sync = app.window(SYNC)
            check(text_of(app.control(DEVICE_FOLDER, window=sync)) == device, "the chosen folder was not kept")
            app.focus_window(SYNC)
            app.press_button("Синхронизировать", window=sync)
            target = os.path.join(device, "bc_cdm3.dat")
            close_success(app, target)
            check(read(target) == read(os.path.join(data, "bc_cdm3.dat")), "the device's library differs")
            app.focus_window(SYNC)
            app.press_button("Закрыть", window=sync)
            app.window_gone(sync)

            app.focus_window(MANAGER)
            app.press_button("Закрыть", window=manager)
            app.window_gone(manager)
            app.focus_window(main.name)
            click_at(app.control(MAIN_EXIT, window=main))
            check(app.wait_exit() == 0, "tkdesk did not end cleanly")
        check(sorted(os.listdir(device)) == ["bc_cdm3.dat", "drag_function.dat"],
              f"the device folder holds {sorted(os.listdir(device))}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(run_tests([test_send_and_sync_from_the_manager], overall_timeout=120))
