#!/usr/bin/env bash
# Installs what is needed, checks the formatting, makes one build (clang with address and
# undefined-behaviour sanitizers: the tests, the fuzz targets and the benchmarks), runs every test,
# clang-tidy over the last change, each benchmark once as a smoke test, and every fuzz target over
# its corpus and a few seconds more. Every step runs even when an earlier one failed (a failed
# build skips what needs it); the tally comes last and the exit status says whether all passed.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export ZTA_TEST_OUTPUT=${ZTA_TEST_OUTPUT:-$top/build/test-output}
bash "$top/scripts/install-deps.sh" || { echo "test: installing the dependencies failed" >&2; exit 1; }
mkdir -p "$ZTA_TEST_OUTPUT"
build="$top/build/test"
failed=()
step() {
  local name=$1
  shift
  echo "== $name"
  local started=$SECONDS
  if "$@"; then
    echo "== $name: passed ($((SECONDS - started)) s)"
  else
    echo "== $name: FAILED ($((SECONDS - started)) s)"
    failed+=("$name")
  fi
}
run_tests() {
  (cd "$build" && ctest --output-on-failure -j "${ZTA_JOBS:-2}" --timeout 600) |
    tee "$ZTA_TEST_OUTPUT/ctest.log"
}
: > "$ZTA_TEST_OUTPUT/ctest.log"
step format bash "$top/scripts/check-format.sh"
step build bash "$top/scripts/build.sh" test
if [[ " ${failed[*]} " != *" build "* ]]; then
  step tests run_tests
  step tidy bash "$top/scripts/check-tidy.sh" "$build"
  step bench bash "$top/scripts/bench.sh" --smoke "$build"
  step fuzz bash "$top/scripts/fuzz.sh" "${ZTA_FUZZ_SECONDS:-10}" "$build"
fi
# The tests' tally last, after the benchmark and fuzzing output, whatever failed.
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$ZTA_TEST_OUTPUT/ctest.log" | tail -n 1)
if [ -n "$summary" ]; then
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$summary")
  echo "tests: $((total - bad)) passed, $bad failed"
else
  echo "tests: not run"
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "test: FAILED: ${failed[*]}"
  exit 1
fi
echo "test: all steps passed"
