#!/usr/bin/env bash
# Takes a picture of a program's window: starts PROGRAM [ARGS...] on a private X server (Xvfb), waits
# for its window, saves it to OUT.png and stops the program.
#   scripts/screenshot.sh PROGRAM OUT.png [ARGS...]
# WINDOW_NAME (optional): the title of the window to take, when the program shows several.
# SETTLE (optional): seconds to let the window paint after it appears (default 1).
# KEYS (optional): keys pressed in the window before the picture, in xdotool's names ("Return"); the
# picture then shows what covers the window too (a message box the keys brought up).
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 PROGRAM OUT.png [ARGS...]" >&2
  exit 2
fi

if [ -z "${SCREENSHOT_INSIDE_XVFB:-}" ]; then
  export SCREENSHOT_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

program=$1
out=$2
shift 2
for tool in xdotool import; do
  command -v "$tool" > /dev/null || { echo "$0: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

# No accessibility bus here: GTK would wait for it.
export NO_AT_BRIDGE=1
"$program" "$@" > /dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true' EXIT

window=""
for _ in $(seq 1 300); do
  if ! kill -0 "$pid" 2> /dev/null; then
    echo "$0: $program ended before showing a window" >&2
    exit 1
  fi
  if [ -n "${WINDOW_NAME:-}" ]; then
    window=$(xdotool search --onlyvisible --pid "$pid" --name "^${WINDOW_NAME}\$" 2> /dev/null | tail -n 1 || true)
  else
    window=$(xdotool search --onlyvisible --pid "$pid" --name '.+' 2> /dev/null | tail -n 1 || true)
  fi
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "$0: no window from $program within 30 s" >&2
  exit 1
fi
sleep "${SETTLE:-1}"
if [ -n "${KEYS:-}" ]; then
  # shellcheck disable=SC2086
  xdotool key $KEYS
  sleep "${SETTLE:-1}"
fi
if [ -n "${KEYS:-}" ]; then
  # What the screen shows where the window is, message boxes over it included (a window's own image
  # has nothing where another covers it: no compositor keeps it).
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
else
  import -window "$window" "$out"
fi
echo "$out"
