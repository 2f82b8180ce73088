#!/usr/bin/env bash
# Draws the build's library graph (what links what, down to the outside libraries) into
# docs/targets.svg. Needs graphviz's dot.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/CMakeGraphVizOptions.cmake" <<'OPTIONS'
set(GRAPHVIZ_GRAPH_NAME "zta_targets")
set(GRAPHVIZ_IGNORE_TARGETS "test_.*;bench_.*;fuzz_.*;GTest::.*;benchmark::.*;Threads::Threads;Wrap.*;OpenGL::.*;Qt6::Platform")
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
OPTIONS
cmake -S "$top" -B "$work" -G Ninja --graphviz="$work/targets.dot" > /dev/null
dot -Tsvg "$work/targets.dot" -o "$top/docs/targets.svg"
echo "graph: $top/docs/targets.svg"
