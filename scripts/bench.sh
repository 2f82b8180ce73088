#!/usr/bin/env bash
# Runs every benchmark: the Google Benchmarks in bench/*.cpp, then the whole-process scripts
# (import beside ffmpeg, the idle player beside an idle Qt program). The figures are printed and
# kept in build/test-output/bench.txt; nothing is asserted on them.
# Usage: scripts/bench.sh                    the figures, from an optimised build (build/release,
#                                            or ZTA_BENCH_BUILD), built here first
#        scripts/bench.sh --smoke BUILD_DIR  each benchmark and script of an existing build tree
#                                            once, on small inputs, to show that it still runs
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${ZTA_TEST_OUTPUT:-$top/build/test-output}
mkdir -p "$out"
shopt -s nullglob
targets=()
for src in "$top"/bench/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
[ ${#targets[@]} -gt 0 ] || exit 0
smoke=
if [ "${1:-}" = --smoke ]; then
  smoke=--smoke
  build=${2:?usage: $0 --smoke BUILD_DIR}
  export ZTA_BENCH_SMOKE=1
  report=$out/bench.smoke.txt
else
  build=${ZTA_BENCH_BUILD:-$top/build/release}
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build "$build" -j "${ZTA_JOBS:-$(nproc)}" --target "${targets[@]}" zta vrxpar \
    peer_idle_qt
  report=$out/bench.txt
fi
: > "$report"
say() { echo "$@" | tee -a "$report"; }

# A headless PulseAudio with a null sink, for the play start on the ALSA backend.
pa_dir=$(mktemp -d)
pa_pid=
cleanup() {
  if [ -n "$pa_pid" ]; then
    kill "$pa_pid" 2> /dev/null || true
    wait "$pa_pid" 2> /dev/null || true
  fi
  rm -rf "$pa_dir"
}
trap cleanup EXIT
mkdir -m700 "$pa_dir/run"
if command -v pulseaudio > /dev/null && command -v pactl > /dev/null; then
  (
    export XDG_RUNTIME_DIR=$pa_dir/run HOME=$pa_dir
    exec pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n --use-pid-file=no \
      --log-target=file:"$pa_dir/pa.log" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$pa_dir/run/pa.sock" \
      -L "module-null-sink sink_name=nullout rate=22050 sink_properties=device.description=NullOut"
  ) > /dev/null 2>&1 &
  pa_pid=$!
  for _ in $(seq 50); do
    PULSE_SERVER=unix:$pa_dir/run/pa.sock pactl info > /dev/null 2>&1 && break
    sleep 0.1
  done
else
  say "bench: pulseaudio is not installed; the ALSA play start is skipped or runs on plain ALSA"
fi

failed=0
for t in "${targets[@]}"; do
  say "bench: $t${smoke:+ (smoke)}"
  args=(--benchmark_min_time=0.05)
  [ -n "$smoke" ] && args=(--benchmark_min_time=0)
  if ! PULSE_SERVER=unix:$pa_dir/run/pa.sock XDG_RUNTIME_DIR=$pa_dir/run \
    "$build/bench/$t" "${args[@]}" > "$out/$t.bench.txt" 2>&1; then
    say "bench: $t FAILED"
    failed=1
  fi
  tee -a "$report" < "$out/$t.bench.txt"
done
say "bench: import.sh${smoke:+ (smoke)}"
bash "$top/bench/import.sh" "$build/tools/zta" $smoke 2>&1 | grep -v '^sox WARN' | tee -a "$report" ||
  { say "bench: import.sh FAILED"; failed=1; }
say "bench: idle.sh${smoke:+ (smoke)}"
idle_seconds=180
[ -n "$smoke" ] && idle_seconds=2
bash "$top/bench/idle.sh" "$build/app/vrxpar" "$build/bench/peer_idle_qt" "$idle_seconds" 2>&1 |
  tee -a "$report" || { say "bench: idle.sh FAILED"; failed=1; }
[ -n "$smoke" ] && [ "$failed" -eq 0 ] && echo "bench: every benchmark ran"
exit "$failed"
