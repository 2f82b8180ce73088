#!/usr/bin/env bash
# Builds the benchmarks optimised (build/release) and runs every one: the Google Benchmarks in
# bench/*.cpp, then the whole-process scripts (import beside ffmpeg, the idle player beside an idle
# Qt program). The figures are printed and kept in build/test-output/bench.txt; nothing is
# asserted on them. --smoke runs each once, briefly (one iteration, short inputs): the test run
# uses it to prove they all still work.
# ZTA_BENCH_BUILD: the build folder to use (default build/release).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
smoke=
[[ "${1:-}" == --smoke ]] && smoke=--smoke
out=${ZTA_TEST_OUTPUT:-$top/build/test-output}
build=${ZTA_BENCH_BUILD:-$top/build/release}
mkdir -p "$out"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
shopt -s nullglob
targets=()
for src in "$top"/bench/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
[ ${#targets[@]} -gt 0 ] || exit 0
cmake --build "$build" -j "${ZTA_JOBS:-$(nproc)}" --target "${targets[@]}" zta vrxpar peer_idle_qt
report=$out/bench.txt
: > "$report"
say() { echo "$@" | tee -a "$report"; }

# A headless PulseAudio with a null sink, for the play start on the ALSA backend.
pa_dir=$(mktemp -d)
pa_pid=
cleanup() {
  [[ -n "$pa_pid" ]] && kill "$pa_pid" 2> /dev/null && wait "$pa_pid" 2> /dev/null
  rm -rf "$pa_dir"
}
trap cleanup EXIT
if command -v pulseaudio > /dev/null && command -v pactl > /dev/null; then
  mkdir -m700 "$pa_dir/run"
  (
    export XDG_RUNTIME_DIR=$pa_dir/run HOME=$pa_dir
    exec pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n --use-pid-file=no \
      --log-target=file:"$pa_dir/pa.log" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$pa_dir/run/pa.sock" \
      -L "module-null-sink sink_name=nullout rate=22050 sink_properties=device.description=NullOut"
  ) &
  pa_pid=$!
  for _ in $(seq 50); do
    PULSE_SERVER=unix:$pa_dir/run/pa.sock pactl info > /dev/null 2>&1 && break
    sleep 0.1
  done
else
  say "bench: pulseaudio is not installed; the ALSA play start runs on whatever ALSA has"
fi

for t in "${targets[@]}"; do
  say "bench: $t"
  args=(--benchmark_min_time=0.05)
  [[ -n "$smoke" ]] && args=(--benchmark_min_time=0.000001)
  ZTA_BENCH_SMOKE=${smoke:+1} PULSE_SERVER=unix:$pa_dir/run/pa.sock XDG_RUNTIME_DIR=$pa_dir/run \
    "$build/bench/$t" "${args[@]}" 2>&1 | tee -a "$report"
done
say "bench: import.sh"
bash "$top/bench/import.sh" "$build/tools/zta" $smoke 2>&1 | grep -v '^sox WARN' | tee -a "$report"
say "bench: idle.sh"
idle_seconds=180
[[ -n "$smoke" ]] && idle_seconds=2
bash "$top/bench/idle.sh" "$build/app/vrxpar" "$build/bench/peer_idle_qt" "$idle_seconds" 2>&1 |
  tee -a "$report"
