#!/usr/bin/env bash
# Lays out every C++ file of ours with .clang-format (Debian 12's clang-format 14, so every
# machine formats the same way).
#   scripts/format.sh          rewrite the files in place
#   scripts/format.sh --check  list the files that differ and exit 1 if there are any
set -euo pipefail
cd "$(dirname "$0")/.."
tool=$(command -v clang-format-14 || command -v clang-format) || {
  echo "format: clang-format is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  differ=0
  for f in "${files[@]}"; do
    if ! "$tool" --style=file "$f" | cmp -s - "$f"; then echo "$f"; differ=1; fi
  done
  exit $differ
fi
printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$tool" --style=file -i
