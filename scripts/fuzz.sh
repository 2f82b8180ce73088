#!/usr/bin/env bash
# Runs every fuzz target of a build tree over its seed corpus (tests/fixtures/fuzz/<target>, when
# there is one) and then for the rest of the given seconds each. Fails on the first crash.
# Usage: scripts/fuzz.sh [SECONDS [BUILD_DIR]]   (defaults: 30, build/test)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-30}
build=$(cd "${2:-$top/build/test}" && pwd)
out="$build/fuzz-runs"
mkdir -p "$out"
shopt -s nullglob
for src in "$top"/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  bin="$build/fuzz/$name"
  corpus="$out/$name-corpus"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$top/tests/fixtures/fuzz/$name" ] && seeds=("$top/tests/fixtures/fuzz/$name")
  echo "fuzz: $name for ${secs}s"
  (cd "$out" && "$bin" -max_total_time="$secs" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
     -print_final_stats=1 "$corpus" "${seeds[@]}" > "$out/$name.log" 2>&1) || {
    tail -n 60 "$out/$name.log"; echo "fuzz: $name FAILED"; exit 1; }
  grep -E 'stat::number_of_executed_units' "$out/$name.log" | sed "s/^/fuzz: $name /"
done
echo "fuzz: all targets ran clean"
