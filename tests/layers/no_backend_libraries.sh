#!/usr/bin/env bash
# Fails when one of the given executables loads Qt, ALSA, libcurl or libsndfile: the core and its
# tests are standard-library code, and a stray link to a backend would hide behind a passing test.
set -euo pipefail
status=0
for bin in "$@"; do
  found=$(ldd "$bin" | grep -E -o 'lib(Qt6[A-Za-z]*|asound|curl(-gnutls)?|sndfile)\.so[.0-9]*' | sort -u |
    tr '\n' ' ' || true)
  if [ -n "$found" ]; then
    echo "$(basename "$bin") loads $found"
    status=1
  else
    echo "$(basename "$bin"): no backend library"
  fi
done
exit $status
