#!/usr/bin/env bash
# Starts an installed ondivo on emulated hardware without a screen and checks that it reads its
# help pages and tips from the installed folder: it names that folder, the folder holds the
# help's first page, and the tip of the day comes up (an unreadable tips file would show a
# warning instead). Usage: start-installed.sh PROGRAM DATA_DIR
set -euo pipefail
program=$1
data=$2
work=$(mktemp -d)
trap '{ kill -KILL "$pid" && wait "$pid"; } 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/rt"
printf '[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nTipOfTheDay=1\n' >"$work/Ondivo.ini"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/rt" HOME="$work" \
  "$program" --simulate --config-dir "$work" --print-title >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 300); do
  grep -q '^dialog: ' "$work/out" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
fail() {
  echo "FAIL: $*" >&2
  echo "--- output" >&2
  cat "$work/out" "$work/err" >&2
  exit 1
}
grep -qx "data: $data" "$work/out" || fail "the help pages and tips are not read from $data"
[ -f "$data/help/Welcome.html" ] || fail "no help pages in $data/help"
grep -qx 'dialog: Tip of the Day' "$work/out" || fail "no tip of the day from $data/Ondivo.txt"
echo "ok: $program reads help and tips from $data"
