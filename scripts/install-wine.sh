#!/usr/bin/env bash
# Installs Debian's Wine for 32-bit programs, plus the X tools and the faces the Windows
# tests use, and optionally prepares a Wine prefix.
#   scripts/install-wine.sh                 install only (quick when already installed)
#   scripts/install-wine.sh --prefix DIR    also create the Wine prefix DIR if it is missing
#   scripts/install-wine.sh --bits          only print 32 or 64: which Windows build Wine
#                                           can run on this machine (fails, printing
#                                           nothing, where the probe cannot be built)
# Quiet; prints a line or two only when it installs something. Waits (bounded) for a dpkg
# lock held by another apt-get; stops with apt's own error when an update or an install
# fails.
set -euo pipefail

cd "$(dirname "$0")/.."

# Can this machine run 32-bit x86 code? Wine needs it for a 32-bit Windows program. Where
# it cannot (a kernel or hypervisor without the 32-bit code segment), the Windows tests run
# the 64-bit build of the same sources under 64-bit Wine instead. Prints "32" or "64"; a
# probe that cannot be built is no verdict, so then it says so and fails.
wine_bits() {
  local dir status=0
  dir=$(mktemp -d)
  if ! cc -O1 -no-pie -o "$dir/probe" scripts/ia32_probe.c 2>"$dir/log"; then
    echo "install-wine: the 32-bit probe does not build: $(head -1 "$dir/log")" >&2
    status=1
  elif "$dir/probe"; then
    echo 32
  else
    echo 64
  fi
  rm -rf "$dir"
  return $status
}
if [ "${1:-}" = "--bits" ]; then
  wine_bits
  exit
fi

prefix=""
if [ "${1:-}" = "--prefix" ]; then
  prefix="${2:?--prefix needs a directory}"
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Another apt-get holding the dpkg lock: wait for it, at most 10 minutes.
apt_retry() {
  local i
  for i in $(seq 1 60); do
    if $sudo "$@"; then return 0; fi
    if command -v fuser >/dev/null; then
      $sudo fuser /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock \
        >/dev/null 2>&1 || return 1
    elif [ "$i" -ge 3 ]; then
      return 1
    fi
    sleep 10
  done
  return 1
}

# The release's own (non-security) version of package $1 for architecture $2, if any.
main_version() {
  apt-cache madison "$1:$2" 2>/dev/null |
    awk -F'|' -v a="$2" '$3 ~ ("bookworm/main " a " Packages") {gsub(/ /, "", $2); print $2; exit}'
}

# The 32-bit libraries must carry exactly the version of their 64-bit twins. When the
# security suite's i386 index cannot be fetched (a mirror caught mid-sync), a 64-bit library
# installed from that suite has no 32-bit twin. align_multiarch_pins simulates the install,
# reads which packages apt cannot place or would remove, and pins each one installed from
# the security suite to the release's own version, which exists for both architectures
# (both architectures when its 32-bit twin is wanted). It prints the pins; at most 15 rounds.
prefs_dir=$(mktemp -d)
trap 'rm -rf "$prefs_dir"' EXIT
printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' >"$prefs_dir/wine.pref"

align_multiarch_pins() {
  local -A seen=()
  local pins=() round out names n base v inst added
  for round in $(seq 1 15); do
    if out=$(apt-get -s install --no-install-recommends --allow-downgrades \
        -o Dir::Etc::PreferencesParts="$prefs_dir" "$@" "${pins[@]}" 2>&1) &&
        ! grep -q '^Remv ' <<<"$out"; then
      echo "${pins[*]}"
      return 0
    fi
    names=$( { grep -oE '^ [a-z0-9.+-]+(:i386)? : Depends' <<<"$out" | awk '{print $1}'
               grep -oE 'Depends: [a-z0-9.+-]+(:i386)? .*but .* (installed|installable)' <<<"$out" |
                 awk '{print $2}'
               grep -oE '^Remv [a-z0-9.+-]+(:amd64)? ' <<<"$out" | awk '{print $2}' | sed 's/:amd64$//'
             } | sort -u)
    added=0
    for n in $names; do
      [ -n "${seen[$n]:-}" ] && continue
      seen[$n]=1
      base=${n%:i386}
      inst=$(dpkg-query -W -f='${Version}' "$base:amd64" 2>/dev/null || true)
      v=$(main_version "$base" amd64)
      [ -n "$inst" ] && [ -n "$v" ] && [ "$inst" != "$v" ] || continue
      dpkg --compare-versions "$inst" gt "$v" || continue
      pins+=("$base:amd64=$v")
      if [ "$n" != "$base" ] && [ "$(main_version "$base" i386)" = "$v" ]; then
        pins+=("$base:i386=$v")
      fi
      added=1
    done
    if [ "$added" -eq 0 ]; then
      grep -E '^ |^E:' <<<"$out" | head -20
      return 1
    fi
  done
  return 1
}

# Installs those of the packages that are missing.
install_packages() {
  local p start log pins_out pins
  missing=()
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done

  if [ ${#missing[@]} -gt 0 ]; then
    start=$(date +%s)
    echo "Installing: ${missing[*]}"
    if [ "${bits:-}" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      $sudo dpkg --add-architecture i386
    fi
    # An index that cannot be fetched would show later only as a package apt cannot
    # locate: stop here, under apt's own error.
    apt_retry apt-get update -qq || { echo "Wine: apt-get update failed (its error is above)"; exit 1; }
    export DEBIAN_FRONTEND=noninteractive
    log=$(mktemp)
    if ! apt_retry apt-get install -y -qq --no-install-recommends -o Dpkg::Use-Pty=0 \
        "${missing[@]}" >"$log" 2>&1; then
      grep -E '^(E|W):' "$log" || tail -5 "$log"
      echo "Plain install refused (apt's error above);" \
        "aligning 64-bit libraries that have no 32-bit twin on the release's version"
      if ! pins_out=$(align_multiarch_pins "${missing[@]}"); then
        echo "$pins_out"
        echo "Wine: apt cannot resolve ${missing[*]} on this machine"
        exit 1
      fi
      read -r -a pins <<<"$pins_out"
      echo "Realigned: ${pins[*]}"
      apt_retry apt-get install -y -qq --no-install-recommends --allow-downgrades -o Dpkg::Use-Pty=0 \
        -o Dir::Etc::PreferencesParts="$prefs_dir" "${missing[@]}" "${pins[@]}" >"$log" 2>&1 ||
        { grep -E '^(E|W):' "$log" || tail -5 "$log"; rm -f "$log"; echo "Wine: the install failed"; exit 1; }
    fi
    rm -f "$log"
    echo "Installed in $(( $(date +%s) - start )) s"
  fi
}

# The probe needs a compiler; only its verdict says which Wine to install. The faces:
# Liberation Serif and Sans, of the widths of Times New Roman and Arial, stand in for them
# (scripts/test-windows.sh registers them); Wine's own faces hold the System font of a
# Windows machine's widths, which sets the size of a dialog without a font of its own
# (scripts/test-windows.sh copies it into the prefix).
install_packages gcc libc6-dev xvfb xauth xdotool x11-utils imagemagick python3 \
  fonts-liberation fonts-liberation2
bits=$(wine_bits) || exit 1
if [ "$bits" = 32 ]; then
  install_packages wine wine32:i386 fonts-wine
else
  install_packages wine wine64 g++-mingw-w64-x86-64 fonts-wine
fi

# The loader and server for the chosen width: with both Wines installed, the plain wine
# command picks the 32-bit one, which cannot start where 32-bit code cannot run.
if [ "$bits" = 32 ]; then
  loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32
else
  loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
  export WINELOADER=$loader
fi
[ -x "$loader" ] || { echo "Wine: $loader is missing after the install"; exit 1; }
[ -x "$server" ] || server=$(command -v wineserver)

if [ -n "$prefix" ] && [ ! -f "$prefix/system.reg" ]; then
  export WINEPREFIX="$prefix" WINEARCH="win$bits" WINEDEBUG=-all
  # No Mono or Gecko: their install prompts would wait for a person.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$prefix" 2>/dev/null || { echo "Wine cannot start: the prefix folder $prefix cannot be created"; exit 1; }
  start=$(date +%s)
  # The prefix needs no display; the timeout keeps a stuck boot bounded.
  if ! out=$(DISPLAY="" timeout 300 "$loader" wineboot -u 2>&1); then
    timeout 20 "$server" -k >/dev/null 2>&1 || true
    echo "Wine cannot start: wineboot -u failed or timed out for the prefix $prefix ($(tail -1 <<<"$out"))"
    exit 1
  fi
  timeout 60 "$server" -w >/dev/null 2>&1 || true
  echo "Wine prefix $prefix prepared in $(( $(date +%s) - start )) s"
fi
