#!/usr/bin/env bash
# Installs the dependencies, builds Vapora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Vapora needs a display to open its window; without one, build/tools/vapora-chart chart.png draws the chart to a PNG."
  exit 1
fi
exec build/app/vapora
