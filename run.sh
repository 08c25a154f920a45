#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program at work: it copies the demo
# Windows image to a scratch folder (so the demo can be run again and again) and lets the
# orvopm tool list the browsers and their add-ons there.
#
#   ./run.sh --gui   the real program, OrvoPM.exe, under Wine on the demo browsers (see
#                    scripts/run-gui.sh)
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
if [ "${1:-}" = "--gui" ]; then
  exec ./scripts/run-gui.sh
fi
cmake --preset native >/dev/null
cmake --build --preset native --target orvopm >/dev/null

image=build/demo-image
rm -rf "$image"
cp -r fixtures/demo "$image"
echo "Demo Windows image: $image (a copy of fixtures/demo)"
echo
echo "\$ orvopm --image $image browsers"
build/native/bin/orvopm --image "$image" browsers
echo
echo "\$ orvopm --image $image list"
build/native/bin/orvopm --image "$image" list
echo
echo "Try: build/native/bin/orvopm --image $image disable chrome fblkdohiomlcbgpekccokebfafkgegcf"
echo "     build/native/bin/orvopm --help"
