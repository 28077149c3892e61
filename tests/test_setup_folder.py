"""The setup folder as `make setup` leaves it: tksetup beside tkmobile.deb, a package for this machine's
architecture holding the program and its menu entry, with the libraries it links declared.

    python3 tests/test_setup_folder.py BUILD_DIR
"""

import os
import subprocess
import sys

build = sys.argv[1]
folder = os.path.join(build, "setup-folder")
subprocess.run(["cmake", "--build", build, "--target", "setup_folder"], check=True, stdout=subprocess.DEVNULL)


def field(name):
    return subprocess.run(["dpkg-deb", "-f", os.path.join(folder, "tkmobile.deb"), name], capture_output=True,
                          text=True, check=True).stdout.strip()


failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


check(sorted(os.listdir(folder)) == ["tkmobile.deb", "tksetup"], f"the folder holds {sorted(os.listdir(folder))}")
check(os.access(os.path.join(folder, "tksetup"), os.X_OK), "tksetup cannot be run")
arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True, check=True).stdout.strip()
check(field("Package") == "tkmobile", f"the package is {field('Package')!r}")
check(field("Architecture") == arch, f"the package is for {field('Architecture')!r}, the machine is {arch!r}")
depends = field("Depends")
for library in ("libwxgtk3.2", "libgtk-3-0", "libstdc++6", "libc6"):
    check(library in depends, f"{library} is not among the dependencies: {depends}")
contents = subprocess.run(["dpkg-deb", "-c", os.path.join(folder, "tkmobile.deb")], capture_output=True, text=True,
                          check=True).stdout
for path in ("./usr/bin/tkmobile", "./usr/share/applications/tkmobile.desktop"):
    check(any(line.split()[-1] == path for line in contents.splitlines()), f"{path} is not in the package")

for f in failures:
    print("FAIL", f)
print("ok" if not failures else f"{len(failures)} failures")
sys.exit(1 if failures else 0)
