#!/usr/bin/env bash
# Installs what is needed, builds, makes the demo setup file and runs it the way a shop would: the
# installer puts the player into its install folder, registers it with the desktop and starts the
# installed copy with "/install", which loads the delivered demo announcements.
# Everything it writes stays inside the repository: the XDG folders point into demo/home.
# With no sound card (ZTA_AUDIO unset and no ALSA device that opens), the player itself falls back
# to the simulated device, which writes the played audio as a WAV file into the played/ subfolder
# of its install folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
# Only what runs here: the program and the tool (the tests have their own command).
bash "$top/scripts/build.sh" release vrxpar zta
demo=${ZTA_DEMO_DIR:-$top/demo}
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
bin="$top/build/release"
home="$demo/home"

# The distributor's side: the demo content (first fixed-time play two minutes from now) and the
# setup file made from the program and it.
bash "$top/scripts/make-demo.sh" "$demo/content"
mkdir -p "$demo/dist"
"$bin/tools/zta" mksetup --program "$bin/app/vrxpar" --manual "$top/docs/manual.html" \
  --chimes "$demo/content" --test "$demo/content/test.ann" --out "$demo/dist/SETUP"

# The shop's side: a private home for the desktop's folders.
mkdir -p "$home/data" "$home/config" "$home/cache" "$home/state" "$home/Desktop"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
export XDG_CACHE_HOME="$home/cache" XDG_STATE_HOME="$home/state"
printf 'XDG_DESKTOP_DIR="%s"\n' "$home/Desktop" >"$XDG_CONFIG_HOME/user-dirs.dirs"
# The installer turns the desktop's event sounds off; here that stays inside this session.
export GSETTINGS_BACKEND=memory
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  # No screen: the installer and the player still run (announcements play by themselves), their
  # windows unseen.
  echo "run: no display found; the windows are drawn off-screen (set DISPLAY to see them)"
  export QT_QPA_PLATFORM=offscreen
fi

echo "run: running the setup file $demo/dist/SETUP"
(cd "$demo/dist" && ./SETUP) || {
  echo "run: the installation did not complete" >&2
  exit 1
}
folder="$XDG_DATA_HOME/VRX Tolvane/ZTA"
installed="$folder/vrxpar"
cat <<EOF
run: installed into     $folder
run: desktop shortcut   $home/Desktop/ZTA Announcement Player.desktop
run: menu "VRX Tolvane" $XDG_DATA_HOME/applications/vrx-tolvane-zta*.desktop
run: log-on start       $XDG_CONFIG_HOME/autostart/ZTAAnnLogon.desktop
run: file types         $XDG_DATA_HOME/mime/packages/zta-announcement-player.xml
run: plays are logged in $folder/log<month><year>.txt
run: without a sound card the player says so and plays into $folder/played/wave_out-1ch.wav
EOF

# The installer started the installed copy and ended; stay with that copy until it ends (Ctrl-C
# ends it).
player=""
for _ in $(seq 1 50); do
  for p in /proc/[0-9]*; do
    if [ "$(readlink "$p/exe" 2>/dev/null)" = "$installed" ]; then player=${p#/proc/}; fi
  done
  [ -n "$player" ] && break
  sleep 0.2
done
if [ -z "$player" ]; then
  echo "run: the installed player is not running" >&2
  exit 1
fi
echo "run: the installed player runs (pid $player); the uninstaller is $folder/uninst"
trap 'kill "$player" 2>/dev/null || true' INT TERM
while kill -0 "$player" 2>/dev/null; do sleep 1; done
