#!/usr/bin/env bash
# Installs what is needed, builds, lays out a demo data folder and starts the player on it.
# With no sound card (or ZTA_AUDIO unset and no ALSA device), the simulated device is used and
# the played audio is written as a WAV file into demo/played/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
bash "$top/scripts/build.sh" release
demo=${ZTA_DEMO_DIR:-$top/demo}
mkdir -p "$demo"
bin="$top/build/release"
if [ -x "$bin/app/vrxpar" ] && [ -x "$top/scripts/make-demo.sh" ]; then
  bash "$top/scripts/make-demo.sh" "$demo"
  cp "$bin/app/vrxpar" "$demo/vrxpar"
  cp "$top/docs/manual.html" "$demo/manual.html"
  if [ -z "${ZTA_AUDIO:-}" ] && ! aplay -l 2>/dev/null | grep -q '^card'; then
    export ZTA_AUDIO="sim:$demo/played"
    mkdir -p "$demo/played"
    echo "run: no sound card found; played audio goes to $demo/played/wave_out-1ch.wav"
  fi
  echo "run: plays are logged in $demo/log<month><year>.txt"
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    # No screen: the player still runs (announcements play by themselves), its window unseen.
    echo "run: no display found; the window is drawn off-screen (set DISPLAY to see it)"
    export QT_QPA_PLATFORM=offscreen
  fi
  cd "$demo"
  exec ./vrxpar /install
fi
# Until the program is built, show the demo data through the command-line tool.
echo "run: the program is not built yet; showing the data folder $demo with the zta tool"
"$bin/tools/zta" resave --data "$demo"
"$bin/tools/zta" list --data "$demo"
