#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh release|asan [extra cmake args]
#   release  gcc, optimised, warnings as errors          -> build/release
#   asan     clang, AddressSanitizer + UBSan, fuzzers    -> build/asan
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
shift || true
jobs=${KAMO_JOBS:-$(nproc)}
case "$kind" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAMO_WERROR=ON \
      -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ "$@" >/dev/null
    ninja -C build/release -j "$jobs" ;;
  asan)
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAMO_WERROR=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DKAMO_SANITIZE=ON -DKAMO_FUZZ=ON -DKAMO_BENCH=OFF "$@" >/dev/null
    ninja -C build/asan -j "$jobs" ;;
  *) echo "usage: $0 release|asan" >&2; exit 2 ;;
esac
