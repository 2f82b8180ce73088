#!/usr/bin/env bash
# Builds the project. Usage: scripts/build.sh [debug|release|fuzz]   (default: release)
#   debug   Debug with address and undefined-behaviour sanitizers, into build/debug (the tests use it)
#   release optimised, into build/release (the program, the tool, the benchmarks)
#   fuzz    clang with libFuzzer, core libraries and fuzz targets only, into build/fuzz
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
jobs=${ZTA_JOBS:-$(nproc)}
case "$kind" in
  debug)
    cmake -S "$top" -B "$top/build/debug" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZTA_SANITIZE=ON ;;
  release)
    cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
  fuzz)
    cmake -S "$top" -B "$top/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZTA_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++ ;;
  *) echo "usage: $0 [debug|release|fuzz]" >&2; exit 2 ;;
esac
cmake --build "$top/build/$kind" -j "$jobs"
