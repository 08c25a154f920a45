#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program at work: it copies the demo
# Windows image to a scratch folder (so the demo can be run again and again) and lets the
# orvopm tool look at it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target orvopm >/dev/null

image=build/demo-image
rm -rf "$image"
cp -r fixtures/demo "$image"
echo "Demo Windows image: $image"
echo
build/native/bin/orvopm --image "$image" system
