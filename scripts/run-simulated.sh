#!/usr/bin/env bash
# Builds the program (configuring once) and starts the front panel on emulated hardware.
# Extra arguments go to ondivo, e.g. --config-dir /tmp/ondivo-try.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target ondivo
exec "$build/app/ondivo" --simulate "$@"
