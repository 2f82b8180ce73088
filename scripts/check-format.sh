#!/usr/bin/env bash
# Fails when any C++ source of the repository is not formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.hpp' | xargs -0 clang-format --dry-run -Werror
echo "format: clean"
