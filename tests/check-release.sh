#!/usr/bin/env bash
# Checks what scripts/release.sh left in OUT (default dist/), as a user would meet it:
# the .deb unpacked into a scratch root (dpkg -x) holds the programs, the desktop entry,
# the metainfo, the icons and the man pages, and its programs run from there; the
# desktop entry and the metainfo validate; the Windows zip holds the program and its
# text; the checksums match. Prints one line per failure and exits 1 if there was any.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
out=${1:-dist}
failures=0
fail() { echo "check-release: $*"; failures=$((failures + 1)); }

# The release's files are the ones its checksums name.
deb=$out/$(awk '$2 ~ /^vapora_.*\.deb$/ {print $2}' "$out/SHA256SUMS" 2>/dev/null)
version=$(dpkg-deb -f "$deb" Version 2>/dev/null)
zip=$out/vapora-${version}-win32.zip
[[ -n $version && -f $zip ]] || { fail "no release in $out"; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
id=org.vapora.Vapora
for f in usr/bin/vapora{,-calc,-chart} usr/share/man/man1/vapora{,-calc,-chart}.1.gz \
         usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml; do
  [ -s "$root/$f" ] || fail "$f missing from the package"
done
for size in 16 24 32 48 64 128; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" 2>/dev/null |
    grep -q "PNG image data, $size x $size" || fail "no ${size}x$size icon"
done
for package in libgtk-3-0 fonts-liberation2; do
  dpkg-deb -f "$deb" Depends | grep -q "$package" || fail "the package does not depend on $package"
done

# The programs as installed.
bin=$root/usr/bin
[ "$("$bin/vapora-calc" --version)" = "vapora-calc $version" ] || fail "vapora-calc --version"
"$bin/vapora-calc" state t_p 100 1 | grep -q '^h 2676\.18' || fail "vapora-calc state t_p 100 1"
"$bin/vapora-chart" "$root/chart.png"
file "$root/chart.png" | grep -q 'PNG image data, 994 x 671' || fail "vapora-chart did not draw the chart"
ldd "$bin/vapora" | grep -q 'not found' && fail "vapora needs a library that is missing"

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo invalid"
for page in vapora vapora-calc vapora-chart; do
  warnings=$(gzip -dc "$root/usr/share/man/man1/$page.1.gz" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done

listing=$(cmake -E tar tf "$zip")
for f in "vapora-$version-win32/vapora.exe" "vapora-$version-win32/README.txt"; do
  grep -qx "$f" <<<"$listing" || fail "$f missing from $zip"
done
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "checksums do not match"

[ "$failures" -eq 0 ] && echo "check-release: $deb and $zip are complete"
[ "$failures" -eq 0 ]
