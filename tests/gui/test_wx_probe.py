"""The wx backend seen from outside: the probe dialog (tk_wx_probe) driven with the mouse and keyboard,
checking what the dialog hooks received (the probe prints them) and what the controls show.

    scripts/run-gui-test.sh tests/gui/test_wx_probe.py PATH/TO/tk_wx_probe
"""

import os
import sys
import tempfile
import time

from atspi import (App, GuiTestError, click_at, do_action, extents, find_in, is_checked, is_enabled, mouse_click,
                   mouse_move, pixel, press, role, run_tests, text_of, type_keys, wait_for, walk, xdotool)

PROBE = sys.argv[1] if len(sys.argv) > 1 else "build/tests/tk_wx_probe"
TITLE = "Проба окон"


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


def start(*args):
    app = App([PROBE, *args], name="tk_wx_probe")
    app.window(TITLE)
    m = app.expect(r"^init list rows 5 columns 3 row height (\d+) widths (\d+) (\d+) (\d+)$")
    app.row_height = int(m.group(1))
    # Columns keep the width asked for where their title fits, and are widened where it does not
    # ("Время" asked for 40: the title alone is about as wide).
    widths = [int(m.group(i)) for i in (2, 3, 4)]
    check(widths[:2] == [90, 110] and 50 <= widths[2] <= 90, f"column widths {widths}")
    app.focus_window(TITLE)
    return app


def near(a, b, tolerance=2):
    return abs(int(a) - int(b)) <= tolerance


def test_edits_keys_and_clipboard():
    with start() as app:
        # The focus the dialog gave before it was shown.
        app.expect(r"^command 1001 SetFocus$")
        name = app.control(1001)
        check(text_of(name) == "Привет, мир", f"initial text {text_of(name)!r}")
        check(text_of(app.control(1003)) == "123.45", "read-only edit text")
        check(app.control(1008).name == "G7", "the drop list shows its selection")
        check(is_checked(app.control(1005)) and not is_checked(app.control(1006)), "first radio checked")

        # Real typing, Cyrillic included: every key goes to the dialog first, the text changes notify.
        app.type_text(name, "Ёлка 7")
        app.expect(r"^command 1001 Changed$")
        app.expect(r"^key 1001 55$")  # the 7

        # A character filter drops what it refuses.
        number = app.control(1002)
        app.focus_control(number)
        app.expect(r"^command 1002 SetFocus$")
        press("ctrl+a")
        type_keys("4a5")
        app.expect(r"^char 1002 52 accepted$")
        app.expect(r"^char 1002 97 refused$")
        app.expect(r"^char 1002 53 accepted$")
        wait_for("filtered text", lambda: text_of(number) == "45", timeout=5)

        # The clipboard and pastes: refused whole by the filter, taken elsewhere.
        app.press_button("Буфер")
        app.expect(r"^clipboard 12a$")
        app.focus_control(number)
        press("End", "ctrl+v")
        app.expect(r"^paste 1002 12a refused$")
        check(text_of(number) == "45", f"refused paste changed the text: {text_of(number)!r}")
        app.focus_control(name)
        press("End", "ctrl+v")
        wait_for("pasted text", lambda: text_of(name) == "Ёлка 712a", timeout=5)

        # Programmatic changes do not notify: the read-only field never reported a change.
        check(not app.printed(r"^command 1003 Changed"), "a read-only field reported a change")

        # Enter presses the default button: OK reads the fields and ends the dialog.
        app.skip_output()
        press("Return")
        app.expect(r"^field 1001=Ёлка 712a$")
        app.expect(r"^field 1002=45$")
        app.expect(r"^field 1003=123\.45$")
        app.expect(r"^result 1$")
        check(app.wait_exit() == 0, "the probe ended with OK")


def test_buttons_checks_radios_drop_list_progress():
    with start() as app:
        check_box = app.control(1004)
        check(not is_checked(check_box), "check box starts unchecked")
        click_at(check_box, dx=8)
        app.expect(r"^command 1004 Clicked$")
        wait_for("check box checked", lambda: is_checked(check_box), timeout=5)

        yards = app.control(1006)
        click_at(yards, dx=8)
        app.expect(r"^command 1006 Clicked$")
        wait_for("radio moved", lambda: is_checked(yards) and not is_checked(app.control(1005)), timeout=5)

        # The drop list: open it with the mouse, choose an item.
        drop = app.control(1008)
        click_at(drop)
        item = app.control(name="Своя функция", role_name="menu item")
        click_at(item)
        app.expect(r"^command 1008 SelChange$")
        app.expect(r"^command 1008 DropDownClosed$")
        wait_for("drop list text", lambda: app.control(1008).name == "Своя функция", timeout=5)

        click_at(app.control(name="Шаг", role_name="push button"))
        app.expect(r"^command 1041 Clicked$")
        app.expect(r"^progress 4$")

        # Escape cancels the dialog.
        app.focus_window(TITLE)
        press("Escape")
        app.expect(r"^key \d+ 27$")
        app.expect(r"^result 2$")
        check(app.wait_exit() == 3, "the probe ended with Cancel")


def test_canvas_paint_and_mouse():
    with start() as app:
        m = app.expect(r"^paint 1020 (\d+) (\d+) text (\d+) (\d+)$")
        width, height, text_w, text_h = map(int, m.groups())
        check(near(width, 308) and near(height, 148), f"canvas client size {width}x{height}")
        check(60 < text_w < 200 and 10 < text_h < 22, f"text extent {text_w}x{text_h}")
        canvas = app.control(1020)
        x, y, w, h = extents(canvas)
        check((w, h) == (310, 150), f"canvas size on screen {w}x{h}")
        # What it painted: white, a red rectangle at (10, 10, 40, 20) of its client area.
        inner_x, inner_y = x + (w - width) // 2, y + (h - height) // 2
        check(pixel(inner_x + 30, inner_y + 20) == (255, 0, 0), f"red at {pixel(inner_x + 30, inner_y + 20)}")
        check(pixel(inner_x + 5, inner_y + 5) == (255, 255, 255), "white around")

        # A press captures the mouse until the release; positions are the canvas's own.
        mouse_move(inner_x + 100, inner_y + 60)
        xdotool("mousedown", 1)
        m = app.expect(r"^mouse 1020 LeftDown (\d+) (\d+)$")
        check(near(m.group(1), 100) and near(m.group(2), 60), f"press at {m.groups()}")
        mouse_move(inner_x + 120, inner_y + 70)
        m = app.expect(r"^mouse 1020 Move (\d+) (\d+)$")
        xdotool("mouseup", 1)
        app.expect(r"^mouse 1020 LeftUp (\d+) (\d+)$")
        app.expect(r"^captor 1020$")
        xdotool("click", 4)
        app.expect(r"^mouse 1020 Wheel \d+ \d+ 120$")
        mouse_move(inner_x + 400, inner_y + 60)
        app.expect(r"^mouse 1020 Leave")

        # Labels pass on their mouse events too (links are labels).
        click_at(app.control(1009))
        app.expect(r"^mouse 1009 LeftDown \d+ \d+$")


def test_list_selection_and_in_place_editing():
    with start() as app:
        table = app.control(1030)
        lx, ly, lw, lh = extents(table)
        row_height = app.row_height
        check(16 <= row_height <= 24, f"row height {row_height}")
        # The rows start below the header: the list's lowest part is its row area.
        rows_top = max(extents(a)[1] for a in walk(table) if role(a) == "panel")
        check(ly + 12 <= rows_top <= ly + 30, f"header height {rows_top - ly}")
        cell_x, cell_y = lx + 90 + 40, rows_top + row_height + row_height // 2  # row 1, column 1
        mouse_click(cell_x, cell_y)
        m = app.expect(r"^listclick (\d+) (\d+) row (-?\d+) column (-?\d+)$")
        check(m.group(3) == "1" and m.group(4) == "1", f"hit test {m.groups()}")
        # In the list's own coordinates (its frame may add a pixel or two).
        check(near(m.group(1), cell_x - lx) and near(m.group(2), cell_y - ly), f"click at {m.groups()[:2]}")
        app.expect(r"^command 1030 ItemChanged$")
        app.expect(r"^selected 1$")

        # A click on a selected row's cell opens an editor over the cell, which takes the keys. (Not so
        # soon that it makes a double click.)
        time.sleep(0.6)
        mouse_click(cell_x, cell_y)
        app.expect(r"^listclick \d+ \d+ row 1 column 1 selected$")
        app.expect(r"^editor 1 1 (-?\d+) (-?\d+) (\d+) (\d+)$")
        editor = app.control(1031)
        ex, ey, ew, eh = extents(editor)
        check(ex <= cell_x < ex + ew and ey <= cell_y < ey + eh, f"editor {extents(editor)} not over the cell")
        press("ctrl+a")
        type_keys("7.25")
        press("Return")
        app.expect(r"^key 1031 13$")
        app.expect(r"^edited 1 1 7\.25$")
        app.expect(r"^editor closed 0$")

        # Escape drops what was typed.
        time.sleep(0.6)
        mouse_click(cell_x, cell_y)
        app.expect(r"^editor 1 1 ")
        type_keys("999")
        press("Escape")
        app.expect(r"^edit cancelled$")

        # The last column edits through a drop-down list over the cell, one row high.
        list_x, row3_y = lx + 90 + 110 + 40, rows_top + 3 * row_height + row_height // 2
        time.sleep(0.6)
        mouse_click(list_x, row3_y)
        app.expect(r"^selected 3$")
        time.sleep(0.6)
        mouse_click(list_x, row3_y)
        m = app.expect(r"^editor list 9 selected 3 height (\d+)$")
        check(int(m.group(1)) <= 30, f"the closed drop-down list is {m.group(1)} high")
        click_at(app.control(1031, role_name="combo box"))
        click_at(app.control(name="0.7", role_name="menu item"))
        app.expect(r"^editor SelChange$")
        app.expect(r"^editor DropDownClosed$")
        app.expect(r"^edited 3 2 0\.7$")
        app.expect(r"^editor closed 0$")

        # A double click activates a row (one not selected yet: a click on a selected one edits).
        time.sleep(0.6)
        mouse_click(cell_x, cell_y + 3 * row_height, repeat=2)
        app.expect(r"^command 1030 DoubleClick$")

        # A right click selects the row under the pointer, then asks for the context menu there, in
        # the list's own coordinates; the menu key asks at the selected row.
        time.sleep(0.6)
        mouse_click(cell_x, cell_y + row_height, button=3)
        app.expect(r"^selected 2$")
        m = app.expect(r"^context row 2 at (\d+) (\d+) selected 2$")
        check(near(m.group(1), cell_x - lx) and near(m.group(2), cell_y + row_height - ly), f"menu at {m.groups()}")
        mouse_click(lx + 20, ly + lh - 4, button=3)  # below the rows
        app.expect(r"^context row -1 at \d+ \d+ selected 2$")
        press("Menu")
        app.expect(r"^context row 2 at \d+ \d+ selected 2$")

        app.press_button("OK")
        app.expect(r"^row 0 100\|0\.5\|0\.1$")
        app.expect(r"^row 1 200\|7\.25\|0\.2$")
        app.expect(r"^row 3 400\|6\.5\|0\.7$")
        app.expect(r"^result 1$")


def test_message_box_nested_dialog_and_menu():
    with start() as app:
        app.press_button("Сообщение")
        box = app.message_box("Сохранить изменения?")
        for label in ("Да", "Нет", "Отмена"):
            app.control(name=label, role_name="push button", window=box)
        app.press_button("Нет", window=box)
        app.expect(r"^message 7$")
        app.window_gone(box)

        app.press_button("Сообщение")
        box = app.message_box("Сохранить изменения?")
        app.press_button("Отмена", window=box)
        app.expect(r"^message 2$")

        # A nested modal dialog: Enter is its default button, Escape its cancel.
        app.press_button("Диалог")
        child = app.window("Вложенный диалог")
        app.focus_window("Вложенный диалог")
        comment = app.control(2001, window=child)
        app.type_text(comment, "Ветер 3 м/с")
        press("Return")
        app.expect(r"^child command 1 Clicked$")
        app.expect(r"^child 1 Ветер 3 м/с$")
        app.window_gone(child)

        app.press_button("Диалог")
        child = app.window("Вложенный диалог")
        app.focus_window("Вложенный диалог")
        press("Escape")
        app.expect(r"^child 2 $")

        # The pop-up menu: a disabled item shows so, a chosen one is returned.
        click_at(app.control(name="Меню", role_name="push button"))
        item = app.control(name="Метки", role_name="check menu item")
        check(not is_enabled(app.control(name="Вставить", role_name="menu item")), "disabled item")
        click_at(item)
        app.expect(r"^menu 103$")

        # A web address that cannot be opened: the caller hears of it, no box from the toolkit.
        app.press_button("Сайт")
        app.expect(r"^url [01]$")
        time.sleep(1)
        names = [w.name for w in app.windows()]
        check(names == [TITLE], f"windows after the address: {names}")

        app.press_button("Отмена")
        app.expect(r"^result 2$")


def test_save_file_dialog():
    folder = tempfile.mkdtemp(prefix="tk-gui-")
    with start("--folder", folder) as app:
        app.press_button("Файл")
        chooser = app.window("Экспорт")
        # The OK button carries the dialog's own caption; the proposed name is filled in.
        save = app.control(name="Сохранить!", role_name="push button", window=chooser)
        name = app.control(role_name="text", window=chooser)
        # wx adds the filter's extension to the proposed name.
        wait_for("the proposed name", lambda: text_of(name) == "функция.snr", timeout=5)
        name.queryEditableText().setTextContents("траектория")
        do_action(save)
        # The default extension is added to a name typed without one.
        app.expect(r"^file (.*)$".replace("(.*)", os.path.join(folder, "траектория.snr").replace(".", r"\.")))

        # With the extension added the name is another file: replacing it is asked about.
        open(os.path.join(folder, "old.snr"), "w").close()
        app.press_button("Файл")
        chooser = app.window("Экспорт")
        name = app.control(role_name="text", window=chooser)
        name.queryEditableText().setTextContents("old")
        do_action(app.control(name="Сохранить!", role_name="push button", window=chooser))
        box = app.message_box("old.snr уже существует")
        app.press_button("Да", window=box)
        app.expect(r"^file .*/old\.snr$")

        app.press_button("Отмена")
        app.expect(r"^result 2$")


def test_open_file_dialog_with_many_files():
    folder = tempfile.mkdtemp(prefix="tk-gui-")
    for name in ("a.snr", "B.SNR", "c.txt"):
        open(os.path.join(folder, name), "w").close()
    with start("--folder", folder) as app:
        app.press_button("Импорт")
        chooser = app.window("Открыть")
        # The filter shows the files of both cases, and only those; all of them are chosen at once.
        first = app.control(name="a.snr", role_name="table cell", window=chooser)
        app.control(name="B.SNR", role_name="table cell", window=chooser)
        check(find_in(chooser, name="c.txt") is None, "a file the filter leaves out is shown")
        app.focus_window("Открыть")
        click_at(first)
        press("ctrl+a")
        app.press_button("Импорт!", window=chooser)
        chosen = {app.expect(r"^import (.*)$").group(1), app.expect(r"^import (.*)$").group(1)}
        check(chosen == {os.path.join(folder, "a.snr"), os.path.join(folder, "B.SNR")}, f"chosen {chosen}")
        app.press_button("Отмена")
        app.expect(r"^result 2$")


def test_resize_reports_client_size():
    with start() as app:
        wid = app.x_window(TITLE)
        xdotool("windowsize", "--sync", wid, 700, 460)
        app.expect(r"^size 700 460$")
        app.press_button("Отмена")
        app.expect(r"^result 2$")


def test_drag_plot_windows():
    # The standard plot window on screen: the plot's dark blue beside the projectile's copper; the
    # window closes with OK from its button.
    with App([PROBE, "--drag-plot", "G7"], name="tk_wx_probe") as app:
        app.window("График стандартной драг-функции")
        x, y, w, h = extents(app.control(1000))
        check(pixel(x + w - 5, y + h // 2) == (0, 0, 64), f"plot background {pixel(x + w - 5, y + h // 2)}")
        x, y, w, h = extents(app.control(1002))
        check(pixel(x + w // 2, y + h // 2) == (200, 125, 70), f"projectile {pixel(x + w // 2, y + h // 2)}")
        app.press_button("Закрыть")
        check(app.wait_exit() == 0, "closed with OK")

    # A function without points: the message first, then the window with an empty plot.
    with App([PROBE, "--drag-plot", "empty"], name="tk_wx_probe") as app:
        box = app.message_box("Драг-функция не содержит данных")
        app.press_button("OK", window=box)
        app.window_gone(box)
        app.window("График драг-функции")
        app.press_button("Закрыть")
        check(app.wait_exit() == 0, "closed with OK")


if __name__ == "__main__":
    run_tests([
        test_edits_keys_and_clipboard,
        test_buttons_checks_radios_drop_list_progress,
        test_canvas_paint_and_mouse,
        test_list_selection_and_in_place_editing,
        test_message_box_nested_dialog_and_menu,
        test_save_file_dialog,
        test_open_file_dialog_with_many_files,
        test_resize_reports_client_size,
        test_drag_plot_windows,
    ], overall_timeout=130)
