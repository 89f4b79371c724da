#!/usr/bin/env bash
# Checks what scripts/release.sh left in OUT (default dist/), as a packager and a user
# would meet it: the checksums match; lintian finds no error or warning in any package and
# no note but the accepted ones below; the desktop entry, the metainfo and the man pages
# are valid; the Windows zip holds its files. Then the packages go into a fresh Debian
# root (debootstrap --variant=minbase, kept as a tarball in VAPORA_CACHE, by default
# /var/cache/vapora-release, between runs), vapora-tools first and alone: it brings no GTK
# and its programs run. Then the rest: the window starts on a private Xvfb server, a key
# opens the data-input dialog, and its screenshot shows every pair selector's whole label.
# Prints one line per failure and exits 1 if there was any.
set -uo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$0")/.." || exit 1

# The lintian notes (info level) accepted, each with the reason.
accepted_notes=(
  # A -dbgsym package's documentation folder is a link to the one of the package whose
  # debug info it holds (as in Debian's own); lintian cannot see that both come from one
  # source without the source package.
  cannot-check-whether-usr-share-doc-symlink-points-to-foreign-package
)

# --dialog ROOT PNG: on the display on_xvfb.sh gives, the window in ROOT opens its data-input
# dialog on a key; the dialog's screenshot goes to PNG, the program's messages to PNG.log.
if [ "${1:-}" = --dialog ]; then
  find_window() {  # polls 15 s at most: a window that has not appeared by then will not
    for _ in $(seq 75); do
      xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return
      sleep 0.2
    done
    return 1
  }
  chroot "$2" env -i DISPLAY="$DISPLAY" HOME=/root LANG=C.UTF-8 vapora >"$3.log" 2>&1 &
  main=$(find_window "Vapora 2.0") && xdotool windowfocus --sync "$main" key a &&
    dialog=$(find_window "Data input window") && sleep 0.5 && import -window "$dialog" "$3"
  status=$?
  kill $! 2>/dev/null
  exit $status
fi

out=${1:-dist}
failures=0
fail() { echo "check-release: $*"; failures=$((failures + 1)); }

# The release's files are the ones its checksums name.
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "checksums do not match"
mapfile -t debs < <(awk '$2 ~ /\.d?deb$/ {print "'"$out"'/" $2}' "$out/SHA256SUMS" 2>/dev/null)
deb_of() { printf '%s\n' "${debs[@]}" | grep "/$1_[^_]*_[^_]*\.deb$"; }
version=$(dpkg-deb -f "$(deb_of vapora)" Version 2>/dev/null)
zip=$out/vapora-${version}-win32.zip
[[ -n $version && -f $zip ]] || { fail "no release in $out"; exit 1; }

notes=$(lintian --fail-on error,warning -I "${debs[@]}" 2>&1 | { grep -v 'root privileges' || true; }) ||
  fail "lintian: $notes"
for note in $(awk '/^I: / {print $3}' <<<"$notes" | sort -u); do
  printf '%s\n' "${accepted_notes[@]}" | grep -qx -- "$note" || fail "lintian note not accepted: $note"
done

root=$(mktemp -d /var/tmp/vapora-root.XXXXXX)
trap 'umount "$root/proc" 2>/dev/null; rm -rf "$root"' EXIT
for deb in "${debs[@]}"; do dpkg -x "$deb" "$root/unpacked"; done
id=org.vapora.Vapora
desktop-file-validate "$root/unpacked/usr/share/applications/$id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$root/unpacked/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo invalid"
for page in "$root"/unpacked/usr/share/man/man1/*.1.gz; do
  warnings=$(gzip -dc "$page" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done
for size in 16 24 32 48 64 128; do
  file "$root/unpacked/usr/share/icons/hicolor/${size}x$size/apps/$id.png" 2>/dev/null |
    grep -q "PNG image data, $size x $size" || fail "no ${size}x$size icon"
done
rm -rf "$root/unpacked"

listing=$(unzip -Z1 "$zip")
for f in vapora.exe vapora-calc.exe README.txt LICENSE.txt; do
  grep -qx "vapora-$version-win32/$f" <<<"$listing" || fail "$f missing from $zip"
done

# A fresh Debian root, the same release as this machine's.
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
cache=${VAPORA_CACHE:-/var/cache/vapora-release}/debian-$suite-minbase.tar
if [ ! -f "$cache" ]; then
  mkdir -p "$(dirname "$cache")" "$root/new"
  debootstrap --variant=minbase "$suite" "$root/new" http://deb.debian.org/debian >"$root/debootstrap.log" 2>&1 &&
    tar -C "$root/new" -cf "$cache.part" . && mv "$cache.part" "$cache" ||
    { fail "debootstrap: $(tail -3 "$root/debootstrap.log")"; exit 1; }
  rm -rf "$root/new"
fi
tar -C "$root" -xf "$cache" && cp /etc/resolv.conf "$root/etc/" && mount -t proc proc "$root/proc" ||
  { fail "no fresh root"; exit 1; }
mkdir -p "$root/release" && cp "${debs[@]}" "$root/release/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
install_in_root() {  # as a user would, with the packages apt recommends
  in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -q $*" >>"$root/apt.log" 2>&1 ||
    fail "$* does not install: $(tail -3 "$root/apt.log")"
}
in_root apt-get update -qq >"$root/apt.log" 2>&1 || fail "apt-get update: $(tail -1 "$root/apt.log")"

install_in_root "/release/vapora-tools_${version}_*.deb"
gtk=$(in_root dpkg-query -W -f '${Package} ${Status}\n' 'libgtk*' 2>/dev/null | awk '/ installed$/ {printf "%s ", $1}')
[ -z "$gtk" ] || fail "vapora-tools brings GTK: $gtk"
[ "$(in_root vapora-calc --version)" = "vapora-calc $version" ] || fail "vapora-calc --version"
in_root vapora-calc state t_p 100 1 | grep -q '^h 2676\.18' || fail "vapora-calc state t_p 100 1"
in_root vapora-chart /chart.png && file "$root/chart.png" | grep -q 'PNG image data, 994 x 671' ||
  fail "vapora-chart did not draw the chart"

install_in_root "/release/vapora_${version}_*.deb"
shot=$root/data-input.png
if sh tests/app/on_xvfb.sh "$self" --dialog "$root" "$shot"; then
  ! grep -E -- '-(WARNING|CRITICAL)' "$shot.log" || fail "the window warned on a fresh root"
  # Each narrow selector (15 x 12 dialog units, 2 pixels each) shows its label whole: its
  # ink (darker than the radio's blue) ends before the selector's last column and is at
  # least as wide as the wide t,p selector's label less 3 pixels ("t,h" cut to "t," is 5
  # narrower).
  ink() { convert "$shot" -crop "$1x24+$2+$3" +repage -colorspace gray -threshold 35% -format "%@" info:; }
  whole=$(ink 60 30 80 | cut -dx -f1)
  for at in 45,40 60,40 15,52 30,52 45,52 60,52 135,40 150,40 105,52 120,52 135,52 150,52; do
    IFS=x+ read -r w _ x _ <<<"$(ink 30 $((2 * ${at%,*})) $((2 * ${at#*,})))"
    ((x + w < 30 && w >= whole - 3)) || fail "selector at $at clipped: ink ${w}px from $x, t,p ${whole}px"
  done
else
  fail "the window did not open its data-input dialog: $(tail -3 "$shot.log")"
fi
[ "$failures" -eq 0 ] || cp "$shot" "${TMPDIR:-/tmp}/vapora-data-input.png" 2>/dev/null

[ "$failures" -eq 0 ] && echo "check-release: ${debs[*]} and $zip are complete"
[ "$failures" -eq 0 ]
