#!/usr/bin/env bash
# Runs a GUI test script as a user's session would have it: a private X server (Xvfb, 1280x1024x24,
# 96 dpi) and a private D-Bus session whose accessibility bus the test drives the program through.
#   scripts/run-gui-test.sh TEST.py [ARGS...]
# Returns the test's exit status; the whole run is stopped after GUI_TEST_TIMEOUT seconds (120).
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 TEST.py [ARGS...]" >&2
  exit 2
fi

if [ -z "${TRAJEKTON_GUI_SESSION:-}" ]; then
  for tool in xvfb-run dbus-run-session xdotool import; do
    command -v "$tool" > /dev/null || { echo "$0: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
  done
  export TRAJEKTON_GUI_SESSION=1
  exec timeout --kill-after=10 "${GUI_TEST_TIMEOUT:-120}" \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" \
    dbus-run-session -- "$0" "$@"
fi

# Inside the session. GTK 3 brings its accessibility bridge itself unless told not to; modules of a
# desktop session would only get in the way.
unset NO_AT_BRIDGE GTK_MODULES GTK3_MODULES
export GDK_BACKEND=x11
export GTK_THEME=Adwaita
export GSETTINGS_BACKEND=memory
export LC_ALL=C.UTF-8
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
trap 'rm -rf "$runtime"' EXIT

# pyatspi is the system's (python3-pyatspi), whatever python3 comes first in PATH.
status=0
/usr/bin/python3 "$@" || status=$?
exit "$status"
