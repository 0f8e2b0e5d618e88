#!/usr/bin/env bash
# Builds the file-reader fuzzers with clang (libFuzzer + ASan + UBSan) and runs each for a fixed
# time on its committed seed corpus; a crash, leak, hang or sanitizer report fails the run.
#   bash scripts/fuzz.sh [seconds per target] [target ...]     (default 20 s, all five)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
  targets=(presets_file script_file organizer_database configuration_file ini_file)

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ not found, fuzzers skipped (scripts/install-deps.sh installs clang)"
  exit 0
fi

build=${FUZZ_BUILD_DIR:-build-fuzz}
[ -f "$build/build.ninja" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DONDIVO_FUZZ=ON
# Only the Qt-free core and the targets: no widgets, tests or benchmarks.
cmake --build "$build" --target fuzzers

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds are only read.
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  echo "== fuzz_$target: ${seconds}s"
  if ! "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=5 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "tests/fuzz/corpus/$target" \
    >"$build/fuzz_$target.log" 2>&1; then
    failed+=("$target")
    tail -n 60 "$build/fuzz_$target.log"
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' \
    "$build/fuzz_$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
