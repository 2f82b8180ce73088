#!/usr/bin/env bash
# Builds the benchmarks optimised (build/release) and runs each one briefly. The figures are
# printed and kept in build/test-output/bench.txt; nothing is asserted on them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${ZTA_TEST_OUTPUT:-$top/build/test-output}
mkdir -p "$out"
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
shopt -s nullglob
targets=()
for src in "$top"/bench/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
[ ${#targets[@]} -gt 0 ] || exit 0
cmake --build "$top/build/release" -j "${ZTA_JOBS:-$(nproc)}" --target "${targets[@]}"
: > "$out/bench.txt"
for t in "${targets[@]}"; do
  echo "bench: $t"
  "$top/build/release/bench/$t" --benchmark_min_time=0.05 2>&1 | tee -a "$out/bench.txt"
done
