#!/bin/sh
# Runs a command on a private Xvfb server, so tests running side by side never share a
# pointer or a keyboard focus: Xvfb picks a free display itself and names it (-displayfd).
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb"' EXIT
trap 'exit 143' INT TERM
read -r display <"$fifo"
rm -f "$fifo"
DISPLAY=":$display" GDK_BACKEND=x11 WAYLAND_DISPLAY= "$@"
