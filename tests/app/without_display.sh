#!/bin/sh
# Without a display the program says so in one line and exits with a failure status,
# not by a signal.
program="$1"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" 2>&1)
status=$?
echo "status $status: $out"
[ "$status" -ne 0 ] && [ "$status" -lt 124 ] || exit 1
[ -n "$out" ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ]
