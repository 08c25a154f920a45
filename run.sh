#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program at work: it copies the demo
# Windows images to scratch folders (so the demo can be run again and again) and lets the
# orvopm tool list the browsers and their add-ons there: the classic demo image, then the
# modern one (Chrome with two profiles and Secure Preferences, Edge, current Opera).
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

modern=build/modern-image
rm -rf "$modern"
cp -r fixtures/modern "$modern"
echo
echo "Modern Windows image: $modern (a copy of fixtures/modern)"
echo
echo "\$ orvopm --image $modern browsers --all-profiles"
build/native/bin/orvopm --image "$modern" browsers --all-profiles
echo
echo "\$ orvopm --image $modern list chrome --all-profiles"
build/native/bin/orvopm --image "$modern" list chrome --all-profiles
echo
echo "Try: build/native/bin/orvopm --image $image disable chrome fblkdohiomlcbgpekccokebfafkgegcf"
echo "     build/native/bin/orvopm --image $modern disable chrome njljfidahmnikmebegegkdcjncpenkan --policy"
echo "     build/native/bin/orvopm --help"
