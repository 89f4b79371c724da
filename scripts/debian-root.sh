#!/usr/bin/env bash
# A fresh minimal Debian root, to try packages in as a user would get them:
#   scripts/debian-root.sh ROOT new             a fresh root in the new folder ROOT
#   scripts/debian-root.sh ROOT install ARG...  apt-get install ARG... there (package
#                                               files or names), with what apt recommends
#                                               by default, as a user gets it
#   scripts/debian-root.sh ROOT run CMD...      run CMD there, in a clean environment
#   scripts/debian-root.sh ROOT remove          unmount and delete ROOT
# The root is `debootstrap --variant=minbase` of this machine's Debian release, kept as a
# tarball in VAPORA_CACHE (default /var/cache/vapora-release) so that the next root takes
# seconds. Needs root; the network to Debian's archive. Quiet; on failure, prints the
# tail of the log and exits 1.
set -euo pipefail
root=$1 action=$2
shift 2
log=$root.log

failed() { echo "debian-root: $1: $(tail -3 "$log")" >&2; exit 1; }

case $action in
  new)
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cache=${VAPORA_CACHE:-/var/cache/vapora-release}/debian-$suite-minbase.tar
    mkdir -p "$root"
    if [ ! -f "$cache" ]; then
      mkdir -p "$(dirname "$cache")"
      debootstrap --variant=minbase "$suite" "$root" http://deb.debian.org/debian >"$log" 2>&1 ||
        failed debootstrap
      tar -C "$root" -cf "$cache.part" . && mv "$cache.part" "$cache"
    else
      tar -C "$root" -xf "$cache"
    fi
    cp /etc/resolv.conf "$root/etc/"
    mount -t proc proc "$root/proc"
    chroot "$root" apt-get update -qq >"$log" 2>&1 || failed "apt-get update"
    ;;
  install)
    packages=()
    for p in "$@"; do  # a package file goes into the root's /tmp first
      if [ -f "$p" ]; then cp "$p" "$root/tmp/" && p=/tmp/$(basename "$p"); fi
      packages+=("$p")
    done
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${packages[@]}" \
      >>"$log" 2>&1 || failed "apt-get install $*"
    ;;
  run)
    exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
      ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
    ;;
  remove)
    ! mountpoint -q "$root/proc" || umount "$root/proc"
    rm -rf "$root" "$log"
    ;;
  *) echo "debian-root: no action $action" >&2; exit 2 ;;
esac
