#!/usr/bin/env bash
# The Debian package in a fresh Debian root: it installs with dpkg (every dependency it declares
# is there, nothing more), the installed program starts and reads its help pages and tips from
# /usr/share/ondivo, and it removes and purges leaving none of its files. The root is a minimal
# Debian 12 with the package's dependencies, made by scripts/package.sh beside the package; this
# test works on a copy of it. Usage: deb-in-root.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
skip() {
  echo "SKIP: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root for chroot"
deb=$(ls "$build"/ondivo_*.deb 2>/dev/null | head -n1 || true)
[ -n "$deb" ] || skip "no package in $build: run scripts/package.sh"
base=$build/package-root
[ -x "$base/usr/bin/dpkg" ] || skip "no Debian root in $base: run scripts/package.sh"

root=$build/package-root.test
rm -rf "$root"
trap 'rm -rf "$root"' EXIT
cp -a "$base" "$root"
cp "$deb" "$root/tmp/ondivo.deb"
cp "$here/start-installed.sh" "$root/tmp/start-installed.sh"

# In a mount namespace of its own, so /proc and the pty file system go away with it.
unshare --mount --fork bash -euo pipefail -c '
  root=$1
  mount -t proc proc "$root/proc"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  ln -sfn pts/ptmx "$root/dev/ptmx"  # the emulated serial radios open ptys here
  in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
  in_root dpkg -i /tmp/ondivo.deb
  in_root dpkg -L ondivo > "$root/tmp/files"
  in_root bash /tmp/start-installed.sh /usr/bin/ondivo /usr/share/ondivo
  in_root dpkg --purge ondivo
  left=
  while read -r f; do
    [ -d "$root$f" ] || [ ! -e "$root$f" ] || left="$left $f"
  done < "$root/tmp/files"
  [ -z "$left" ] || { echo "FAIL: left after purge:$left" >&2; exit 1; }
  [ ! -d "$root/usr/share/ondivo" ] || { echo "FAIL: /usr/share/ondivo left after purge" >&2; exit 1; }
  echo "ok: installed, ran and purged cleanly"
' bash "$root"
