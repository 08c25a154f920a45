#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/: builds the fuzz preset (clang, libFuzzer, ASan and
# UBSan), then fuzzes one target or all of them in turn, each for SECONDS (default 60).
#   scripts/fuzz.sh                    every target, 60 s each
#   scripts/fuzz.sh json 600           one target for ten minutes
#   ORVO_FUZZ_RUNS=2000000 scripts/fuzz.sh png 86400   until two million executions
# One target runs at a time, as one process, at nice 10: the machine is shared. Each target
# grows its corpus in build/fuzz/corpus/TARGET (started from the seeds in fuzz/corpus/ and
# the regression inputs in fuzz/regressions/), writes what it finds to
# build/fuzz/findings/TARGET/ and its output to build/fuzz/logs/TARGET.log, and adds a line
# to build/fuzz/summary.txt: executions, coverage (edges and features) and findings.
# A finding, once fixed, goes into fuzz/regressions/TARGET/ so ./test.sh replays it.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD

seconds=${2:-60}
export CCACHE_BASEDIR=$top CCACHE_NOHASHDIR=1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz --target fuzzers || { echo "fuzz.sh: the fuzz build failed" >&2; exit 1; }

if [ $# -ge 1 ] && [ -n "$1" ] && [ "$1" != all ]; then
  targets=("$1")
  [ -x "build/fuzz/bin/fuzz_$1" ] || { echo "fuzz.sh: no target $1 (see fuzz/targets/)" >&2; exit 2; }
else
  targets=()
  for source in fuzz/targets/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

mkdir -p build/fuzz/logs
status=0
for name in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$name findings=build/fuzz/findings/$name log=build/fuzz/logs/$name.log
  mkdir -p "$corpus" "$findings"
  seeds=()
  for dir in "fuzz/corpus/$name" "fuzz/regressions/$name"; do [ -d "$dir" ] && seeds+=("$dir"); done
  options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  [ -n "${ORVO_FUZZ_RUNS:-}" ] && options+=(-runs="$ORVO_FUZZ_RUNS")
  [ -f "fuzz/dict/$name.dict" ] && options+=(-dict="fuzz/dict/$name.dict")
  # fuzz/options/NAME: the target's own libFuzzer flags, one a line (-max_len=... for a
  # reader whose cost grows with the input while its structure fits in a few lines).
  [ -f "fuzz/options/$name" ] && mapfile -t -O "${#options[@]}" options < <(grep -v '^#' "fuzz/options/$name")
  echo "== fuzz_$name (${seconds}s${ORVO_FUZZ_RUNS:+, at most $ORVO_FUZZ_RUNS runs})"
  nice -n 10 "build/fuzz/bin/fuzz_$name" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  line="$(date -u +%Y-%m-%dT%H:%M:%SZ) $name: ${runs:-0} executions, ${coverage:-cov: ? ft: ?}, $found findings, exit $rc"
  echo "$line" | tee -a build/fuzz/summary.txt
  if [ "$rc" -ne 0 ]; then
    status=1
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*check failed)' "$log" | head -n 5 >&2
  fi
done
exit $status
