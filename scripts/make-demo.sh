#!/usr/bin/env bash
# Makes the demo content of a data folder: spoken announcements (espeak-ng, then sox to 22050 Hz
# 16-bit mono WAV) packed into "test.ann" with `zta pack`, and the chime clips chimes1..3.aud.
# Usage: scripts/make-demo.sh OUTDIR
#   ZTA=path/to/zta               the tool to use (default: build/release, then build/debug)
#   ZTA_DEMO_FIXED_TIME=SECONDS   time of day of the first fixed-time play (default: in 2 minutes)
#   ZTA_DEMO_KEEP=1               keep the intermediate WAV files and the JSON description
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
demo="$top/resources/demo"

if [[ $# -ne 1 ]]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
out=$1
mkdir -p "$out"
out=$(cd "$out" && pwd)

zta=${ZTA:-}
if [[ -z "$zta" ]]; then
  for candidate in "$top/build/release/tools/zta" "$top/build/debug/tools/zta"; do
    if [[ -x "$candidate" ]]; then zta=$candidate; break; fi
  done
fi
if [[ -z "$zta" || ! -x "$zta" ]]; then
  echo "make-demo: the zta tool is not built (scripts/build.sh), or set ZTA=path" >&2
  exit 1
fi
zta=$(realpath "$zta")
for tool in espeak-ng sox; do
  if ! command -v "$tool" >/dev/null; then
    echo "make-demo: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
if [[ -n "${ZTA_DEMO_KEEP:-}" ]]; then
  echo "make-demo: keeping the WAV files and the description in $work" >&2
else
  trap 'rm -rf "$work"' EXIT
fi

# Chimes: one, two and three notes.
for n in 1 2 3; do
  "$zta" chime "$n" --out "$out/chimes$n.aud" >/dev/null
done

# Spoken announcements.
for text in "$demo"/text/*.txt; do
  name=$(basename "$text" .txt)
  espeak-ng -v en-gb -s 150 -w "$work/$name.raw.wav" -f "$text"
  sox -q "$work/$name.raw.wav" -r 22050 -c 1 -b 16 -e signed-integer "$work/$name.wav" gain -n -3
done

# The package description: scripts from the text files, the first fixed time two minutes from now.
if [[ -n "${ZTA_DEMO_FIXED_TIME:-}" ]]; then
  fixed=$ZTA_DEMO_FIXED_TIME
else
  fixed=$(( (10#$(date +%H) * 3600 + 10#$(date +%M) * 60 + 120) % 86400 ))
fi
json_text() {  # the file's text as the inside of a JSON string
  tr '\n' ' ' < "$1" | sed -e 's/[[:space:]]*$//' -e 's/\\/\\\\/g' -e 's/"/\\"/g'
}
spec="$work/test.json"
cp "$demo/test.json.in" "$spec"
sed -i "s/@FIXED_TIME@/$fixed/" "$spec"
for text in "$demo"/text/*.txt; do
  name=$(basename "$text" .txt)
  escaped=$(json_text "$text" | sed -e 's/[&|]/\\&/g')
  sed -i "s|@SCRIPT:$name@|$escaped|" "$spec"
done
if grep -q '@[A-Z_]*[:@]' "$spec"; then
  echo "make-demo: unfilled placeholder in $demo/test.json.in" >&2
  exit 1
fi

if ! (cd "$work" && "$zta" pack "$spec" --out "$out/test.ann"); then
  echo "make-demo: zta pack failed; the chimes are in $out, the package is not" >&2
  exit 1
fi
printf 'demo content in %s: test.ann, chimes1.aud, chimes2.aud, chimes3.aud (first fixed time %02d:%02d)\n' \
  "$out" $((fixed / 3600)) $((fixed % 3600 / 60))
