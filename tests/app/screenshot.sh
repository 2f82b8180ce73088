#!/usr/bin/env bash
# Runs the screenshot test on the X server that xvfb-run gives, and checks the picture exists.
set -euo pipefail
test_app=$1
out=${ZTA_TEST_OUTPUT:-$2}
mkdir -p "$out"
run=$(mktemp -d)
chmod 700 "$run"
trap 'rm -rf "$run"' EXIT
LSAN_OPTIONS=suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS} XDG_RUNTIME_DIR=$run QT_QPA_PLATFORM=xcb ZTA_TEST_OUTPUT=$out "$test_app" --gtest_filter='Screenshot.*'
for picture in main_window settings-dialog day-part-dialog load-dialog customer-dialog \
    announcement-control-dialog; do
  test -s "$out/$picture.png"
  echo "screenshot: $out/$picture.png"
done
