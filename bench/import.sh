#!/usr/bin/env bash
# `zta import` of a 60-minute 44.1 kHz stereo 16-bit WAV file, whole process, beside ffmpeg
# resampling the same file to 22050 Hz mono, in alternating pairs; then the import's system calls.
# Usage: bench/import.sh ZTA [--smoke]   (--smoke: a 10-second file, one pair, no strace)
set -euo pipefail
zta=$(realpath "$1")
smoke=${2:-}
seconds=3600 pairs=3
[[ "$smoke" == --smoke ]] && seconds=10 pairs=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wav=$work/hour.wav
# Speech-like: a tone whose level swells and fades every few seconds, the other channel quieter.
sox -R -D -n -r 44100 -c 2 -b 16 "$wav" synth "$seconds" sine 440 sine 330 tremolo 0.3 90 remix 1 2v0.5
mkdir "$work/data"

# Wall, user and system seconds of one command, run in the work folder (the import's temporary
# file goes in the current directory).
timed() {
  (cd "$work" && /usr/bin/time -f '%e %U %S' -o "$work/t" "$@" > /dev/null 2>&1)
  cat "$work/t"
}
zta_import() {
  rm -f "$work"/data/*
  timed "$zta" import --data "$work/data" "$wav"
}
have_ffmpeg=0
command -v ffmpeg > /dev/null && have_ffmpeg=1
ffmpeg_run() { timed ffmpeg -nostdin -y -loglevel error -i "$wav" -ar 22050 -ac 1 "$work/ff.wav"; }

zw=() fw=() zc=() fc=()
for ((i = 0; i < pairs; ++i)); do
  read -r w u s < <(zta_import)
  zw+=("$w") zc+=("$(awk -v u="$u" -v s="$s" 'BEGIN {print u + s}')")
  echo "import: zta import ${seconds} s 44.1 kHz stereo: ${w} s wall, ${u} s user, ${s} s sys"
  if ((have_ffmpeg)); then
    read -r w u s < <(ffmpeg_run)
    fw+=("$w") fc+=("$(awk -v u="$u" -v s="$s" 'BEGIN {print u + s}')")
    echo "import: ffmpeg to 22050 Hz mono:        ${w} s wall, ${u} s user, ${s} s sys"
  fi
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
zm=$(median "${zw[@]}") zcm=$(median "${zc[@]}")
if ((have_ffmpeg)); then
  fm=$(median "${fw[@]}") fcm=$(median "${fc[@]}")
  echo "import: median wall zta ${zm} s, ffmpeg ${fm} s, ffmpeg / zta = $(ratio "$fm" "$zm")"
  echo "import: median CPU (user + sys) zta ${zcm} s, ffmpeg ${fcm} s, ffmpeg / zta = $(ratio "$fcm" "$zcm")"
else
  echo "import: median wall zta ${zm} s, CPU ${zcm} s; ffmpeg is not installed, no peer figure"
fi
if [[ "$smoke" != --smoke ]]; then
  if command -v strace > /dev/null; then
    rm -f "$work"/data/*
    (cd "$work" && strace -f -c -o "$work/sc" "$zta" import --data "$work/data" "$wav" > /dev/null)
    # The summary's rows: % time, seconds, usecs/call, calls, [errors,] name; the last is the total.
    awk '$NF == "total" {print "import: system calls in all: " $4}
         $NF ~ /^(read|write|openat|lseek|newfstatat|fstat)$/ {print "import: " $NF " calls: " $4}' "$work/sc"
  else
    echo "import: strace is not installed, system calls not counted"
  fi
fi
