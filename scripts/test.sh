#!/usr/bin/env bash
# Runs the whole test suite from a fresh machine: installs the packages, then
#  1. gcc release build, all tests (benchmarks are built, not timed);
#  2. clang build with AddressSanitizer + UBSan, all tests again, and every
#     fuzz target briefly on its seed corpus.
# Any failure or sanitizer finding fails the run. Tests labelled "long" (the
# full output matrix) run only by hand: ctest --test-dir build/release -L long
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
jobs=${KAMO_JOBS:-$(nproc)}

echo "== gcc release build"
scripts/build.sh release
ctest --test-dir build/release -LE long -j "$jobs" --output-on-failure --timeout 600

echo "== clang AddressSanitizer + UndefinedBehaviorSanitizer build"
scripts/build.sh asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
for fuzzer in build/asan/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer"); name=${name#fuzz_}
  corpus=fuzz/corpus/$name
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "-- fuzzing $name"
  "$fuzzer" -max_total_time="${KAMO_FUZZ_SECONDS:-15}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" 2>"$work.log" || { tail -50 "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done
ctest --test-dir build/asan -LE long -j "$jobs" --output-on-failure --timeout 1200
