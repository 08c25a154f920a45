#!/usr/bin/env bash
# Imports the demo image (fixtures/demo) into the Wine prefix $WINEPREFIX: its program
# files, its user's files under the prefix's own user, and its registry through
# `wine reg import` with the user's paths rewritten. Files already there are overwritten,
# so a changed profile is whole again; the prefix must exist.
set -euo pipefail
cd "$(dirname "$0")/.."

wine_user=$(wine cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
drive_c=$WINEPREFIX/drive_c
cp -r fixtures/demo/C/"Program Files" fixtures/demo/C/"Program Files (x86)" "$drive_c/"
mkdir -p "$drive_c/users/$wine_user"
cp -r fixtures/demo/C/Users/demo/. "$drive_c/users/$wine_user/"
registry=$(mktemp --suffix=.reg)
sed "s/C:\\\\\\\\Users\\\\\\\\demo/C:\\\\\\\\users\\\\\\\\$wine_user/gI" fixtures/demo/registry.reg >"$registry"
wine reg import "$(winepath -w "$registry")" >/dev/null 2>&1
rm -f "$registry"
echo "$wine_user"
