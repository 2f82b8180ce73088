#!/usr/bin/env bash
# The headless player idle (`vrxpar /service`, empty list, simulated device): CPU seconds per hour
# from /proc/PID/stat over a sampling window after a warm-up, and its resident memory; beside it
# the idle peer (a Qt Widgets program with two 500 ms timers) sampled over the same window.
# Usage: bench/idle.sh VRXPAR PEER [SECONDS]   (default 180 s of sampling)
set -euo pipefail
vrxpar=$(realpath "$1")
peer=${2:-}
seconds=${3:-180}
# The 500 ms timers start 5 s and 10 s after start-up.
warmup=12
[ "$seconds" -lt 10 ] && warmup=1
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m700 "$work/run"
mkdir -p "$work/player" "$work/config" "$work/share" "$work/home" "$work/played"
cp "$vrxpar" "$work/player/vrxpar"   # its data folder is its own folder: an empty list
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share \
  HOME=$work/home GSETTINGS_BACKEND=memory QT_QPA_PLATFORM=offscreen ZTA_AUDIO=sim:$work/played
hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Nanoseconds on the CPU, every thread of the process (schedstat resolves what 10 ms ticks do not).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{s += $1} END {printf "%d", s}'; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

"$work/player/vrxpar" /service > "$work/player.log" 2>&1 &
pids+=($!)
player=$!
peer_pid=
if [[ -n "$peer" && -x "$peer" ]]; then
  "$peer" > /dev/null 2>&1 &
  pids+=($!)
  peer_pid=$!
fi
sleep "$warmup"
kill -0 "$player" 2> /dev/null || { echo "idle: vrxpar did not stay up"; cat "$work/player.log"; exit 1; }
p0=$(cpu_ticks "$player") pn0=$(cpu_ns "$player")
[[ -n "$peer_pid" ]] && q0=$(cpu_ticks "$peer_pid") qn0=$(cpu_ns "$peer_pid")
sleep "$seconds"
p1=$(cpu_ticks "$player") pn1=$(cpu_ns "$player")
[[ -n "$peer_pid" ]] && q1=$(cpu_ticks "$peer_pid") qn1=$(cpu_ns "$peer_pid")
per_hour() { awk -v d="$1" -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f", d / hz / s * 3600}'; }
ns_per_hour() { awk -v d="$1" -v s="$seconds" 'BEGIN {printf "%.3f", d / 1e9 / s * 3600}'; }
# Two 500 ms timers: four timer events a second.
per_tick() { awk -v d="$1" -v s="$seconds" 'BEGIN {printf "%.1f", d / 1e3 / (4 * s)}'; }
echo "idle: vrxpar /service over ${seconds} s: $(ns_per_hour $((pn1 - pn0))) s CPU per hour (stat: $(per_hour $((p1 - p0)))), $(per_tick $((pn1 - pn0))) us per 500 ms timer event, RSS $(( $(rss_kb "$player") / 1024 )) MB"
if [[ -n "$peer_pid" ]]; then
  echo "idle: peer (Qt Widgets, two 500 ms timers): $(ns_per_hour $((qn1 - qn0))) s CPU per hour (stat: $(per_hour $((q1 - q0)))), RSS $(( $(rss_kb "$peer_pid") / 1024 )) MB"
else
  echo "idle: no peer program given, no peer figure"
fi
echo "idle: (one clock tick is $(awk -v hz="$hz" 'BEGIN {print 1 / hz}') s; a window of ${seconds} s resolves $(awk -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f", 3600 / hz / s}') s per hour)"
