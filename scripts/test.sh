#!/usr/bin/env bash
# Installs what is needed, builds with sanitizers, runs every test, runs the benchmarks (figures
# only), then every fuzz target for 30 s.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
bash "$top/scripts/build.sh" debug
export ZTA_TEST_OUTPUT=${ZTA_TEST_OUTPUT:-$top/build/test-output}
mkdir -p "$ZTA_TEST_OUTPUT"
(cd "$top/build/debug" && ctest --output-on-failure -j "${ZTA_JOBS:-2}" --timeout 600) |
  tee "$ZTA_TEST_OUTPUT/ctest.log"
bash "$top/scripts/bench.sh" --smoke
bash "$top/scripts/build.sh" fuzz
bash "$top/scripts/fuzz.sh" "${ZTA_FUZZ_SECONDS:-30}"
# The tests' tally once more, last, after the benchmark and fuzzing output.
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$ZTA_TEST_OUTPUT/ctest.log" | tail -n 1)
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
failed=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$summary")
echo "tests: $((total - failed)) passed, $failed failed"
