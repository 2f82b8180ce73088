#!/usr/bin/env bash
# Builds the benchmarks optimised (build/release) and runs each one briefly. The figures are
# printed and kept in build/test-output/bench.txt; nothing is asserted on them.
# Usage: scripts/bench.sh                    the figures
#        scripts/bench.sh --smoke BUILD_DIR  each benchmark of an existing build tree once, on
#                                            small inputs, to show that it still runs
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${ZTA_TEST_OUTPUT:-$top/build/test-output}
mkdir -p "$out"
shopt -s nullglob
targets=()
for src in "$top"/bench/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
[ ${#targets[@]} -gt 0 ] || exit 0
if [ "${1:-}" = --smoke ]; then
  build=${2:?usage: $0 --smoke BUILD_DIR}
  export ZTA_BENCH_SMOKE=1
  for t in "${targets[@]}"; do
    echo "bench: $t (smoke)"
    "$build/bench/$t" --benchmark_min_time=0 > "$out/$t.smoke.txt" 2>&1 ||
      { cat "$out/$t.smoke.txt"; echo "bench: $t FAILED"; exit 1; }
  done
  echo "bench: every benchmark ran"
  exit 0
fi
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$top/build/release" -j "${ZTA_JOBS:-$(nproc)}" --target "${targets[@]}"
: > "$out/bench.txt"
for t in "${targets[@]}"; do
  echo "bench: $t"
  "$top/build/release/bench/$t" --benchmark_min_time=0.05 2>&1 | tee -a "$out/bench.txt"
done
