#!/usr/bin/env bash
# Replays every committed fuzz input (the seed corpora in fuzz/corpus/ and the inputs of
# past findings in fuzz/regressions/) through every fuzz target of a build, once each,
# under that build's sanitizers: a crash, a failed check, a leak, a sanitizer report or an
# input running past its time limit fails the target. Deterministic, and bounded by the
# number of committed inputs.
#   scripts/fuzz-replay.sh BUILD_DIR [REPORT.xml]
# ./test.sh runs it on build/native-asan, where the targets link a replay main instead of
# libFuzzer. REPORT.xml gets one test case per target, in the JUnit form test.sh counts.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/fuzz-replay.sh BUILD_DIR [REPORT.xml]}
report=${2:-}

inputs=()
for dir in fuzz/corpus/* fuzz/regressions/*; do
  [ -d "$dir" ] && inputs+=("$dir")
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ORVO_REPLAY_SECONDS=${ORVO_REPLAY_SECONDS:-60}
mkdir -p "$build/fuzz-replay"
cases="" tests=0 failures=0
for source in fuzz/targets/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  exe=$build/bin/fuzz_$name log=$build/fuzz-replay/$name.log
  tests=$((tests + 1))
  if [ ! -x "$exe" ]; then
    echo "fuzz_$name: not built in $build" >&2
    failures=$((failures + 1))
    cases+="<testcase name=\"$name\" classname=\"fuzz_replay\"><failure message=\"not built\"/></testcase>"
    continue
  fi
  if "$exe" "${inputs[@]}" >"$log" 2>&1; then
    echo "fuzz_$name: $(tail -n 1 "$log")"
    cases+="<testcase name=\"$name\" classname=\"fuzz_replay\"/>"
  else
    echo "fuzz_$name failed; see $log" >&2
    grep -E 'ERROR|SUMMARY|check failed|runtime error|time limit' "$log" | head -n 5 >&2
    failures=$((failures + 1))
    cases+="<testcase name=\"$name\" classname=\"fuzz_replay\"><failure message=\"see $log\"/></testcase>"
  fi
done
if [ -n "$report" ]; then
  printf '<?xml version="1.0" encoding="UTF-8"?>\n<testsuite name="fuzz_replay" tests="%d" failures="%d" errors="0" skipped="0">%s</testsuite>\n' \
    "$tests" "$failures" "$cases" >"$report"
fi
[ "$failures" -eq 0 ]
