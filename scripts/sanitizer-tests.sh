#!/usr/bin/env bash
# The native suite under the sanitizers, as ./test.sh runs it: the native-asan build
# (AddressSanitizer, UndefinedBehaviorSanitizer, leaks) runs every native test and replays
# the committed fuzz inputs; the native-tsan build (ThreadSanitizer) runs the suites whose
# code uses threads: the UI dispatcher and the platform, the transfers, the rating chains
# and the service. Only what those runs need is built. Each report goes into
# build/sanitizers/, in the JUnit form test.sh counts.
#   scripts/sanitizer-tests.sh          both
#   scripts/sanitizer-tests.sh asan     one of them (asan or tsan)
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD
export CCACHE_BASEDIR=$top CCACHE_NOHASHDIR=1
which=${1:-all}
out=build/sanitizers
mkdir -p "$out"
rm -f "$out"/*.xml
status=0

# Sanitizer reports end the test process with a failure instead of a line in a log.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

if [ "$which" = all ] || [ "$which" = asan ]; then
  echo "== native-asan build"
  if cmake --preset native-asan >/dev/null && cmake --build --preset native-asan; then
    echo "== native tests under ASan and UBSan"
    ctest --test-dir build/native-asan -j2 --timeout 1200 --output-on-failure --output-junit "$top/$out/asan.xml" \
      >"$out/asan.log" 2>&1 || status=1
    grep -E '^\s+[0-9]+ - .*\((Failed|Timeout|SEGFAULT|Subprocess|Exception|Not Run)' "$out/asan.log" || true
    grep -E 'tests passed' "$out/asan.log" || true
    echo "== fuzz inputs under ASan and UBSan"
    scripts/fuzz-replay.sh build/native-asan "$out/fuzz-replay-asan.xml" || status=1
  else
    echo "sanitizer-tests.sh: the native-asan build failed" >&2
    status=1
  fi
fi

if [ "$which" = all ] || [ "$which" = tsan ]; then
  suites=(platform_tests net_tests rating_tests service_tests)
  echo "== native-tsan build (${suites[*]})"
  if cmake --preset native-tsan >/dev/null && cmake --build --preset native-tsan --target "${suites[@]}"; then
    for suite in "${suites[@]}"; do
      echo "== $suite under TSan"
      (cd build/native-tsan && timeout 1200 "bin/$suite" --gtest_output="xml:$top/$out/tsan-$suite.xml") \
        >"$out/tsan-$suite.log" 2>&1 || { status=1; echo "$suite failed under TSan; see $out/tsan-$suite.log" >&2; }
      grep -E '^\[  FAILED  \] .*\(|WARNING: ThreadSanitizer' "$out/tsan-$suite.log" | head -n 10 || true
    done
  else
    echo "sanitizer-tests.sh: the native-tsan build failed" >&2
    status=1
  fi
fi
exit $status
