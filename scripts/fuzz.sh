#!/usr/bin/env bash
# Runs every fuzz target of a build tree over its seed corpus (tests/fixtures/fuzz/<target>, when
# there is one) and then for the rest of the given seconds each, as many at once as there are cores
# (ZTA_JOBS). Fails when any of them crashed, showing the end of its log.
# Usage: scripts/fuzz.sh [SECONDS [BUILD_DIR]]   (defaults: 30, build/test)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-30}
build=$(cd "${2:-$top/build/test}" && pwd)
out="$build/fuzz-runs"
mkdir -p "$out"
shopt -s nullglob
# One target per core at a time: each is one process, so two cores halve the wall time.
jobs=${ZTA_JOBS:-$(nproc)}
run_one() {
  local name=$1 bin="$build/fuzz/$1" corpus="$out/$1-corpus" seeds=()
  mkdir -p "$corpus"
  [ -d "$top/tests/fixtures/fuzz/$name" ] && seeds=("$top/tests/fixtures/fuzz/$name")
  (cd "$out" && "$bin" -max_total_time="$secs" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
     -print_final_stats=1 "$corpus" "${seeds[@]}" > "$out/$name.log" 2>&1)
}
names=()
for src in "$top"/fuzz/*.cpp; do names+=("$(basename "$src" .cpp)"); done
failed=()
declare -A pid_name=()
for name in "${names[@]}"; do
  echo "fuzz: $name for ${secs}s"
  run_one "$name" &
  pid_name[$!]=$name
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 0.2; done
done
for pid in "${!pid_name[@]}"; do
  wait "$pid" || failed+=("${pid_name[$pid]}")
done
for name in "${names[@]}"; do
  grep -E 'stat::number_of_executed_units' "$out/$name.log" | sed "s/^/fuzz: $name /" || true
done
if [ ${#failed[@]} -gt 0 ]; then
  for name in "${failed[@]}"; do tail -n 60 "$out/$name.log"; echo "fuzz: $name FAILED"; done
  exit 1
fi
echo "fuzz: all targets ran clean"
