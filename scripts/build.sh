#!/usr/bin/env bash
# Builds the project. Usage: scripts/build.sh [test|debug|release] [TARGET...]   (default: release)
#   test    clang, address and undefined-behaviour sanitizers, the tests, the benchmarks and the
#           fuzz targets in one tree, into build/test (the test command uses it)
#   debug   GCC, Debug with the same sanitizers, into build/debug (for working on the code)
#   release optimised, into build/release (the program, the tool, the benchmarks' figures)
# With targets named, only those are built.
# Warnings are errors here: the project's own builds stay clean.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
[ $# -gt 0 ] && shift
jobs=${ZTA_JOBS:-$(nproc)}
case "$kind" in
  test)
    cmake -S "$top" -B "$top/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZTA_WERROR=ON \
      -DZTA_SANITIZE=ON -DZTA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ ;;
  debug)
    cmake -S "$top" -B "$top/build/debug" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZTA_WERROR=ON \
      -DZTA_SANITIZE=ON ;;
  release)
    cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZTA_WERROR=ON ;;
  *) echo "usage: $0 [test|debug|release] [TARGET...]" >&2; exit 2 ;;
esac
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build "$top/build/$kind" -j "$jobs" "${targets[@]}"
