#!/usr/bin/env bash
# Installs what building, running, testing and releasing Vapora needs on Debian
# (the release: dpkg-dev for the build flags and the shared-library dependencies, zip;
# unzip, file, desktop-file-utils, appstream, lintian and debootstrap check what it made;
# ccache, cloc and valgrind serve the mutation script, the test share and the
# instruction counts of bench/).
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libgtk-3-dev libcairo2-dev fonts-dejavu-core fonts-liberation2 fonts-liberation
  librsvg2-bin poppler-utils
  xvfb xauth xdotool x11-utils imagemagick openbox
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64
  python3-numpy python3-pandas python3-dask python3-distributed python3-pytest python3-iapws
  dpkg-dev zip unzip file desktop-file-utils appstream groff-base lintian debootstrap
  ccache cloc valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
