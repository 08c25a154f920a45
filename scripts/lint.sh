#!/usr/bin/env bash
# clang-tidy over src/ and service/ with the checks of .clang-tidy (why each family is
# there is said in that file), using the native build's compile_commands.json. Exits
# non-zero when any check reports something.
#   scripts/lint.sh            every file
#   scripts/lint.sh FILE...    only these
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/native
[ -f "$build/compile_commands.json" ] || cmake --preset native >/dev/null || exit 1
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'src/*.cpp' 'service/*.cpp' | grep -v '/win32/')
fi
# Two jobs at most: the machine is shared.
# The compile commands are gcc's: clang does not know some of its warning options.
run-clang-tidy -quiet -j 2 -p "$build" -extra-arg=-Wno-unknown-warning-option "${files[@]}" >build/lint.log 2>&1
status=$?
grep -E 'warning:|error:' build/lint.log | sort -u | head -n 50
[ "$status" -eq 0 ] && echo "lint: clean (${#files[@]} files)"
exit $status
