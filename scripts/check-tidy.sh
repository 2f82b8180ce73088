#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy, every finding an error) over the sources of the last
# commit's change; ZTA_TIDY=all checks every source, ZTA_TIDY=REV the change since that revision.
# Usage: scripts/check-tidy.sh BUILD_DIR
# BUILD_DIR must hold compile_commands.json (any configured build tree does).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
cd "$top"
since=${ZTA_TIDY:-changed}
[ "$since" = changed ] && since=HEAD~1
if [ "$since" = all ] || ! git rev-parse -q --verify "$since" > /dev/null; then
  mapfile -t changed < <(git ls-files '*.cpp' '*.hpp')
else
  mapfile -t changed < <(git diff --name-only --diff-filter=d "$since" HEAD -- '*.cpp' '*.hpp')
fi
# A changed header is checked through the sources of its folder that are compiled.
files=()
declare -A seen=()
for f in "${changed[@]}"; do
  case "$f" in
    *.hpp) candidates=("$(dirname "$f")"/*.cpp) ;;
    *) candidates=("$f") ;;
  esac
  for c in "${candidates[@]}"; do
    [ -f "$c" ] || continue
    grep -q "\"file\": \"$top/$c\"" "$build/compile_commands.json" || continue
    [ -n "${seen[$c]:-}" ] && continue
    seen[$c]=1
    files+=("$c")
  done
done
if [ ${#files[@]} -eq 0 ]; then
  echo "tidy: no compiled source changed"
  exit 0
fi
echo "tidy: ${#files[@]} sources"
printf '%s\0' "${files[@]}" |
  xargs -0 -n 4 -P "${ZTA_JOBS:-$(nproc)}" clang-tidy -p "$build" --quiet --warnings-as-errors='*' \
    2> >(grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' >&2)
echo "tidy: clean"
