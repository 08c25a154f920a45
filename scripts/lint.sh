#!/usr/bin/env bash
# clang-tidy over src/ and service/ with the checks of .clang-tidy (why each family is
# there is said in that file), using the native build's compile_commands.json. The
# Windows-only sources (the win32 folders) are read with the Windows build's compile
# commands, as clang for the MinGW target, when that build is configured (cmake --preset
# windows); otherwise they are left out and the last line says so. Exits non-zero when
# any check reports something. The whole report is kept in build/lint.log.
#   scripts/lint.sh            every file
#   scripts/lint.sh FILE...    only these
set -uo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'src/*.cpp' 'service/*.cpp')
fi
native=() windows=()
for f in "${files[@]}"; do
  case "$f" in */win32/*) windows+=("$f") ;; *) native+=("$f") ;; esac
done
[ ${#native[@]} -eq 0 ] || [ -f build/native/compile_commands.json ] ||
  cmake --preset native >/dev/null || exit 1

# Two jobs at most: the machine is shared. The compile commands are gcc's: clang does not
# know some of its warning options.
tidy() {
  local build=$1
  shift
  run-clang-tidy -quiet -j 2 -p "$build" -extra-arg=-Wno-unknown-warning-option "$@" >>build/lint.log 2>&1
}
mkdir -p build
: >build/lint.log
status=0
if [ ${#native[@]} -gt 0 ]; then
  tidy build/native "${native[@]}" || status=1
fi
skipped=0
if [ ${#windows[@]} -gt 0 ]; then
  if [ -f build/windows/compile_commands.json ]; then
    # clang does not find MinGW's C++ library by itself: the compiler of the build names
    # its folders. The SDK's shldisp.h declares a global Shell, which
    # forward-declaration-namespace would hold against orvo::os::Shell in every file.
    cxx=$(grep -m1 -o '"command": "[^ "]*g++[^ "]*' build/windows/compile_commands.json | sed 's/.*"command": "//')
    mingw=(-extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdlibinc)
    while read -r dir; do
      mingw+=("-extra-arg=-isystem$dir")
    done < <(echo | "$cxx" -E -x c++ - -v 2>&1 | sed -n '/<...> search starts/,/End of search/p' |
      grep -E '^ .*(/c\+\+|mingw32/include)' | sed 's/^ //')
    tidy build/windows "${mingw[@]}" -checks=-bugprone-forward-declaration-namespace \
      "${windows[@]}" || status=1
  else
    skipped=${#windows[@]}
  fi
fi
grep -E 'warning:|error:' build/lint.log | sort -u | head -n 50
linted=$((${#files[@]} - skipped))
[ "$status" -eq 0 ] && echo "lint: clean ($linted files)"
[ "$skipped" -eq 0 ] ||
  echo "lint: $skipped Windows-only files not linted: configure the windows preset first"
exit $status
