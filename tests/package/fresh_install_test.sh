#!/usr/bin/env bash
# End to end, as a newcomer would meet the package: a brand-new minimal
# Debian 12 root, `apt-get install ./decagon_*.deb`, then an ordinary user's
# desktop session (desktop_session.sh) on Xvfb. Prints the installed size and
# the time from the fresh root to the first window. Needs root (chroot).
#
# The base root is made once with mmdebstrap and kept in $FRESH_CACHE
# (default /var/tmp/fresh-debian-base.tar); every run unpacks a new copy.
# Usage: fresh_install_test.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
cache=${FRESH_CACHE:-/var/tmp/fresh-debian-base.tar}
[ "$(id -u)" -eq 0 ] || { echo "run as root (it makes a chroot)" >&2; exit 1; }

if [ ! -s "$cache" ]; then
  command -v mmdebstrap >/dev/null || { apt-get update -q && apt-get install -y -q mmdebstrap; }
  mmdebstrap --variant=minbase --mode=root --format=tar bookworm "$cache.tmp" /etc/apt/sources.list.d/debian.sources
  mv "$cache.tmp" "$cache"
fi

root=$(mktemp -d /var/tmp/decagon-package.XXXXXX)
cleanup() {
  for m in dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
# FRESH_KEEP=1 keeps the root for a look afterwards (umount and remove it by hand).
[ -n "${FRESH_KEEP:-}" ] || trap cleanup EXIT
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive /bin/bash -c "$1"
}
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

begin=$(now)
tar -C "$root" -xf "$cache"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/"
unpacked=$(now)
root_size() { in_root "apt-get clean; du -skx --exclude=/var/lib/apt/lists / | cut -f1"; }
base_size=$(root_size)
base_packages=$(in_root "dpkg-query -W -f=. | wc -c")

echo "== apt-get install ./$(basename "$deb")"
in_root "apt-get update -q >/dev/null && apt-get install -y -q /tmp/$(basename "$deb") >/tmp/install.log" ||
  { tail -n 30 "$root/tmp/install.log"; exit 1; }
installed=$(now)
[ -x "$root/usr/bin/decagon" ] && [ -x "$root/usr/bin/decagon-cli" ] || { echo "FAIL: programs missing" >&2; exit 1; }
size=$(in_root "dpkg-query -W -f='\${Installed-Size}' decagon")
after_size=$(root_size)
after_packages=$(in_root "dpkg-query -W -f=. | wc -c")

echo "== an ordinary user's session"
# The session's own tools: an X server, a robot for mouse and keys, man.
in_root "apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-utils man-db >/dev/null"
in_root "useradd --create-home --shell /bin/bash user"
cp "$here/desktop_session.sh" "$root/tmp/desktop_session.sh"
chmod 755 "$root/tmp/desktop_session.sh"
session_start=$(now)
in_root "su --login user --command 'bash ${SESSION_TRACE:+-x} /tmp/desktop_session.sh'" ||
  { echo "FAIL: the user's session (root: $root)" >&2; exit 1; }
session_end=$(now)

echo "== figures"
[ -z "${FRESH_KEEP:-}" ] || echo "root kept: $root"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; installed size $size KiB"
echo "the package with its dependencies and recommendations: $((after_size - base_size)) KiB on a fresh root of $base_size KiB"
echo "Debian packages: $after_packages after the install, $base_packages in the fresh root"
echo "unpack the fresh root: $(seconds "$begin" "$unpacked") s"
echo "apt-get update + install the package: $(seconds "$unpacked" "$installed") s"
echo "fresh root to an installed tool: $(seconds "$begin" "$installed") s (plus the first window, above)"
echo "user session (two starts, checks): $(seconds "$session_start" "$session_end") s"
echo "PASS"
