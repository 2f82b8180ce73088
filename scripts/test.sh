#!/usr/bin/env bash
# Installs what is needed, builds with sanitizers, runs every test, then every fuzz target for 30 s.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
bash "$top/scripts/build.sh" debug
export ZTA_TEST_OUTPUT=${ZTA_TEST_OUTPUT:-$top/build/test-output}
mkdir -p "$ZTA_TEST_OUTPUT"
(cd "$top/build/debug" && ctest --output-on-failure -j "${ZTA_JOBS:-2}" --timeout 600)
bash "$top/scripts/build.sh" fuzz
bash "$top/scripts/fuzz.sh" "${ZTA_FUZZ_SECONDS:-30}"
