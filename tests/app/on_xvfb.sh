#!/bin/sh
# Runs a command on a private Xvfb server, so tests running side by side never share a
# pointer or a keyboard focus: Xvfb picks a free display itself and names it (-displayfd).
#   on_xvfb.sh [--openbox] COMMAND...   --openbox: under a window manager, once it is ready
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb"; rm -f "$fifo"' EXIT
trap 'exit 143' INT TERM
read -r display <"$fifo"
export DISPLAY=":$display" GDK_BACKEND=x11 WAYLAND_DISPLAY=
if [ "$1" = --openbox ]; then
  shift
  command -v openbox >/dev/null || { echo "openbox is not installed" >&2; exit 1; }
  # Openbox runs its startup command once it manages the screen; it ends with the server.
  openbox --startup "sh -c 'echo >$fifo'" >/dev/null 2>&1 &
  read -r _ <"$fifo"
fi
"$@"
