#!/usr/bin/env bash
# The installed tree, file by file: `cmake --install` into a staging folder puts exactly the
# files a Linux desktop expects where it expects them (a file left out or a stray one fails),
# the help pages' pictures and links resolve, the desktop entry, AppStream data and manual page
# validate, the manual lists the options --help lists, and the staged program finds its help
# pages and tips in the staged tree.
# Usage: check-install-tree.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
id=org.ondivo.Ondivo
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

expected=(
  bin/ondivo
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/ondivo.1.gz
  share/doc/ondivo/copyright share/doc/ondivo/changelog.gz share/doc/ondivo/README.Debian
  share/lintian/overrides/ondivo
  share/ondivo/Ondivo.txt
  lib/ondivo/alsa-plugins/libasound_module_ctl_ondivo.so
  lib/ondivo/soapy-modules/libSoapyOndivo.so
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
while IFS= read -r file; do
  expected+=("share/ondivo/$file")
done < <(cd "$source/data" && find help -type f)
[ "$(ls -A "$stage")" = usr ] || fail "files outside the prefix: $(ls -A "$stage")"
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) >"$stage.diff"; then
  fail "installed files differ from the expected ones (< missing, > not expected):"
  cat "$stage.diff" >&2
fi
rm -f "$stage.diff"

# The installed help pages find every picture and page they name beside them.
help=$root/share/ondivo/help
for page in "$help"/*.html; do
  for target in $(grep -oE '(src|href)="[^"]*"' "$page" | sed -E 's/^[a-z]+="//; s/"$//; s/#.*//'); do
    case $target in *://* | mailto:* | "") continue ;; esac
    [ -f "$help/$target" ] || fail "${page##*/} names $target, which is not installed"
  done
done

desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop entry"
# The tree as a whole: the AppStream data, and the desktop entry and icon it refers to.
appstreamcli validate-tree --no-net "$stage" >/dev/null ||
  fail "AppStream: $(appstreamcli validate-tree --no-net "$stage")"

# The manual renders without warnings, and its options are those of --help.
page=$root/share/man/man1/ondivo.1.gz
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot render"
[ -z "$warnings" ] || fail "man warns: $warnings"
options() { grep -oE '^ +-[-a-z]+(, -[-a-z]+)?' | grep -oE -- '-[-a-z]+' | sort -u; }
manual=$(MANWIDTH=200 man -l "$page" 2>/dev/null | sed -n '/^OPTIONS/,/^[A-Z]/p' | options)
usage=$("$root/bin/ondivo" --help | options)
[ -n "$usage" ] && [ "$manual" = "$usage" ] ||
  fail "the manual lists other options than --help:$(diff <(echo "$manual") <(echo "$usage"))"

bash "$(dirname "$0")/start-installed.sh" "$root/bin/ondivo" "$root/share/ondivo" || status=1
exit $status
