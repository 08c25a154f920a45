#!/usr/bin/env bash
# The real program under Wine, on the demo browsers: builds the Windows program and the
# native rating service, imports the demo image (fixtures/demo) into a Wine prefix of its
# own (build/wineprefix-gui: the image's files under the prefix's user, its registry
# through `wine reg import`), starts the rating service on 127.0.0.1:8086 with the demo
# site and reviews, and runs OrvoPM.exe. Without a display it uses Xvfb, saves a
# screenshot to build/orvopm-gui.png and ends; with one, it runs until you close it.
set -euo pipefail
cd "$(dirname "$0")/.."

ORVO_MINGW_PREFIX=$(scripts/build-mingw-deps.sh | tail -1)
export ORVO_MINGW_PREFIX
cmake --preset windows >/dev/null
cmake --build --preset windows --target OrvoPM >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target orvo-rating-service >/dev/null

export WINEPREFIX=$PWD/build/wineprefix-gui WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
  headless=1
else
  headless=0
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)"
  wineboot -i >/dev/null 2>&1
fi
echo "Importing the demo image into the Wine prefix"
# The image's user "demo" becomes the prefix's user, in the files and in the registry.
wine_user=$(scripts/wine-demo-image.sh)
echo "The demo browsers belong to the Wine user \"$wine_user\""

echo "Starting the rating service on http://127.0.0.1:8086"
build/native/bin/orvo-rating-service --db build/gui-ratings.db --port 8086 \
  --site service/demo-site --seed service/demo-seed.json >build/gui-ratings.log 2>&1 &
pids+=($!)

if [ "$headless" = 0 ]; then
  echo "Starting OrvoPM.exe on $DISPLAY (close its window to end)"
  wine build/windows/bin/OrvoPM.exe
  exit 0
fi
trace=$(mktemp)
wine build/windows/bin/OrvoPM.exe --trace "$(winepath -w "$trace")" >build/orvopm-gui.log 2>&1 &
pids+=($!)
for _ in $(seq 300); do
  grep -q shown "$trace" 2>/dev/null && break
  sleep 0.2
done
sleep 1
import -window root build/orvopm-gui.png
rm -f "$trace"
echo "No display: the screen under Xvfb is in build/orvopm-gui.png"
