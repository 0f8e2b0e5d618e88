#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it: lintian, the installed tree file
# by file, and the package installed, started and purged in a minimal Debian 12 root. The root
# holds just the package's dependencies (from the mirror, made once with mmdebstrap and kept
# beside the package until those dependencies change).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"

rm -f "$build"/ondivo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/ondivo_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends
lintian --fail-on error,warning --info "$deb"

QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -R '^InstallTreeTest$' --output-on-failure

root=$build/package-root
depends=$(dpkg-deb -f "$deb" Depends)
if [ "$(cat "$root/.ondivo-depends" 2>/dev/null)" != "$depends" ]; then
  rm -rf "$root"
  # Package names only: versions are the mirror's, and of alternatives the first is taken.
  include=$(sed -E 's/\([^)]*\)//g; s/\|[^,]*//g; s/ //g' <<<"$depends")
  mmdebstrap --quiet --variant=essential --mode=root --include="$include" bookworm "$root"
  echo "$depends" >"$root/.ondivo-depends"
fi
bash tests/package/deb-in-root.sh "$build"
