#!/usr/bin/env bash
# Installs the dependencies, builds Vapora and starts it. Without a display it says so
# before the minutes of building, and still builds: vapora-chart needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
no_display_note="Vapora needs a display to open its window; without one, build/tools/vapora-chart chart.png draws the chart to a PNG."
has_display=1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  has_display=0
  echo "$no_display_note"
fi
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

if [ "$has_display" -eq 0 ]; then
  echo "$no_display_note"
  exit 1
fi
exec build/app/vapora
