"""tksetup as a user runs it from a setup folder: it opens the installer the system has registered
for Debian packages on the folder's "tkmobile.deb" and ends without waiting for it; without an
installer, a missing package or a failed start it says so in a message box and fails.

The "system" is a private set of XDG folders: a desktop entry for a small script registered for
application/vnd.debian.binary-package in mimeapps.list. The script writes the arguments it got to a
file, then stays running a while, as an installer would.

    scripts/run-gui-test.sh tests/gui/test_tksetup.py PATH/TO/tksetup
    python3 tests/gui/test_tksetup.py PATH/TO/tksetup --plain   (the starts only, no screen needed)
"""

import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

import signal

PLAIN = "--plain" in sys.argv
if PLAIN:
    # The starts alone need neither a screen nor the accessibility bus (nor pyatspi).
    class GuiTestError(AssertionError):
        pass

    def wait_for(what, probe, timeout=15.0, interval=0.05):
        deadline = time.monotonic() + timeout
        while not (value := probe()):
            if time.monotonic() >= deadline:
                raise GuiTestError(f"timed out after {timeout:.0f} s waiting for {what}")
            time.sleep(interval)
        return value
else:
    from atspi import App, GuiTestError, click_at, role, run_tests, wait_for, walk

TKSETUP = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/setup/tksetup")
CAPTION = "Установка Баллистического калькулятора"
PACKAGE_TYPE = "application/vnd.debian.binary-package"


def check(condition, message):
    if not condition:
        raise GuiTestError(message)


class System:
    """Private XDG folders with (or without) a registered installer, and a setup folder holding a copy
    of tksetup and a package; the folder's name has spaces and quotes."""

    def __init__(self, installer=True, interpreter="/bin/sh", package=True, archiver_first=False):
        self.root = tempfile.mkdtemp(prefix="tksetup-gui-")
        self.data_home = os.path.join(self.root, "data")
        self.config_home = os.path.join(self.root, "config")
        self.empty = os.path.join(self.root, "nothing")
        self.setup = os.path.join(self.root, "setup \"folder\" 'one'")
        self.record = os.path.join(self.root, "installer-arguments")
        for d in (self.data_home, self.config_home, self.empty, self.setup):
            os.makedirs(d)
        shutil.copy2(TKSETUP, self.setup)
        self.exe = os.path.join(self.setup, os.path.basename(TKSETUP))
        self.package = os.path.join(self.setup, "tkmobile.deb")
        if package:
            with open(self.package, "wb") as f:
                f.write(b"!<arch>\n")
        if installer:
            self._register(interpreter, archiver_first)

    def _register(self, interpreter, archiver_first):
        script = os.path.join(self.root, "fake-installer")
        with open(script, "w") as f:
            f.write(f"#!{interpreter}\n"
                    f"for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '{self.record}.part'\n"
                    f"echo $$ > '{self.record}.pid'\n"
                    f"mv '{self.record}.part' '{self.record}'\n"
                    "exec sleep 20\n")
        os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
        apps = os.path.join(self.data_home, "applications")
        os.makedirs(apps)
        with open(os.path.join(apps, "trajekton-test-installer.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Тестовый установщик\n"
                    f"Exec={script} %f\nMimeType={PACKAGE_TYPE};\nNoDisplay=true\n")
        default = "trajekton-test-installer.desktop"
        if archiver_first:
            # An archive manager the user chose for packages, which would only show what is inside.
            with open(os.path.join(apps, "trajekton-test-archiver.desktop"), "w") as f:
                f.write("[Desktop Entry]\nType=Application\nName=Архиватор\n"
                        f"Exec={script} --archiver %f\nMimeType={PACKAGE_TYPE};\nCategories=Utility;Archiving;\n")
            default = "trajekton-test-archiver.desktop"
        with open(os.path.join(self.config_home, "mimeapps.list"), "w") as f:
            f.write(f"[Default Applications]\n{PACKAGE_TYPE}={default}\n"
                    f"[Added Associations]\n{PACKAGE_TYPE}={default};trajekton-test-installer.desktop;\n")

    def env(self):
        # Only the private folders: the machine's own applications stay out of the test.
        return {"XDG_DATA_HOME": self.data_home, "XDG_DATA_DIRS": self.empty,
                "XDG_CONFIG_HOME": self.config_home, "XDG_CONFIG_DIRS": self.empty}

    def run_plain(self, args=(), cwd=None, timeout=10):
        full = dict(os.environ)
        full.update(self.env())
        # The output goes to files: the installer inherits them and keeps them open while it runs,
        # and a pipe would make the wait for tksetup's end a wait for the installer's.
        out_path = os.path.join(self.root, "tksetup-output")
        with open(out_path, "w") as out:
            began = time.monotonic()
            code = subprocess.run([self.exe, *args], env=full, cwd=cwd or self.root, stdout=out, stderr=out,
                                  timeout=timeout).returncode
            took = time.monotonic() - began
        with open(out_path) as f:
            return subprocess.CompletedProcess([self.exe, *args], code, "", f.read()), took

    def installer_arguments(self, timeout=10):
        wait_for("the installer's record of its arguments", lambda: os.path.exists(self.record), timeout)
        with open(self.record) as f:
            return f.read().splitlines()

    def installer_pid(self):
        try:
            with open(self.record + ".pid") as f:
                return int(f.read().strip())
        except (OSError, ValueError):
            return None

    def installer_running(self):
        pid = self.installer_pid()
        if pid is None:
            return False
        try:
            os.kill(pid, 0)
            return True
        except OSError:
            return False

    def close(self):
        pid = self.installer_pid()
        if pid is not None:
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass
        shutil.rmtree(self.root, ignore_errors=True)


def test_started_from_its_folder_it_opens_the_installer_on_the_package_and_ends():
    system = System()
    try:
        # Started from elsewhere (as a menu or file manager would), with no argument.
        result, took = system.run_plain()
        check(result.returncode == 0, f"tksetup ended with {result.returncode}: {result.stderr}")
        check(system.installer_arguments() == [system.package],
              f"the installer got {system.installer_arguments()!r}, not [{system.package!r}]")
        # It did not wait for the installer, which is still running.
        check(took < 8, f"tksetup took {took:.1f} s")
        check(system.installer_running(), "the installer is not running any more")
    finally:
        system.close()


def test_a_relative_folder_argument_reaches_the_installer_as_the_full_path():
    system = System()
    try:
        result, _ = system.run_plain([os.path.basename(system.setup)], cwd=system.root)
        check(result.returncode == 0, f"tksetup ended with {result.returncode}: {result.stderr}")
        check(system.installer_arguments() == [system.package], f"the installer got {system.installer_arguments()!r}")
    finally:
        system.close()


def test_an_archive_manager_chosen_for_packages_is_passed_over_for_the_installer():
    system = System(archiver_first=True)
    try:
        result, _ = system.run_plain()
        check(result.returncode == 0, f"tksetup ended with {result.returncode}: {result.stderr}")
        check(system.installer_arguments() == [system.package], f"the installer got {system.installer_arguments()!r}")
    finally:
        system.close()


def message_box_of(app, text):
    box = app.message_box(text)
    # GTK names a message box for the assistive tools by its kind: the error box is "Error" (the
    # runner's locale is C). Its caption is the X window's title.
    check(box.name == "Error", f"the box is a {box.name!r} box, not an error box")
    app.x_window(CAPTION)
    return box


def answer_box(app, box):
    ok = wait_for("the box's OK button",
                  lambda: next((a for a in walk(box) if role(a) == "push button" and a.name == "OK"), None))
    click_at(ok)
    app.window_gone(box)


def expect_box_and_failure(system, args, text):
    with App([system.exe, *args], env=system.env(), cwd=system.root, name="tksetup") as app:
        box = message_box_of(app, text)
        answer_box(app, box)
        code = app.wait_exit()
        check(code != 0, f"tksetup ended with {code} after its message")
        check(text in app.stderr_text(), f"the error output says {app.stderr_text()!r}")
    check(not os.path.exists(system.record), "an installer was started")


def test_without_an_installer_the_box_says_so():
    system = System(installer=False)
    try:
        expect_box_and_failure(system, [], "Не могу найти программу установки пакетов Debian")
    finally:
        system.close()


def test_a_missing_package_and_a_failed_start_are_said():
    system = System(package=False)
    try:
        expect_box_and_failure(system, [], "нет пакета «tkmobile.deb»")
        expect_box_and_failure(system, [os.path.join(system.root, "no such folder")], "не найдена")
    finally:
        system.close()
    # The installer's script cannot be run: its interpreter is not there.
    system = System(interpreter="/nonexistent/interpreter")
    try:
        expect_box_and_failure(system, [], "Не удалось запустить программу установки «Тестовый установщик»")
    finally:
        system.close()


PLAIN_TESTS = [
    test_started_from_its_folder_it_opens_the_installer_on_the_package_and_ends,
    test_a_relative_folder_argument_reaches_the_installer_as_the_full_path,
    test_an_archive_manager_chosen_for_packages_is_passed_over_for_the_installer,
]

if __name__ == "__main__":
    if PLAIN:
        for test in PLAIN_TESTS:
            test()
            print(f"ok   {test.__name__}", flush=True)
        sys.exit(0)
    run_tests(PLAIN_TESTS + [
        test_without_an_installer_the_box_says_so,
        test_a_missing_package_and_a_failed_start_are_said,
    ], overall_timeout=100)
