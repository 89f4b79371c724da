#!/usr/bin/env bash
# Checks what scripts/release.sh left in OUT (default dist/), as a packager and a user
# would meet it:  tests/check-release.sh [OUT [AGAIN]]. The checksums match, and those of
# AGAIN, a second release of the same commit, are the same; lintian finds no error or
# warning in any package (its man pages' groff messages among them) and no note but the
# accepted ones below; the desktop entry, metainfo and icons are valid; the Windows zip
# holds its files. In a fresh Debian root (scripts/debian-root.sh) vapora-tools goes in
# first and alone: it brings no GTK and its programs run. A C program builds against
# libvapora-dev with pkg-config alone; python3-vapora answers. Then the window: on a
# private Xvfb server a key opens its data-input dialog, whose screenshot shows every
# selector's label whole. One line per failure; exits 1 if there was any.
set -uo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$0")/.." || exit 1

# The lintian notes (info level) accepted, each with the reason.
accepted_notes=(
  # A -dbgsym package's documentation folder links to the one of the package whose debug
  # info it holds, as Debian's own do; only the source package would show lintian both
  # come from one source.
  cannot-check-whether-usr-share-doc-symlink-points-to-foreign-package
)

# --dialog ROOT PNG, on the display on_xvfb.sh gives: the window in ROOT opens its data-input
# dialog on a key; its screenshot goes to PNG, the program's messages to PNG.log.
if [ "${1:-}" = --dialog ]; then
  find_window() {  # 15 s at most: a window that has not appeared by then will not
    timeout 15 xdotool search --sync --onlyvisible --name "^$1\$" | head -1
  }
  scripts/debian-root.sh "$2" run vapora >"$3.log" 2>&1 &
  main=$(find_window "Vapora 2.0") && xdotool windowfocus --sync "$main" key a &&
    dialog=$(find_window "Data input window") && sleep 0.5 && import -window "$dialog" "$3"
  kill $! 2>/dev/null
  exit
fi

out=${1:-dist}
failures=0
fail() { echo "check-release: $*"; failures=$((failures + 1)); }

(cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "checksums do not match"
# AGAIN: a second release of the same commit, built from scratch, is the same bytes.
again=${2:-} && [ -z "$again" ] || { (cd "$again" && sha256sum --quiet -c SHA256SUMS) && cmp -s {"$out","$again"}/SHA256SUMS; } ||
  fail "$again differs from $out:$(diff {"$out","$again"}/SHA256SUMS | awk '/^>/ {printf " %s", $3}')"
mapfile -t debs < <(awk -v out="$out" '$2 ~ /\.d?deb$/ {print out "/" $2}' "$out/SHA256SUMS")
version=$(dpkg-deb -f "$out/$(awk '$2 ~ /^vapora_/ {print $2}' "$out/SHA256SUMS")" Version)
zip=$out/vapora-${version}-win32.zip
[[ -n $version && -f $zip ]] || { fail "no release in $out"; exit 1; }

notes=$(lintian --fail-on error,warning -I "${debs[@]}" 2>&1 | { grep -v 'root privileges' || true; }) ||
  fail "lintian: $notes"
for note in $(awk '/^I: / {print $3}' <<<"$notes" | sort -u); do
  printf '%s\n' "${accepted_notes[@]}" | grep -qx -- "$note" || fail "lintian note not accepted: $note"
done

root=$(mktemp -du /var/tmp/vapora-root.XXXXXX)
trap 'scripts/debian-root.sh "$root" remove' EXIT
for deb in "${debs[@]}"; do dpkg -x "$deb" "$root.files"; done
id=org.vapora.Vapora share=$root.files/usr/share
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo invalid"
icons=$(file "$share"/icons/hicolor/*/apps/$id.png | grep -c '/\([0-9]*\)x\1/apps/.*PNG image data, \1 x \1,')
[ "$icons" = 6 ] || fail "$icons icons of the sizes their folders name, not 6"
rm -rf "$root.files"
listing=$(unzip -Z1 "$zip")
for f in vapora.exe vapora-calc.exe README.txt LICENSE.txt Vapora.bas {32,64}-bit/vapora.dll; do
  grep -qx "vapora-$version-win32/$f" <<<"$listing" || fail "$f missing from $zip"
done
for dll in "32-bit:PE32 " "64-bit:PE32+ "; do
  unzip -p "$zip" "vapora-$version-win32/${dll%:*}/vapora.dll" | file - | grep -q "${dll#*:}executable (DLL)" ||
    fail "the ${dll%:*} vapora.dll is not a ${dll%:*} Windows DLL"
done

in_root() { scripts/debian-root.sh "$root" "$@"; }
in_root new || { fail "no fresh root"; exit 1; }
arch=$(dpkg --print-architecture)
in_root install "$out/vapora-tools_${version}_$arch.deb" || fail "vapora-tools does not install"
gtk=$(in_root run dpkg-query -W -f '${Package} ${Status}\n' 'libgtk*' 2>/dev/null | awk '/ installed$/ {print $1}')
[ -z "$gtk" ] || fail "vapora-tools brings GTK:" $gtk
[ "$(in_root run vapora-calc --version)" = "vapora-calc $version" ] || fail "vapora-calc --version"
in_root run vapora-calc state t_p 100 1 | grep -q '^h 2676\.18' || fail "vapora-calc state t_p 100 1"
in_root run vapora-chart /chart.png && file "$root/chart.png" | grep -q 'PNG image data, 994 x 671' ||
  fail "vapora-chart did not draw the chart"

# A C program built against libvapora-dev with pkg-config alone, and run.
in_root install "$out/libvapora-dev_${version}_$arch.deb" "$out/libvapora2_${version}_$arch.deb" \
  gcc libc6-dev pkg-config || fail "libvapora-dev does not install"
cp examples/c/steam.c "$root/tmp/"
in_root run sh -c 'cd /tmp && cc -std=c99 steam.c $(pkg-config --cflags --libs vapora) -o steam && ./steam' |
  grep -q 'h 3374598.2 J/kg' || fail "a C program does not build and run against libvapora-dev"

in_root install "$out/python3-vapora_${version}_all.deb" || fail "python3-vapora does not install"
[ "$(in_root run python3 -c "import vapora; print('%.6f' % vapora.solve('p_h', 5e6, 3e6).T)")" = 597.538631 ] ||
  fail "python3-vapora does not answer"

in_root install "$out/vapora_${version}_$arch.deb" || fail "vapora does not install"
shot=$root/data-input.png
sh tests/app/on_xvfb.sh "$self" --dialog "$root" "$shot"
if [ -f "$shot" ]; then
  ! grep -E -- '-(WARNING|CRITICAL)' "$shot.log" || fail "the window warned on a fresh root"
  # Each narrow selector (15 x 12 dialog units, 2 pixels each) shows its label whole: its
  # ink (darker than the radio's blue) ends before the selector's last column and is at
  # least as wide as the wide t,p selector's label less 3 pixels ("t,h" cut to "t," is 5
  # narrower).
  ink() { convert "$shot" -crop "$1x24+$2+$3" +repage -colorspace gray -threshold 35% -format %@ info:; }
  whole=$(ink 60 30 80 | cut -dx -f1)
  for at in 45,40 60,40 15,52 30,52 45,52 60,52 135,40 150,40 105,52 120,52 135,52 150,52; do
    IFS=x+ read -r w _ x _ <<<"$(ink 30 $((2 * ${at%,*})) $((2 * ${at#*,})))"
    ((x + w < 30 && w >= whole - 3)) || fail "selector at $at clipped: ink ${w}px from $x, t,p ${whole}px"
  done
else
  fail "the window did not open its data-input dialog: $(tail -3 "$shot.log")"
fi

[ "$failures" -eq 0 ] && echo "check-release: ${debs[*]} and $zip are complete"
[ "$failures" -eq 0 ]
