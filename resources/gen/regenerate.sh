#!/usr/bin/env bash
# Redraws the committed pictures of resources/ (glyphs, logo, icons) from make_resources.cpp.
# Usage: resources/gen/regenerate.sh [BUILD_DIR]   (default build/debug, configured already)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build/debug}
cmake --build "$build" --target zta_make_resources -j 2
QT_QPA_PLATFORM=offscreen "$build/ui/zta_make_resources" "$top/resources"
